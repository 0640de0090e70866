#pragma once

// A made-up machine for engine tests: a temporary tree whose "home" is $HOME and whose
// "sys" is the system root, with one locations profile in force. Everything is put
// back when the object goes.
#include "engine/locations/LocationsProfile.h"
#include "engine/locations/SystemLocations.h"

#include "support/TestTree.h"

class ScopedSystemRoot {
public:
    explicit ScopedSystemRoot(const std::string& root) { tidvale::SystemLocations::setRoot(root); }
    ~ScopedSystemRoot() { tidvale::SystemLocations::setRoot(""); }
    ScopedSystemRoot(const ScopedSystemRoot&) = delete;
    ScopedSystemRoot& operator=(const ScopedSystemRoot&) = delete;
};

struct FakeMachine {
    explicit FakeMachine(const tidvale::LocationsProfile& profile)
        : profile(profile)
    {
    }
    TestTree tree;
    tidvale::ScopedProfile profile;
    ScopedHome home{tree.dir("home")};
    ScopedSystemRoot root{tree.dir("sys")};
};

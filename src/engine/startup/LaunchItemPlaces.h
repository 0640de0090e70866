#pragma once

// What starts with the user's session on one kind of system, and how deleting one
// item keeps it from starting.
#include "engine/context/Context.h"
#include "engine/fs/Removal.h"
#include "engine/records/LaunchItem.h"

#include <vector>

namespace tidvale {

class LaunchItemPlaces {
public:
    virtual ~LaunchItemPlaces() = default;

    // The startup items on the context's home and the machine folders under its
    // system root; each item's `action` says which way deleting it goes, for the
    // confirmation.
    virtual std::vector<LaunchItem> list(const Context& context) const = 0;

    virtual RemovalOutcome disable(const Context& context, const LaunchItem& item) const = 0;

    // Lets an item listed with `canEnable` start again with the session; the outcome
    // reads as a removal's does, gone meaning done, so one code path shows both.
    virtual RemovalOutcome enable(const Context& context, const LaunchItem& item) const = 0;
};

const LaunchItemPlaces& macLaunchItemPlaces();
const LaunchItemPlaces& linuxLaunchItemPlaces();

} // namespace tidvale

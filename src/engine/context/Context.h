#pragma once

// What a process runs on, built once in `main` and passed down by reference: the
// environment as it was at start, the folders it leads to, the places each tool looks
// in, the platform's backends, the work pool, the clock and the user's settings.
// Nothing below `main` reads the environment, the password database or a global of its
// own, so two contexts (two tests on two temporary homes) can be used side by side in
// one process.
#include "engine/core/Clock.h"
#include "engine/settings/UserSettings.h"
#include "platform/Backends.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tidvale {

class AdminAreas;
class AppInventory;
class BrowserPlaces;
class DeveloperPlaces;
class JunkPlaces;
class LaunchItemPlaces;
class PersonalPlaces;
class VolumeNaming;
class WorkPool;
struct PlatformTexts;

// The process's environment variables as they were at start; the engine follows a
// few of them (HOME, TIDVALE_PROFILE, the XDG folders, PATH, the developer tools').
class Environment {
public:
    // "" when the variable is unset.
    std::string get(std::string_view name) const
    {
        const auto it = values_.find(name);
        return it == values_.end() ? std::string() : it->second;
    }
    void set(std::string name, std::string value) { values_[std::move(name)] = std::move(value); }

private:
    std::map<std::string, std::string, std::less<>> values_;
};

struct Folders {
    // The process home: $HOME, else the password database's, else "/"; no trailing
    // separator. Every per-user listing starts here.
    std::string home;
    // The user's home in the password database (the process home when it has none):
    // the finders search the personal folders there even when HOME points elsewhere.
    std::string realHome;
    // What every machine-wide folder is prefixed with: "" for "/", a temporary folder
    // for a test or the CLI's --system-root; never a trailing separator.
    std::string systemRoot;
    // The six personal folders the finders search, Downloads first, as the personal
    // places name them on `realHome`.
    std::vector<std::string> personal;
};

// Where each tool looks on one kind of system ("mac": the Mac's own folders, "linux": a
// Linux desktop's), one small interface per tool, chosen once by the context builder.
// A caller takes the piece it needs. Each is a stateless object that lives as long as
// the process; none is ever null once the context is built.
struct Places {
    std::string_view name; // "mac", "linux": what --profile and TIDVALE_PROFILE name
    const JunkPlaces* junk = nullptr;
    const BrowserPlaces* browsers = nullptr;
    const AdminAreas* adminAreas = nullptr;
    const LaunchItemPlaces* launchItems = nullptr;
    const AppInventory* apps = nullptr;
    const DeveloperPlaces* developer = nullptr;
    const VolumeNaming* volume = nullptr;
    const PersonalPlaces* personal = nullptr;
    const PlatformTexts* texts = nullptr;
};

struct Context {
    Environment environment;
    Folders folders;
    Places places;
    platform::Backends backends;
    WorkPool* pool = nullptr; // the parallel pieces of every job run here
    Clock clock;
    UserSettings settings; // none read (the defaults) unless `main` asked for them
};

} // namespace tidvale

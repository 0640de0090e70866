#pragma once

// What a process runs on, built once in `main` and passed down by reference: the
// environment as it was at start, the folders it leads to, the locations profile, the
// platform's backends, the work pool, the clock and the user's settings. Nothing below `main` reads
// the environment, the password database or a global of its own, so two contexts (two tests on two
// temporary homes) can be used side by side in one process.
#include "engine/settings/UserSettings.h"
#include "platform/Backends.h"

#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tidvale {

class LocationsProfile;
class WorkPool;

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
    // The six personal folders the finders search, Downloads first, as the profile
    // names them on `realHome`.
    std::vector<std::string> personal;
};

// Seconds since the epoch, now.
using Clock = std::function<std::time_t()>;

struct Context {
    Environment environment;
    Folders folders;
    const LocationsProfile* profile = nullptr; // never null once built
    platform::Backends backends;
    WorkPool* pool = nullptr; // the parallel pieces of every job run here
    Clock clock;
    UserSettings settings; // none read (the defaults) unless `main` asked for them
};

} // namespace tidvale

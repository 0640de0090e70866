#pragma once

// The one place that reads the process's environment and the password database. Each
// `main` calls it once; everything below takes the Context it returns.
#include "engine/context/Context.h"

#include <functional>
#include <string>

namespace tidvale {

struct ContextOptions {
    // The CLI's --profile; none: the one TIDVALE_PROFILE names, else the platform's.
    const LocationsProfile* profile = nullptr;
    // The CLI's --system-root; empty: "/".
    std::string systemRoot;
    // Whether the environment is read at all. The administrator helper runs as root on
    // what an unprivileged caller set up, so it reads none: no variable may choose its
    // profile or move a folder it deletes in.
    bool readEnvironment = true;
    // Hears the name TIDVALE_PROFILE gives when no profile has it (the platform's is
    // used then); it may throw to refuse to go on.
    std::function<void(const std::string& name)> onUnknownProfile;
    // Makes the backends (platform::systemBackends); none for a process that asks no
    // system service, such as the administrator helper, which then links none of them.
    platform::Backends (*backends)(const platform::VariableLookup&) = nullptr;
    // Reads the user's settings (systemUserSettings) once the folders are known; none
    // for the administrator helper, which reads no file of the user's.
    UserSettings (*settings)(const Context&) = nullptr;
};

Context buildContext(const ContextOptions& options);

} // namespace tidvale

#pragma once

// The one place that reads the process's environment and the password database. The
// program's and the CLI's `main` call it once; everything below takes the Context it
// returns. (The administrator helper reads neither: it takes the real root's
// administrator areas and nothing else.)
#include "engine/context/Context.h"

#include <functional>
#include <string>

namespace tidvale {

struct ContextOptions {
    // The CLI's --profile; none: the places TIDVALE_PROFILE names, else the platform's.
    const Places* places = nullptr;
    // The CLI's --system-root; empty: "/".
    std::string systemRoot;
    // Hears the name TIDVALE_PROFILE gives when no profile has it (the platform's is
    // used then); it may throw to refuse to go on.
    std::function<void(const std::string& name)> onUnknownProfile;
    // Makes the backends (platform::systemBackends); none for a process that asks no
    // system service.
    platform::Backends (*backends)(const platform::VariableLookup&) = nullptr;
    // Reads the user's settings (systemUserSettings) once the folders are known; none
    // for the administrator helper, which reads no file of the user's.
    UserSettings (*settings)(const Context&) = nullptr;
};

Context buildContext(const ContextOptions& options);

} // namespace tidvale

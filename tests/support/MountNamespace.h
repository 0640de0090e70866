#pragma once

// Runs part of a test in a forked child with a private mount namespace, so that it can
// mount inside temporary trees without touching the machine's mounts: every mount dies
// with the child.
#ifdef __linux__
#include "support/InChild.h"

#include <sched.h>
#include <sys/mount.h>

// A "skip" finding says why the child could not: not root, or a container that
// forbids namespaces.
inline ChildFindings withPrivateMounts(const std::function<ChildFindings()>& body)
{
    return inChild([&]() -> ChildFindings {
        if (::unshare(CLONE_NEWNS) != 0
            || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return {{"skip", "no private mount namespace here"}};
        return body();
    });
}

inline bool mountTmpfs(const std::string& at)
{
    return ::mount("tidvale-test", at.c_str(), "tmpfs", 0, "size=4m") == 0;
}

inline bool bindMount(const std::string& from, const std::string& at)
{
    return ::mount(from.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

inline const ChildFindings kCannotMount{{"skip", "mounting is not allowed here"}};
#endif

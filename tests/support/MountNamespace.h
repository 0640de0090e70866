#pragma once

// Runs a check in a forked child with a private mount namespace, so that it can mount
// and unmount inside temporary trees without touching the machine's mounts.
#ifdef __linux__
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

enum class NamespaceRun { passed, failed, unavailable };

// `check` runs in the child and returns whether it passed; any mount it makes dies
// with the child. Unavailable when the process may not make a namespace (not root,
// or a container that forbids it) or `prepare` (the mounting) fails.
inline NamespaceRun runInMountNamespace(
    const std::function<bool()>& prepare, const std::function<bool()>& check)
{
    pid_t pid = ::fork();
    if (pid < 0)
        return NamespaceRun::unavailable;
    if (pid == 0) {
        if (::unshare(CLONE_NEWNS) != 0
            || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 || !prepare())
            ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return NamespaceRun::failed;
    switch (WEXITSTATUS(status)) {
    case 0:
        return NamespaceRun::passed;
    case 2:
        return NamespaceRun::unavailable;
    default:
        return NamespaceRun::failed;
    }
}

inline bool mountTmpfs(const std::string& at)
{
    return ::mount("tmpfs", at.c_str(), "tmpfs", 0, "size=1m") == 0;
}

inline bool bindMount(const std::string& from, const std::string& at)
{
    return ::mount(from.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) == 0;
}
#endif

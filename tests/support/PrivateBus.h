#pragma once

// A private message bus: a dbus-daemon of the test's own, so that stand-in services
// never meet the machine's.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

class PrivateBus {
public:
    explicit PrivateBus(const std::string& folder)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const std::string print = "--print-address=" + std::to_string(fds[1]);
            const std::string listen = "--address=unix:path=" + folder + "/socket";
            ::execlp("dbus-daemon", "dbus-daemon", "--session", listen.c_str(), "--nofork",
                print.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        char buf[512];
        ssize_t n = 0;
        while ((n = ::read(fds[0], buf, sizeof buf)) > 0) {
            address_.append(buf, static_cast<size_t>(n));
            if (address_.find('\n') != std::string::npos)
                break;
        }
        ::close(fds[0]);
        if (const size_t nl = address_.find('\n'); nl != std::string::npos)
            address_.resize(nl);
    }
    ~PrivateBus()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& address() const { return address_; } // empty: no dbus-daemon

private:
    pid_t pid_ = -1;
    std::string address_;
};

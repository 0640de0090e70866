#pragma once

// A program running under a name of the test's choosing (a copy of sleep), for the
// checks that read the real process table. It is killed when the object goes.
#include "support/TestTree.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

class RunningProgram {
public:
    // Runs a copy of sleep placed at `rel` in the tree.
    RunningProgram(const TestTree& t, const std::string& rel)
    {
        const std::string exe = t.path(rel);
        std::filesystem::create_directories(std::filesystem::path(exe).parent_path());
        std::filesystem::copy_file("/bin/sleep", exe);
        ::chmod(exe.c_str(), 0755);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl(exe.c_str(), exe.c_str(), "60", static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~RunningProgram()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

private:
    pid_t pid_ = -1;
};

// Asks `done` until it holds, five seconds at most: a new process needs a moment to
// exec before the process table shows its executable.
inline bool eventually(const std::function<bool()>& done)
{
    for (int i = 0; i < 500; ++i) {
        if (done())
            return true;
        ::usleep(10000);
    }
    return done();
}

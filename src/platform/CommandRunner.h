#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tidvale::platform {

struct CommandResult {
    bool started = false; // false: the program could not be run at all (see `err`)
    int exitCode = -1;    // -1 when it was ended by a signal
    std::string out;
    std::string err; // what it wrote on standard error, or why it could not start
};

// Runs a system program and waits for it. The program is found on PATH and gets the
// arguments as one vector, never through a shell, so no argument is ever read as
// shell syntax; standard input is /dev/null.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    virtual CommandResult run(const std::vector<std::string>& argv) = 0;
};

// The backend of this operating system.
std::shared_ptr<CommandRunner> systemCommandRunner();

// What the system's own runner does, for the backends that spawn a program of their
// own (pkexec, flatpak): one way to start a program in the whole program.
CommandResult runCommand(const std::vector<std::string>& argv);

// Whether an executable `name` is in one of the folders of `searchPath` (a $PATH value;
// empty: the usual system folders).
bool programOnPath(const std::string& name, const std::string& searchPath);

} // namespace tidvale::platform

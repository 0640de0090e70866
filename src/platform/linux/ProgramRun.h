#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tidvale::platform {

struct ProgramRun {
    std::optional<std::string> startError; // set when the program could not be started
    int exitStatus = -1;                   // the exit code; -1 when a signal ended it
    std::string output;                    // standard output and standard error, in turn
};

// Runs `args[0]` (looked up on PATH) with exactly these arguments, no shell between,
// standard input from /dev/null, and waits for it to end.
ProgramRun runProgram(const std::vector<std::string>& args);

// Whether an executable `name` is on PATH.
bool programOnPath(const std::string& name);

} // namespace tidvale::platform

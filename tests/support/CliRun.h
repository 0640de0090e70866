#pragma once

// Runs the real tidvale-cli (TIDVALE_CLI, set by the build) as a user would.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

struct CliRun {
    int status;
    std::string out;
};

// Single-quotes a word for the shell, whatever it holds.
inline std::string shellQuote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// `args` and `env` are shell text: quote paths with shellQuote. Standard error is dropped.
inline CliRun runCli(const std::string& args, const std::string& env = "")
{
    const std::string cmd = env + " " + TIDVALE_CLI + std::string(" ") + args + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    std::array<char, 4096> buf{};
    while (size_t n = fread(buf.data(), 1, buf.size(), p))
        out.append(buf.data(), n);
    int status = pclose(p);
    return {WEXITSTATUS(status), out};
}

#pragma once

// Runs tidvale-cli as a user would and captures what it prints on stdout.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

struct CliRun {
    int status;
    std::string out;
};

inline std::string shellQuote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// `env` is prepended as VAR=value words; stderr is discarded unless `withStderr`.
inline CliRun runCli(const std::string& args, const std::string& env = "", bool withStderr = false)
{
    const std::string cmd = env + " " + TIDVALE_CLI + std::string(" ") + args
        + (withStderr ? " 2>&1" : " 2>/dev/null");
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    std::array<char, 4096> buf{};
    while (size_t n = fread(buf.data(), 1, buf.size(), p))
        out.append(buf.data(), n);
    const int status = pclose(p);
    return {WEXITSTATUS(status), out};
}

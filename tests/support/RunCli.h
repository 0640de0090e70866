#pragma once

// Runs tidvale-cli as a user would and captures what it prints on stdout.
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
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

// `env` is prepended as VAR=value words (and may end with a command that runs the CLI,
// such as setpriv); stderr is discarded unless `withStderr`.
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

struct CliOutputs {
    int status;
    std::string out;
    std::string err;
};

// The same with standard error kept apart, for commands whose output is JSON.
inline CliOutputs runCliApart(const std::string& args, const std::string& env = "")
{
    char name[] = "/tmp/tidvale-stderr-XXXXXX";
    const int fd = ::mkstemp(name);
    const CliRun run = runCli(args + " 2>" + shellQuote(name) + " ; exit $?", env);
    std::string err;
    std::array<char, 4096> buf{};
    for (ssize_t n; (n = ::read(fd, buf.data(), buf.size())) > 0;)
        err.append(buf.data(), static_cast<size_t>(n));
    ::close(fd);
    ::unlink(name);
    return {run.status, run.out, err};
}

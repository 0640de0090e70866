#pragma once

// Runs an installed program directly (no shell, so names need no quoting) and
// captures what it prints on stdout; stderr is discarded.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

struct ToolRun {
    int status = -1; // the exit code, -1 when it could not run or was killed
    std::string out;
};

inline bool hasTool(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (!dir.empty() && ::access((dir + "/" + name).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

// `env` holds "NAME=value" words that replace those variables of this process,
// or bare "NAME" words that remove them.
inline ToolRun runTool(
    const std::vector<std::string>& argv, const std::vector<std::string>& env = {})
{
    std::vector<std::string> vars;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        bool replaced = false;
        for (const auto& o : env)
            replaced = replaced || var.rfind(o.substr(0, o.find('=')) + "=", 0) == 0;
        if (!replaced)
            vars.push_back(var);
    }
    for (const auto& o : env) {
        if (o.find('=') != std::string::npos)
            vars.push_back(o);
    }
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(out[1], 1);
        ::dup2(null, 2);
        std::vector<char*> args, envp;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        for (const auto& v : vars)
            envp.push_back(const_cast<char*>(v.c_str()));
        args.push_back(nullptr);
        envp.push_back(nullptr);
        ::execvpe(args[0], args.data(), envp.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ToolRun run;
    char buf[4096];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;)
        run.out.append(buf, static_cast<size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

#pragma once

// Runs part of a test in a forked child (to drop privileges, or to mount things in a
// namespace of its own) and brings back what it found as "key=value" lines.
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>

using ChildFindings = std::map<std::string, std::string>;

inline ChildFindings inChild(const std::function<ChildFindings()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {{"child", "no pipe"}};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string text;
        for (const auto& [key, value] : body())
            text += key + "=" + value + "\n";
        for (size_t done = 0; done < text.size();) {
            const ssize_t n = ::write(fds[1], text.data() + done, text.size() - done);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ChildFindings found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            found[line.substr(0, eq)] = line.substr(eq + 1);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        found["child"] = "died";
    return found;
}

#pragma once

// Runs part of a test in a forked child (to drop privileges, or to mount things in a
// namespace of its own) and brings back what it found as "key=value" lines; a value may
// hold any byte, newlines included.
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
        for (const auto& [key, value] : body()) {
            text += key + "=";
            for (char c : value)
                text += c == '\n' ? std::string("\\n")
                    : c == '\\'   ? std::string("\\\\")
                                  : std::string(1, c);
            text += "\n";
        }
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
        if (eq == std::string::npos)
            continue;
        std::string value;
        for (size_t i = eq + 1; i < line.size(); ++i)
            value += line[i] == '\\' && i + 1 < line.size() ? (line[++i] == 'n' ? '\n' : line[i])
                                                            : line[i];
        found[line.substr(0, eq)] = value;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        found["child"] = "died";
    return found;
}

// In a GoogleTest body: skips with the child's reason when it could not do its part
// ("skip"), and fails when it died.
#define SKIP_UNLESS_CHILD_RAN(found)                                                               \
    do {                                                                                           \
        if ((found).count("skip"))                                                                 \
            GTEST_SKIP() << (found)["skip"];                                                       \
    } while (0);                                                                                   \
    ASSERT_FALSE((found).count("child")) << (found)["child"]

#include "platform/CommandRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <string>

extern char** environ;

namespace tidvale::platform {
namespace {

// A program that prints without end must not exhaust memory: past this much, the
// rest is read and dropped so that it can still finish.
constexpr size_t kMaxCaptured = 4u << 20;

void drain(int outFd, int errFd, std::string& out, std::string& err)
{
    std::array<pollfd, 2> fds{pollfd{outFd, POLLIN, 0}, pollfd{errFd, POLLIN, 0}};
    std::array<std::string*, 2> sinks{&out, &err};
    std::array<char, 4096> buf{};
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t n = read(fds[i].fd, buf.data(), buf.size());
            if (n > 0 && sinks[i]->size() < kMaxCaptured)
                sinks[i]->append(buf.data(), static_cast<size_t>(n));
            else if (n == 0 || (n < 0 && errno != EINTR))
                fds[i].fd = -1;
        }
    }
}

// Both ends close on exec, so that no other child, spawned meanwhile by another
// thread, holds a pipe open and keeps the reader waiting.
bool closeOnExecPipe(int fds[2])
{
#ifdef __linux__
    return pipe2(fds, O_CLOEXEC) == 0;
#else
    if (pipe(fds) != 0)
        return false;
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    return true;
#endif
}

class PosixCommandRunner final : public CommandRunner {
public:
    CommandResult run(const std::vector<std::string>& args) override { return runCommand(args); }
};

} // namespace

CommandResult runCommand(const std::vector<std::string>& args)
{
    CommandResult result;
    if (args.empty()) {
        result.err = "No se indicó ningún programa.";
        return result;
    }
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int outPipe[2];
    int errPipe[2];
    if (!closeOnExecPipe(outPipe)) {
        result.err = std::strerror(errno);
        return result;
    }
    if (!closeOnExecPipe(errPipe)) {
        result.err = std::strerror(errno);
        close(outPipe[0]);
        close(outPipe[1]);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (rc != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        result.err = rc == ENOENT ? "No se encontró el programa «" + args[0] + "»."
                                  : "No se pudo iniciar «" + args[0] + "» (error del sistema "
                + std::to_string(rc) + ").";
        return result;
    }
    drain(outPipe[0], errPipe[0], result.out, result.err);
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    result.started = true;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool programOnPath(const std::string& name, const std::string& searchPath)
{
    std::string rest = searchPath.empty() ? "/usr/local/bin:/usr/bin:/bin" : searchPath;
    while (true) {
        const size_t colon = rest.find(':');
        const std::string dir = rest.substr(0, colon);
        if (!dir.empty() && access((dir + "/" + name).c_str(), X_OK) == 0)
            return true;
        if (colon == std::string::npos)
            return false;
        rest.erase(0, colon + 1);
    }
}

std::shared_ptr<CommandRunner> systemCommandRunner()
{
    return std::make_shared<PosixCommandRunner>();
}

} // namespace tidvale::platform

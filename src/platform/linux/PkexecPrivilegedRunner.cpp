#include "platform/PrivilegedRunner.h"
#include "platform/linux/PkexecOutcome.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>

extern char** environ;

namespace tidvale::platform {
namespace {

// The helper sits beside the executable in a build tree, and in libexec once
// installed. pkexec needs its absolute path, and finds the rule that names Tidvale in
// its password dialog only under the exact path the rule gives: no "bin/../" in it.
std::string helperPath()
{
    std::array<char, PATH_MAX> buf{};
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return {};
    std::string self(buf.data(), static_cast<size_t>(n));
    const std::string dir = self.substr(0, self.rfind('/') + 1);
    for (const std::string& candidate :
        {dir + TIDVALE_HELPER_NAME, dir + TIDVALE_HELPER_FROM_BIN "/" TIDVALE_HELPER_NAME}) {
        std::array<char, PATH_MAX> real{};
        if (access(candidate.c_str(), X_OK) == 0 && realpath(candidate.c_str(), real.data()))
            return real.data();
    }
    return {};
}

PrivilegedRunResult failure(std::string text)
{
    PrivilegedRunResult result;
    result.error = std::move(text);
    return result;
}

std::string spawnFailureText(int error)
{
    if (error == ENOENT)
        return "No se pudo iniciar pkexec porque no está instalado.";
    return "No se pudo iniciar pkexec por un error del sistema (código " + std::to_string(error)
        + ").";
}

// Reads both pipes to their end; the helper's report can outgrow a pipe's buffer
// while pkexec still has something to say on standard error.
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
            if (n > 0)
                sinks[i]->append(buf.data(), static_cast<size_t>(n));
            else if (n == 0 || errno != EINTR)
                fds[i].fd = -1;
        }
    }
}

// pkexec runs the helper with an argument vector, never through a shell; each path
// is one argument after "--", so no path can be read as an option or a command.
class PkexecPrivilegedRunner final : public PrivilegedRunner {
public:
    PrivilegedRunResult run(const PrivilegedDeletion& request) override
    {
        const std::string helper = helperPath();
        if (helper.empty())
            return failure("No se encontró el asistente de administrador de Tidvale.");

        std::vector<std::string> args{"pkexec", helper, "--"};
        args.insert(args.end(), request.paths.begin(), request.paths.end());
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);

        int outPipe[2];
        int errPipe[2];
        if (pipe2(outPipe, O_CLOEXEC) != 0)
            return failure(spawnFailureText(errno));
        if (pipe2(errPipe, O_CLOEXEC) != 0) {
            const int err = errno;
            close(outPipe[0]);
            close(outPipe[1]);
            return failure(spawnFailureText(err));
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        pid_t pid = 0;
        const int rc = posix_spawnp(&pid, "pkexec", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(outPipe[1]);
        close(errPipe[1]);
        if (rc != 0) {
            close(outPipe[0]);
            close(errPipe[0]);
            return failure(spawnFailureText(rc));
        }

        std::string output;
        std::string errors;
        drain(outPipe[0], errPipe[0], output, errors);
        close(outPipe[0]);
        close(errPipe[0]);

        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
        return interpretPkexecRun(status, output, errors, request.paths.size());
    }
};

} // namespace

template <> std::shared_ptr<PrivilegedRunner> makeSystemService<PrivilegedRunner>()
{
    return std::make_shared<PkexecPrivilegedRunner>();
}

} // namespace tidvale::platform

#include "platform/PrivilegedRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

extern char** environ;

namespace tidvale::platform {
namespace {

// The helper sits beside the executable in a build tree, and in libexec once
// installed; pkexec needs its absolute path.
std::string helperPath()
{
    std::array<char, PATH_MAX> buf{};
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return {};
    std::string self(buf.data(), static_cast<size_t>(n));
    const std::string dir = self.substr(0, self.rfind('/') + 1);
    for (const std::string& candidate :
        {dir + TIDVALE_HELPER_NAME, dir + "../libexec/tidvale/" TIDVALE_HELPER_NAME}) {
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

std::string trimmed(std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

// pkexec runs the helper with an argument vector, never through a shell; each path
// is one argument after "--", so no path can be read as an option or a command.
class PkexecPrivilegedRunner final : public PrivilegedRunner {
public:
    std::optional<std::string> run(const PrivilegedDeletion& request) override
    {
        const std::string helper = helperPath();
        if (helper.empty())
            return "No se encontró el asistente de administrador de Tidvale.";

        std::vector<std::string> args{"pkexec", helper, "--"};
        args.insert(args.end(), request.paths.begin(), request.paths.end());
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);

        int pipeFds[2];
        if (pipe2(pipeFds, O_CLOEXEC) != 0)
            return std::string("No se pudo iniciar pkexec: ") + std::strerror(errno);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        pid_t pid = 0;
        int rc = posix_spawnp(&pid, "pkexec", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        if (rc != 0) {
            close(pipeFds[0]);
            return std::string("No se pudo iniciar pkexec: ") + std::strerror(rc);
        }

        std::string errors;
        std::array<char, 4096> buf{};
        for (;;) {
            ssize_t n = read(pipeFds[0], buf.data(), buf.size());
            if (n > 0)
                errors.append(buf.data(), static_cast<size_t>(n));
            else if (n == 0 || errno != EINTR)
                break;
        }
        close(pipeFds[0]);

        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
            return std::nullopt;
        if (WIFEXITED(status) && WEXITSTATUS(status) == 126)
            return "Se canceló la solicitud de contraseña de administrador.";
        if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
            return "No tienes autorización para eliminar estos elementos como administrador.";
        errors = trimmed(errors);
        if (!errors.empty())
            return errors;
        return "Error desconocido";
    }
};

} // namespace

template <> std::shared_ptr<PrivilegedRunner> makeSystemService<PrivilegedRunner>()
{
    return std::make_shared<PkexecPrivilegedRunner>();
}

} // namespace tidvale::platform

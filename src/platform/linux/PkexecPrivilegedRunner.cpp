#include "platform/CommandRunner.h"
#include "platform/PrivilegedRunner.h"
#include "platform/linux/PkexecOutcome.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>

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
        const CommandResult run = runCommand(args);
        if (!run.started)
            return failure(run.err);
        return interpretPkexecRun(run.exitCode, run.out, run.err, request.paths.size());
    }
};

} // namespace

std::shared_ptr<PrivilegedRunner> systemPrivilegedRunner()
{
    return std::make_shared<PkexecPrivilegedRunner>();
}

} // namespace tidvale::platform

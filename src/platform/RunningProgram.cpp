#include "platform/RunningProgram.h"

#include <climits>
#include <cstdlib>
#include <vector>

#ifdef __APPLE__
#include <mach-o/dyld.h>
#else
#include <unistd.h>
#endif

namespace tidvale::platform {

std::string runningProgramFolder()
{
#ifdef __APPLE__
    uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> given(size + 1, '\0');
    if (_NSGetExecutablePath(given.data(), &size) != 0)
        return {};
    char resolved[PATH_MAX];
    if (!realpath(given.data(), resolved))
        return {};
    std::string path = resolved;
#else
    // The kernel's own record of the executable, whatever argv[0] or PATH said.
    std::vector<char> buffer(PATH_MAX + 1, '\0');
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), PATH_MAX);
    if (n <= 0)
        return {};
    std::string path(buffer.data(), static_cast<size_t>(n));
#endif
    const size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

} // namespace tidvale::platform

#include "platform/RunningApplications.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace tidvale::platform {
namespace {

// Browsers have no bundle identifiers on Linux; for the Mac's rules their executables
// stand in for them. Safari never runs here.
struct ExecutableIdentity {
    std::string_view executable;
    std::string_view bundleIdentifier;
};
constexpr std::array kBrowsers{
    ExecutableIdentity{"firefox", "org.mozilla.firefox"},
    ExecutableIdentity{"firefox-esr", "org.mozilla.firefox"},
    ExecutableIdentity{"firefox-bin", "org.mozilla.firefox"},
    ExecutableIdentity{"chrome", "com.google.Chrome"},
    ExecutableIdentity{"google-chrome", "com.google.Chrome"},
    ExecutableIdentity{"google-chrome-stable", "com.google.Chrome"},
    ExecutableIdentity{"msedge", "com.microsoft.edgemac"},
    ExecutableIdentity{"microsoft-edge", "com.microsoft.edgemac"},
    ExecutableIdentity{"microsoft-edge-stable", "com.microsoft.edgemac"},
};

std::string baseName(std::string_view path)
{
    auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// What /proc/<pid>/exe reads for each of the user's processes. Another user's
// browser does not hold this user's caches open.
std::vector<std::string> userExecutables()
{
    std::vector<std::string> found;
    DIR* proc = opendir("/proc");
    if (!proc)
        return found;
    const uid_t me = getuid();
    while (dirent* e = readdir(proc)) {
        if (!std::isdigit(static_cast<unsigned char>(e->d_name[0])))
            continue;
        const std::string dir = std::string("/proc/") + e->d_name;
        struct stat st { };
        if (stat(dir.c_str(), &st) != 0 || st.st_uid != me)
            continue;
        std::array<char, 4096> buf{};
        const ssize_t n = readlink((dir + "/exe").c_str(), buf.data(), buf.size() - 1);
        if (n <= 0)
            continue;
        std::string exe(buf.data(), static_cast<size_t>(n));
        if (std::find(found.begin(), found.end(), exe) == found.end())
            found.push_back(std::move(exe));
    }
    closedir(proc);
    return found;
}

// A replaced binary reads "/usr/bin/firefox (deleted)"; the name still counts.
std::string baseNameOf(std::string exe)
{
    constexpr std::string_view deleted = " (deleted)";
    if (exe.size() > deleted.size() && exe.ends_with(deleted))
        exe.resize(exe.size() - deleted.size());
    return baseName(exe);
}

class ProcRunningApplications final : public RunningApplications {
public:
    std::vector<std::string> bundleIdentifiers() const override
    {
        std::vector<std::string> found;
        for (const auto& exe : userExecutables()) {
            const std::string name = baseNameOf(exe);
            for (const auto& b : kBrowsers) {
                std::string id(b.bundleIdentifier);
                if (name == b.executable
                    && std::find(found.begin(), found.end(), id) == found.end())
                    found.push_back(std::move(id));
            }
        }
        return found;
    }

    std::vector<std::string> executables() const override { return userExecutables(); }
};

} // namespace

std::shared_ptr<RunningApplications> systemRunningApplications()
{
    return std::make_shared<ProcRunningApplications>();
}

} // namespace tidvale::platform

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

// Browsers have no bundle identifiers on Linux; their executables stand in for them.
// Safari never runs here.
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

std::string executableOf(const std::string& procDir)
{
    std::array<char, 4096> buf{};
    ssize_t n = readlink((procDir + "/exe").c_str(), buf.data(), buf.size() - 1);
    if (n > 0) {
        std::string target(buf.data(), static_cast<size_t>(n));
        // A replaced binary reads "/usr/bin/firefox (deleted)"; the name still counts.
        constexpr std::string_view deleted = " (deleted)";
        if (target.size() > deleted.size() && target.ends_with(deleted))
            target.resize(target.size() - deleted.size());
        return baseName(target);
    }
    return {};
}

class ProcRunningApplications final : public RunningApplications {
public:
    std::vector<std::string> bundleIdentifiers() const override
    {
        std::vector<std::string> found;
        DIR* proc = opendir("/proc");
        if (!proc)
            return found;
        const uid_t me = getuid();
        while (dirent* e = readdir(proc)) {
            if (!std::isdigit(static_cast<unsigned char>(e->d_name[0])))
                continue;
            std::string dir = std::string("/proc/") + e->d_name;
            struct stat st { };
            // Another user's browser does not hold this user's caches open.
            if (stat(dir.c_str(), &st) != 0 || st.st_uid != me)
                continue;
            std::string exe = executableOf(dir);
            for (const auto& b : kBrowsers) {
                if (exe == b.executable) {
                    std::string id(b.bundleIdentifier);
                    if (std::find(found.begin(), found.end(), id) == found.end())
                        found.push_back(std::move(id));
                }
            }
        }
        closedir(proc);
        return found;
    }
};

} // namespace

template <> std::shared_ptr<RunningApplications> makeSystemService<RunningApplications>()
{
    return std::make_shared<ProcRunningApplications>();
}

} // namespace tidvale::platform

// Prints what the Linux listing rules find for a home and a system root, each item
// with the size the engine measures, and the browsers running now: one line per item,
// "<step>\t<bytes>\t<name>\t<path>". scripts/check-browser-profiles.sh compares these
// with du on the same folders. Usage: tidvale-linux-locations-probe [HOME [ROOT]]
#include "engine/fs/TreeSize.h"
#include "engine/locations/linux/BrowserLocations.h"
#include "engine/locations/linux/SystemCaches.h"
#include "engine/locations/linux/SystemLogs.h"
#include "engine/locations/linux/UserCaches.h"
#include "engine/locations/linux/UserLogs.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

const char* env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

void print(const char* step, const std::vector<JunkCandidate>& list)
{
    for (const auto& c : list)
        std::printf("%s\t%lld\t%s\t%s\n", step, static_cast<long long>(treeSize(c.path)),
            c.name.c_str(), c.path.c_str());
}

void print(const char* step, const std::vector<BrowserCandidate>& list)
{
    for (const auto& c : list)
        std::printf("%s\t%lld\t%s · %s\t%s\n", step,
            static_cast<long long>(treeSize(c.candidate.path)),
            std::string(browserName(c.browser)).c_str(), c.candidate.name.c_str(),
            c.candidate.path.c_str());
}

void printRunningBrowsers()
{
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return;
    while (dirent* e = ::readdir(proc)) {
        const std::string pid = e->d_name;
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        char exe[4096];
        ssize_t n = ::readlink(("/proc/" + pid + "/exe").c_str(), exe, sizeof exe - 1);
        if (n <= 0)
            continue;
        exe[n] = '\0';
        if (auto b = browserOfExecutable(exe))
            std::printf(
                "running\t%s\t%s\t%s\n", pid.c_str(), std::string(browserName(*b)).c_str(), exe);
    }
    ::closedir(proc);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string home = argc > 1 ? argv[1] : env("HOME");
    const std::string root = argc > 2 ? argv[2] : "/";
    const auto folders = desktopFolders(
        home, ::getuid(), env("XDG_CACHE_HOME"), env("XDG_CONFIG_HOME"), env("XDG_DATA_HOME"));
    print("user-cache", listUserCaches(folders));
    print("system-cache", listSystemCaches(root));
    print("user-log", listUserLogs(folders));
    print("system-log", listSystemLogs(root));
    print("browser", listBrowserCaches(folders));
    print("history", listBrowserHistory(folders));
    for (LinuxBrowser b : kLinuxBrowsers) {
        for (const auto& r : browserDataRoots(b, folders))
            std::printf("data-root\t%s\t%s\n", std::string(browserName(b)).c_str(), r.c_str());
    }
    printRunningBrowsers();
    return 0;
}

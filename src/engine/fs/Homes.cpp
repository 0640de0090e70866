#include "engine/fs/Homes.h"

#include "engine/locations/LocationsProfile.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace tidvale {
namespace {

std::string passwordDatabaseHome()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) != 0 || !found || !found->pw_dir)
        return {};
    return found->pw_dir;
}

std::string withoutTrailingSlash(std::string p)
{
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

} // namespace

std::string processHome()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return withoutTrailingSlash(home);
    std::string pw = passwordDatabaseHome();
    return pw.empty() ? "/" : withoutTrailingSlash(pw);
}

const std::string& realHome()
{
    static const std::string home = [] {
        std::string pw = passwordDatabaseHome();
        return pw.empty() ? processHome() : pw;
    }();
    return home;
}

std::vector<std::string> defaultScanFolders()
{
    return currentProfile().personalFolders(realHome());
}

} // namespace tidvale

#include "engine/apps/linux/ApplicationFolders.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <unordered_set>

namespace tidvale::linuxdesk {
namespace {

constexpr int kMaxDepth = 8;

bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

struct Walk {
    std::unordered_set<std::string> ids;
    std::set<std::pair<dev_t, ino_t>> folders;
    std::vector<EntryFile> found;

    void folder(const std::string& path, const std::string& idPrefix, int depth)
    {
        struct stat st { };
        if (depth > kMaxDepth || ::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)
            || !folders.insert({st.st_dev, st.st_ino}).second)
            return;
        DIR* d = ::opendir(path.c_str());
        if (!d)
            return;
        std::vector<std::string> names;
        while (dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(d);
        for (const auto& name : names) {
            const std::string child = path + "/" + name;
            struct stat cs { };
            if (::stat(child.c_str(), &cs) != 0)
                continue; // a dangling link is no entry
            if (S_ISDIR(cs.st_mode)) {
                folder(child, idPrefix + name + "-", depth + 1);
            } else if (S_ISREG(cs.st_mode) && endsWith(name, ".desktop")) {
                std::string id = idPrefix + name;
                if (ids.insert(id).second)
                    found.push_back({std::move(id), child});
            }
        }
    }
};

} // namespace

std::vector<std::string> menuDataFolders(
    const DesktopFolders& folders, std::string_view xdgDataDirs, const std::string& root)
{
    std::vector<std::string> listed; // as the variable names them, not yet rooted
    while (!xdgDataDirs.empty()) {
        const size_t colon = xdgDataDirs.find(':');
        std::string dir(xdgDataDirs.substr(0, colon));
        xdgDataDirs.remove_prefix(colon == std::string_view::npos ? xdgDataDirs.size() : colon + 1);
        while (dir.size() > 1 && dir.back() == '/')
            dir.pop_back();
        if (!dir.empty() && dir.front() == '/')
            listed.push_back(std::move(dir));
    }
    if (listed.empty())
        listed = {"/usr/local/share", "/usr/share"};

    const std::string userFlatpak = folders.dataHome + "/flatpak/exports/share";
    std::vector<std::string> front;
    for (const std::string& dir : {userFlatpak, std::string("/var/lib/flatpak/exports/share")})
        if (std::find(listed.begin(), listed.end(), dir) == listed.end())
            front.push_back(dir);
    listed.insert(listed.begin(), front.begin(), front.end());
    if (std::find(listed.begin(), listed.end(), "/var/lib/snapd/desktop") == listed.end())
        listed.push_back("/var/lib/snapd/desktop");

    std::vector<std::string> out{folders.dataHome};
    for (const auto& dir : listed) {
        // Folders in the home are the user's own and stay where they are.
        const bool inHome = dir == folders.dataHome || dir.starts_with(folders.home + "/");
        std::string where = inHome ? dir : root + dir;
        if (std::find(out.begin(), out.end(), where) == out.end())
            out.push_back(std::move(where));
    }
    return out;
}

std::vector<EntryFile> desktopEntryFiles(const std::vector<std::string>& dataFolders)
{
    Walk walk;
    for (const auto& folder : dataFolders)
        walk.folder(folder + "/applications", "", 0);
    return walk.found;
}

} // namespace tidvale::linuxdesk

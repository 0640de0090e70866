#include "engine/desktop/DesktopFolders.h"

#include "engine/desktop/UserDirs.h"

namespace tidvale::linuxdesk {
namespace {

std::string withoutTrailingSeparators(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

// The variable's value, or the default when it is not an absolute path.
std::string xdgValue(std::string_view value, const std::string& fallback)
{
    if (value.empty() || value.front() != '/')
        return fallback;
    return withoutTrailingSeparators(value);
}

// A default is checked as well: ~/.cache may itself be a link to the home.
void claim(const GuardedFolders& guarded, const char* variable, std::string_view value,
    const std::string& fallback, std::string& folder, std::string& refusal)
{
    const bool given = !value.empty() && value.front() == '/';
    const ClaimedFolder c
        = claimFolder(guarded, given ? variable : "", xdgValue(value, fallback), true);
    folder = c.path;
    refusal = c.refusal;
}

std::vector<std::string> resolvedAll(const std::vector<std::string>& paths, const std::string& home)
{
    std::vector<std::string> out;
    for (const auto& p : paths)
        if (auto r = resolvedPath(p); r && *r != home)
            out.push_back(*r);
    return out;
}

} // namespace

std::vector<std::string> DesktopFolders::notices() const
{
    std::vector<std::string> out;
    if (!cacheRefusal.empty())
        out.push_back(cacheRefusal + ": no se listan cachés en ella.");
    if (!configRefusal.empty())
        out.push_back(configRefusal + ": no se listan datos de navegadores en ella.");
    if (!dataRefusal.empty())
        out.push_back(dataRefusal + ": no se listan la Papelera ni registros en ella.");
    return out;
}

DesktopFolders desktopFolders(const std::string& home, uid_t uid, std::string_view xdgCacheHome,
    std::string_view xdgConfigHome, std::string_view xdgDataHome, const std::string& systemRoot)
{
    DesktopFolders f;
    const std::string given = withoutTrailingSeparators(home);
    f.home = resolvedPath(given).value_or(given);
    f.uid = uid;
    const std::string base = f.home == "/" ? "" : f.home;

    // The config folder names the personal folders, so it is checked against the
    // home and the system alone; then the data and cache folders against all of them.
    GuardedFolders g = linuxGuardedFolders(f.home, {}, {}, systemRoot);
    claim(g, "XDG_CONFIG_HOME", xdgConfigHome, base + "/.config", f.configHome, f.configRefusal);
    // The folders user-dirs.dirs names, and the usual names besides: a file that names
    // others (or a config folder that holds none) must not leave ~/Documents unguarded.
    const PersonalFolders personal = personalFolders(f.home, f.configHome);
    auto named = personal.inOrder();
    named.push_back(personal.publicShare);
    named.push_back(personal.templates);
    for (const char* usual :
        {"Desktop", "Documents", "Downloads", "Music", "Pictures", "Public", "Templates", "Videos"})
        named.push_back(base + "/" + usual);
    g.personal = resolvedAll(named, f.home);
    if (f.configRefusal.empty())
        claim(
            g, "XDG_CONFIG_HOME", xdgConfigHome, base + "/.config", f.configHome, f.configRefusal);
    claim(g, "XDG_DATA_HOME", xdgDataHome, base + "/.local/share", f.dataHome, f.dataRefusal);
    // The cache folder's every entry is offered for removal: it may hold neither the
    // config nor the data folder.
    g.keptData = {f.configHome, f.dataHome};
    claim(g, "XDG_CACHE_HOME", xdgCacheHome, base + "/.cache", f.cacheHome, f.cacheRefusal);
    f.guarded = linuxGuardedFolders(f.home, g.personal, g.keptData, systemRoot);
    return f;
}

} // namespace tidvale::linuxdesk

#include "engine/junk/linux/UserCaches.h"

#include "engine/fs/FolderFd.h"
#include "engine/fs/MountPoint.h"

#include <fnmatch.h>

#include <algorithm>
#include <string>

namespace tidvale::linuxdesk {
namespace {

// Each reason says what would be lost or broken; a plain cache that only costs a
// download or a rebuild (thumbnails, pip, go-build, a browser's cache) stays listed.
const std::vector<KeptCache> kCacheKeepList = {
    {"obexd", "Bluetooth file transfers: obexd receives files here before they are moved"},
    {"doc", "the document portal's FUSE mount point: other programs' files, not a cache"},
    {"wallpaper", "the shell's scaled copies of the wallpaper in use, made again only at login"},
    {"gnome-control-center", "the settings panels' backgrounds and account pictures in use"},
    {"evolution", "Evolution's offline copies of mail and calendars, some not on any server"},
    {"ibus",
        "input method tables and the phrases the user taught them (libpinyin keeps "
        "its user data here)"},
    {"kwin", "the window manager's live caches, rebuilt only at login"},
    {"plasmashell", "the Plasma shell's live caches, rebuilt only at login"},
    {"plasma_theme_*.kcache", "shared theme caches every running Plasma program maps"},
    {"plasma-svgelements*", "shared theme caches every running Plasma program maps"},
    {"icon-cache.kcache", "the shared icon cache every running KDE program maps"},
    {"ksycoca5_*", "KDE's application database, mapped by every KDE program, rebuilt at login"},
    {"ksycoca6_*", "KDE's application database, mapped by every KDE program, rebuilt at login"},
    {"drkonqi", "crash reports the KDE crash handler has not sent yet"},
    {"sessions", "Xfce's saved session, restored at the next login"},
    {"tracker", "the desktop search index, open all session; losing it re-indexes the home"},
    {"tracker3", "the desktop search index, open all session; losing it re-indexes the home"},
    {"fontconfig", "font caches every program maps; until rebuilt each one rescans all fonts"},
    {"qtshadercache-*", "Qt's compiled shaders, in use by running programs, rebuilt at a cost"},
    {"mesa_shader_cache", "the graphics driver's compiled shaders, rebuilt at a cost"},
    {"mesa_shader_cache_db", "the graphics driver's compiled shaders, rebuilt at a cost"},
    {"nvidia", "the NVIDIA driver's compiled shaders (GLCache), rebuilt at a cost"},
    {"huggingface", "holds the Hugging Face access token beside the downloaded models"},
    {"pypoetry", "Poetry's virtual environments live here, not only its downloads"},
    {"JetBrains", "the IDEs' local history of edits lives beside their indexes"},
    {"spotify", "Spotify's offline music (Storage) is kept here"},
    // Caches that hold the only copy of something: files written to a network mount
    // that the client has not uploaded yet.
    {"rclone",
        "rclone's VFS cache holds files written to a mounted remote before they are "
        "uploaded (--vfs-cache-mode writes/full)"},
    {"onedriver", "onedriver keeps OneDrive files changed offline here until it uploads them"},
};

const std::vector<KeptCache> kFlatpakKeepList = {
    {"com.spotify.Client", "Spotify's offline music is in the application's cache folder"},
    {"org.gnome.Evolution", "Evolution's offline mail is in the application's cache folder"},
};

bool matchesAny(const std::vector<KeptCache>& list, std::string_view name)
{
    const std::string n(name);
    return std::any_of(list.begin(), list.end(), [&](const KeptCache& kept) {
        return ::fnmatch(std::string(kept.pattern).c_str(), n.c_str(), 0) == 0;
    });
}

// The user's own entry, neither gone nor a mount point.
bool isUsersEntry(int folderFd, const std::string& name, uid_t uid)
{
    auto st = entryStatus(folderFd, name);
    return st && st->st_uid == uid && !isMountPoint(folderFd, name);
}

void addFlatpakCaches(const DesktopFolders& folders, std::vector<JunkCandidate>& out)
{
    FolderFd apps = openBelow(folders.home, {".var", "app"});
    if (!apps)
        return;
    for (const auto& id : entryNames(apps.get())) {
        if (isKeptFlatpakCache(id) || !isUsersEntry(apps.get(), id, folders.uid))
            continue;
        FolderFd app = openBelow(apps.get(), {id});
        if (!app || !isUsersEntry(app.get(), "cache", folders.uid))
            continue;
        out.push_back({id, folders.home + "/.var/app/" + id + "/cache"});
    }
}

} // namespace

const std::vector<KeptCache>& keptCacheEntries()
{
    return kCacheKeepList;
}
const std::vector<KeptCache>& keptFlatpakCaches()
{
    return kFlatpakKeepList;
}

bool isKeptCacheEntry(std::string_view name)
{
    return matchesAny(kCacheKeepList, name);
}
bool isKeptFlatpakCache(std::string_view appId)
{
    return matchesAny(kFlatpakKeepList, appId);
}

std::vector<JunkCandidate> listUserCaches(const DesktopFolders& folders)
{
    std::vector<JunkCandidate> out;
    if (FolderFd cache = openGivenFolder(folders.cacheFolder())) {
        for (const auto& name : entryNames(cache.get())) {
            if (!isKeptCacheEntry(name) && isUsersEntry(cache.get(), name, folders.uid))
                out.push_back({name, folders.cacheHome + "/" + name});
        }
    }
    addFlatpakCaches(folders, out);
    return out;
}

} // namespace tidvale::linuxdesk

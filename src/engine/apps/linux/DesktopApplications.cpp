#include "engine/apps/linux/DesktopApplications.h"

#include "engine/apps/linux/AppImageFiles.h"
#include "engine/apps/linux/ApplicationFolders.h"
#include "engine/apps/linux/DpkgDatabase.h"
#include "engine/apps/linux/FlatpakApps.h"
#include "engine/apps/linux/SnapPackages.h"
#include "engine/desktop/DesktopEntry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

namespace tidvale::linuxdesk {
namespace {

constexpr size_t kMaxEntry = size_t(1) << 20;

// A desktop entry, through links (Flatpak exports are links into the deployment); a
// FIFO or device is never opened for reading.
std::optional<std::string> readEntryFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat st { };
    std::optional<std::string> text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)
        && static_cast<size_t>(st.st_size) <= kMaxEntry) {
        std::string data(static_cast<size_t>(st.st_size), '\0');
        size_t got = 0;
        while (got < data.size()) {
            const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
        data.resize(got);
        text = std::move(data);
    }
    ::close(fd);
    return text;
}

int64_t fileSize(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? st.st_size : 0;
}

bool isInside(const std::string& path, const std::string& folder)
{
    return path.size() > folder.size() + 1 && path.starts_with(folder)
        && path[folder.size()] == '/';
}

std::string stemOf(const std::string& id)
{
    return id.size() > 8 ? id.substr(0, id.size() - 8) : id;
}

void setIcon(AppInfo& app, const std::string& icon)
{
    if (icon.empty())
        return;
    if (icon.front() == '/') {
        if (fileSize(icon) > 0)
            app.iconFile = icon;
        return;
    }
    // The name of a theme icon; some entries wrongly give it a file extension.
    std::string name = icon;
    for (const char* ext : {".png", ".svg", ".xpm"})
        if (name.size() > 4 && name.ends_with(ext))
            name.resize(name.size() - 4);
    app.iconName = name;
}

void notRemovable(AppInfo& app, std::string reason)
{
    app.removable = false;
    app.notRemovableReason = std::move(reason);
}

class Lister {
public:
    Lister(const DesktopFolders& folders, const std::string& root, const RemovalSupport& support,
        const TreeMeasure& measure, const JobControl& job)
        : folders_(folders)
        , root_(root)
        , support_(support)
        , measure_(measure)
        , job_(job)
        , userFlatpak_(folders.dataHome + "/flatpak")
        , systemFlatpak_(root + "/var/lib/flatpak")
        , snapEntries_(root + "/var/lib/snapd/desktop/applications")
    {
    }

    // Fills in where the entry came from and what removing it frees. `size` is set
    // only here, after the caller has said which application is being read.
    void classify(AppInfo& app, const ApplicationEntry& entry, const std::string& id)
    {
        if (flatpak(app, entry, id) || snap(app, entry, id) || deb(app) || appImage(app, entry))
            return;
        app.source = AppSource::desktop;
        app.unit = "desktop:" + app.path;
        app.size = fileSize(app.path);
        notRemovable(app,
            "No se sabe qué instaló esta entrada de menú: no se puede desinstalar desde aquí.");
    }

private:
    bool flatpak(AppInfo& app, const ApplicationEntry& entry, const std::string& id)
    {
        const bool userExport = isInside(app.path, userFlatpak_ + "/exports");
        const bool systemExport = isInside(app.path, systemFlatpak_ + "/exports");
        std::string appId = entry.flatpakId;
        if (appId.empty() && (userExport || systemExport))
            appId = flatpakIdOfExport(app.path).value_or(stemOf(id));
        if (appId.empty())
            return false;
        std::optional<FlatpakApp> found;
        bool systemWide = systemExport;
        if (!systemExport)
            found = deployedFlatpak(userFlatpak_, appId);
        if (!found && !userExport) {
            found = deployedFlatpak(systemFlatpak_, appId);
            systemWide = true;
        }
        if (!found)
            return false;
        app.source = AppSource::flatpak;
        app.package = found->id;
        app.systemWide = systemWide;
        app.payload = found->deployment;
        app.version = found->version;
        app.unit = std::string("flatpak:") + (systemWide ? "system:" : "user:") + found->id;
        app.size = measured(app.unit, app.payload);
        if (support_.flatpak)
            notRemovable(app, "Aplicación Flatpak «" + found->id + "». " + *support_.flatpak);
        return true;
    }

    bool snap(AppInfo& app, const ApplicationEntry& entry, const std::string& id)
    {
        if (entry.snapInstance.empty() && !isInside(app.path, snapEntries_))
            return false;
        const SnapPackage snap = snapPackage(root_, snapInstanceOfEntry(id, entry.snapInstance));
        app.source = AppSource::snap;
        app.package = snap.name;
        app.payload = snap.file;
        app.version = snap.version;
        app.size = snap.bytes;
        app.unit = "snap:" + snap.name;
        notRemovable(app,
            "Paquete Snap «" + snap.name + "»: desinstalalo con «snap remove " + snap.name + "».");
        return true;
    }

    bool deb(AppInfo& app)
    {
        if (!root_.empty() && !isInside(app.path, root_))
            return false;
        if (!dpkg_)
            dpkg_.emplace(root_ + "/var/lib/dpkg");
        const DpkgPackage* owner = dpkg_->ownerOf(app.path.substr(root_.size()));
        if (!owner)
            return false;
        app.source = AppSource::deb;
        app.package = owner->name;
        app.architecture = owner->architecture;
        app.version = owner->version;
        app.size = owner->installedBytes;
        app.unit = "deb:" + owner->name + ":" + owner->architecture;
        if (support_.packages)
            notRemovable(app, "Paquete de Debian «" + owner->name + "». " + *support_.packages);
        return true;
    }

    bool appImage(AppInfo& app, const ApplicationEntry& entry)
    {
        const auto file = appImageAt(execProgram(entry.exec), folders_.home, folders_.uid, root_);
        if (!file)
            return false;
        app.source = AppSource::appimage;
        app.package = file->path;
        app.payload = file->path;
        app.payloadListed = file->listed;
        app.version = entry.appImageVersion;
        app.unit = "appimage:" + file->path;
        app.size = file->listed.stamp.size + fileSize(app.path);
        if (file->inSystemFolder)
            notRemovable(
                app, "La AppImage está en una carpeta del sistema: quitala como administrador.");
        else if (!isInside(app.path, folders_.dataHome + "/applications"))
            notRemovable(app,
                "Su entrada de menú está en una carpeta del sistema: quitala como administrador.");
        return true;
    }

    int64_t measured(const std::string& unit, const std::string& path)
    {
        const auto it = sizes_.find(unit);
        if (it != sizes_.end())
            return it->second;
        const int64_t size = measure_(path, job_).value_or(0);
        sizes_.emplace(unit, size);
        return size;
    }

    const DesktopFolders& folders_;
    const std::string& root_;
    const RemovalSupport& support_;
    const TreeMeasure& measure_;
    const JobControl& job_;
    const std::string userFlatpak_;
    const std::string systemFlatpak_;
    const std::string snapEntries_;
    std::optional<DpkgDatabase> dpkg_; // read when the first machine entry needs it
    std::map<std::string, int64_t> sizes_;
};

} // namespace

std::vector<AppInfo> listDesktopApplications(const DesktopFolders& folders,
    std::string_view xdgDataDirs, const std::string& root, const RemovalSupport& support,
    const TreeMeasure& measure, const JobControl& job)
{
    Lister lister(folders, root, support, measure, job);
    std::vector<AppInfo> apps;
    for (const auto& file : desktopEntryFiles(menuDataFolders(folders, xdgDataDirs, root))) {
        const auto text = readEntryFile(file.path);
        const auto entry = text ? parseApplicationEntry(*text) : std::nullopt;
        if (!entry || entry->type != "Application" || entry->noDisplay || entry->hidden)
            continue;
        AppInfo app;
        app.name = entry->name.empty() ? stemOf(file.id) : entry->name;
        app.path = file.path;
        app.bundleID = stemOf(file.id);
        readListedStamp(app.path, app.entryListed);
        setIcon(app, entry->icon);
        if (job.cancelled())
            return apps; // whoever stopped the job reads no list
        job.say("Leyendo " + app.name + "...");
        lister.classify(app, *entry, file.id);
        apps.push_back(std::move(app));
    }
    std::stable_sort(apps.begin(), apps.end(),
        [](const AppInfo& a, const AppInfo& b) { return a.size > b.size; });
    return apps;
}

} // namespace tidvale::linuxdesk

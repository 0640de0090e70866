#include "engine/apps/AppUninstall.h"

#include "engine/apps/linux/DpkgDatabase.h"
#include "platform/Trash.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>

namespace tidvale {
namespace {

bool exists(const std::string& path)
{
    struct stat st { };
    return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

struct Tally {
    const Context& context;
    const std::vector<AppInfo>& listed;
    RemovalReport report;
    std::set<std::string> goneUnits;

    // A unit frees its size once, under its first listed entry.
    void gone(const std::string& unit, std::string trashedAs = {})
    {
        if (!goneUnits.insert(unit).second)
            return;
        for (const auto& app : listed)
            if (app.unit == unit)
                return report.add({app.path, app.path, app.size, RemovalStatus::gone, {}, app.size,
                    std::move(trashedAs), false});
    }
    void failed(const UninstallUnit& u, std::string why)
    {
        report.add({u.app.path, u.app.path, u.app.size, RemovalStatus::failed, std::move(why), 0,
            {}, false});
    }
    void changed(const UninstallUnit& u, std::string why)
    {
        report.add({u.app.path, u.app.path, u.app.size, RemovalStatus::changed, std::move(why), 0,
            {}, false});
    }
};

RemovalTarget targetOf(const ListedItem& item)
{
    return {item.path, item.path, item.listed, 0};
}

// The AppImage, then its menu entries; the entries only once the program is gone.
void trashAppImage(const UninstallUnit& u, Tally& tally)
{
    platform::Trash& trash = *tally.context.backends.trash;
    const auto program
        = trashTargets(trash, {targetOf({u.app.payload, u.app.payloadListed})}).outcomes.front();
    if (program.status == RemovalStatus::changed)
        return tally.changed(u, "La AppImage cambió desde que se listó; no se tocó.");
    if (!program.isGone())
        return tally.failed(u, program.message);
    tally.gone(u.app.unit, program.trashedAs);
    std::vector<RemovalTarget> entries;
    for (const auto& entry : u.entries)
        entries.push_back(targetOf(entry));
    for (const auto& result : trashTargets(trash, entries).outcomes)
        if (!result.isGone()) {
            tally.failed(u,
                "La AppImage se movió a la Papelera, pero su entrada de menú no: "
                    + (result.message.empty() ? std::string("cambió desde que se listó.")
                                              : result.message));
            break;
        }
}

void trashBundle(const UninstallUnit& u, Tally& tally)
{
    const auto result
        = trashTargets(*tally.context.backends.trash, {targetOf({u.app.path, u.app.listed})})
              .outcomes.front();
    if (result.isGone())
        tally.gone(u.app.unit, result.trashedAs);
    else if (result.status == RemovalStatus::changed)
        tally.changed(u, "Cambió desde que se listó; no se tocó.");
    else
        tally.failed(u, result.message);
}

void removeFlatpak(const UninstallUnit& u, Tally& tally)
{
    const auto result
        = tally.context.backends.applicationRemover->removeFlatpak(u.app.package, u.app.systemWide);
    if (!exists(u.app.payload))
        return tally.gone(u.app.unit);
    tally.failed(u,
        result.ok ? "flatpak terminó sin error, pero la aplicación sigue instalada."
                  : result.error);
}

void removeDebianPackages(
    const UninstallPlan& plan, const std::vector<platform::DebianPackage>& others, Tally& tally)
{
    std::vector<platform::DebianPackage> packages = debianPackages(plan);
    if (packages.empty())
        return;
    for (const auto& o : others)
        if (std::find(packages.begin(), packages.end(), o) == packages.end())
            packages.push_back(o);
    const auto result = tally.context.backends.applicationRemover->removePackages(packages);
    // What dpkg says now is what counts, whatever the service answered.
    const linuxdesk::DpkgDatabase dpkg(tally.context.folders.systemRoot + "/var/lib/dpkg", false);
    const bool readable = dpkg.packageCount() > 0;
    std::set<std::string> stayed;
    for (const auto& app : tally.listed) {
        const bool asked = std::any_of(packages.begin(), packages.end(), [&](const auto& p) {
            return p.name == app.package && p.architecture == app.architecture;
        });
        if (app.source != AppSource::deb || !asked)
            continue;
        if (readable && !dpkg.isInstalled(app.package, app.architecture))
            tally.gone(app.unit);
        else
            stayed.insert(app.unit);
    }
    for (const auto& u : plan.units) {
        if (u.app.source != AppSource::deb || !stayed.count(u.app.unit))
            continue;
        if (!result.ok)
            tally.failed(u, result.error);
        else if (!readable)
            tally.failed(
                u, "No se pudo leer la base de datos de dpkg para comprobar la desinstalación.");
        else
            tally.failed(u, "El paquete sigue instalado.");
    }
}

} // namespace

const char* appSourceName(AppSource source)
{
    switch (source) {
    case AppSource::bundle:
        return "bundle";
    case AppSource::deb:
        return "deb";
    case AppSource::flatpak:
        return "flatpak";
    case AppSource::snap:
        return "snap";
    case AppSource::appimage:
        return "appimage";
    case AppSource::desktop:
        return "desktop";
    }
    return "desktop";
}

int64_t freedBytes(const std::vector<AppInfo>& apps)
{
    std::set<std::string> seen;
    int64_t total = 0;
    for (const auto& app : apps)
        if (seen.insert(app.unit.empty() ? app.path : app.unit).second)
            total += app.size;
    return total;
}

UninstallPlan planUninstall(const std::vector<AppInfo>& listed, const std::vector<AppInfo>& chosen)
{
    UninstallPlan plan;
    for (const auto& pick : chosen) {
        const auto it = std::find_if(
            listed.begin(), listed.end(), [&](const AppInfo& a) { return a.path == pick.path; });
        if (it == listed.end())
            continue; // gone from the list meanwhile
        if (!it->removable) {
            plan.skipped.push_back(*it);
            continue;
        }
        auto unit = std::find_if(plan.units.begin(), plan.units.end(),
            [&](const UninstallUnit& u) { return u.app.unit == it->unit; });
        if (unit != plan.units.end()) {
            if (std::find(unit->names.begin(), unit->names.end(), it->name) == unit->names.end())
                unit->names.push_back(it->name);
            continue;
        }
        UninstallUnit u{*it, {it->name}, {}};
        for (const auto& other : listed)
            if (other.unit == it->unit && other.removable)
                u.entries.push_back({other.path,
                    other.source == AppSource::bundle ? other.listed : other.entryListed});
        plan.units.push_back(std::move(u));
    }
    return plan;
}

std::vector<platform::DebianPackage> debianPackages(const UninstallPlan& plan)
{
    std::vector<platform::DebianPackage> packages;
    for (const auto& u : plan.units)
        if (u.app.source == AppSource::deb)
            packages.push_back({u.app.package, u.app.architecture, u.app.version});
    return packages;
}

platform::PackageRemovalPreview previewUninstall(
    platform::ApplicationRemover& remover, const UninstallPlan& plan)
{
    const auto packages = debianPackages(plan);
    if (packages.empty())
        return {};
    return remover.previewPackageRemoval(packages);
}

RemovalReport uninstall(const Context& context, const std::vector<AppInfo>& listed,
    const UninstallPlan& plan, const std::vector<platform::DebianPackage>& others,
    const JobControl& job)
{
    Tally tally{context, listed, {}, {}};
    const auto total = static_cast<int64_t>(plan.units.size());
    job.count(0, total);
    removeDebianPackages(plan, others, tally);
    int64_t handled = std::count_if(plan.units.begin(), plan.units.end(),
        [](const UninstallUnit& u) { return u.app.source == AppSource::deb; });
    if (handled > 0)
        job.count(handled, total);
    for (const auto& u : plan.units) {
        if (u.app.source == AppSource::deb)
            continue;
        switch (u.app.source) {
        case AppSource::flatpak:
            removeFlatpak(u, tally);
            break;
        case AppSource::appimage:
            trashAppImage(u, tally);
            break;
        case AppSource::bundle:
            trashBundle(u, tally);
            break;
        default:
            break;
        }
        job.count(++handled, total);
    }
    return tally.report;
}

std::set<std::string> uninstalledEntries(
    const std::vector<AppInfo>& listed, const RemovalReport& report)
{
    std::set<std::string> units;
    for (const auto& app : listed)
        if (report.isGone(app.path))
            units.insert(app.unit);
    std::set<std::string> paths;
    for (const auto& app : listed)
        if (units.count(app.unit))
            paths.insert(app.path);
    return paths;
}

} // namespace tidvale

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
    UninstallReport report;
    std::set<std::string> goneUnits;

    void gone(const std::string& unit)
    {
        if (!goneUnits.insert(unit).second)
            return;
        ++report.removed;
        bool counted = false;
        for (const auto& app : listed) {
            if (app.unit != unit)
                continue;
            report.removedPaths.push_back(app.path);
            if (!counted)
                report.freed += app.size;
            counted = true;
        }
    }
    void failed(const UninstallUnit& u, std::string why)
    {
        report.failures.emplace_back(u.names.front(), std::move(why));
    }
};

// The AppImage, then its menu entries; the entries only once the program is gone.
void trashAppImage(const UninstallUnit& u, Tally& tally)
{
    platform::Trash& trash = *tally.context.backends.trash;
    const auto program = trashListedItems(trash, {{u.app.payload, u.app.payloadListed}}).front();
    if (program.outcome == TrashOutcome::changed)
        return tally.failed(u, "La AppImage cambió desde que se listó; no se tocó.");
    if (program.outcome != TrashOutcome::moved)
        return tally.failed(u, program.error);
    tally.gone(u.app.unit);
    for (const auto& result : trashListedItems(trash, u.entries))
        if (result.outcome != TrashOutcome::moved) {
            tally.failed(u,
                "La AppImage se movió a la Papelera, pero su entrada de menú no: "
                    + (result.error.empty() ? std::string("cambió desde que se listó.")
                                            : result.error));
            break;
        }
}

void trashBundle(const UninstallUnit& u, Tally& tally)
{
    const auto result
        = trashListedItems(*tally.context.backends.trash, {{u.app.path, u.app.listed}}).front();
    if (result.outcome == TrashOutcome::moved)
        tally.gone(u.app.unit);
    else
        tally.failed(u,
            result.outcome == TrashOutcome::changed ? "Cambió desde que se listó; no se tocó."
                                                    : result.error);
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

UninstallReport uninstall(const Context& context, const std::vector<AppInfo>& listed,
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

} // namespace tidvale

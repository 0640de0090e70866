#include "engine/startup/linux/StartupItems.h"

#include "engine/fs/SafeRemove.h"
#include "engine/startup/linux/AutostartFiles.h"
#include "engine/startup/linux/UserUnits.h"
#include "platform/CommandRunner.h"
#include "platform/Trash.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>

namespace tidvale::linuxdesk {
namespace {

const char* const kUserEntry = "Inicio (Usuario)";
const char* const kSystemEntry = "Inicio (Sistema)";
const char* const kUserUnit = "Servicio (Usuario)";

std::string parentOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string baseName(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

std::string trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

bool isLinked(const std::string& configHome, const std::string& unit)
{
    const auto links = userEnabledUnits(configHome);
    return std::any_of(
        links.begin(), links.end(), [&](const UserUnitLink& l) { return l.unit == unit; });
}

RemovalOutcome disableUnit(
    const StartupPlaces& places, const std::string& path, platform::CommandRunner& commands)
{
    const std::string unit = baseName(path);
    const auto run = commands.run(disableUnitCommand(unit));
    // systemctl may exit 0 having done nothing (a unit it cannot find): the links
    // say whether it is still enabled.
    if (run.started && run.exitCode == 0 && !isLinked(places.configHome, unit))
        return outcomeAt(path, {});
    std::string error = trimmed(run.err);
    if (error.empty())
        error = "systemctl no deshabilitó " + unit + ".";
    return outcomeAt(path, std::move(error));
}

RemovalOutcome enableUnit(
    const StartupPlaces& places, const std::string& unit, platform::CommandRunner& commands)
{
    const auto run = commands.run(enableUnitCommand(unit));
    if (run.started && run.exitCode == 0 && isLinked(places.configHome, unit))
        return outcomeAt(unit, {});
    std::string error = trimmed(run.err);
    if (error.empty())
        error = "systemctl no habilitó " + unit + ".";
    return outcomeAt(unit, std::move(error));
}

} // namespace

std::vector<LaunchItem> listStartupItems(
    const StartupPlaces& places, platform::CommandRunner& commands)
{
    std::vector<LaunchItem> items;
    for (auto& entry : listAutostartEntries(places.autostart, places.session)) {
        LaunchItem item;
        item.name = entryStem(entry.fileName);
        item.path = std::move(entry.path);
        item.isEnabled = entry.enabled;
        item.source = entry.user ? kUserEntry : kSystemEntry;
        item.bundleID = std::move(entry.label);
        item.action = !entry.user   ? LaunchItemAction::hideSystemEntry
            : entry.overridesSystem ? LaunchItemAction::hideUserEntry
                                    : LaunchItemAction::moveToTrash;
        item.canEnable = entry.canEnable;
        items.push_back(std::move(item));
    }

    const auto links = userEnabledUnits(places.configHome);
    // The user's own units that nothing enables stay listed, switched off, so that
    // one disabled here can be turned on again.
    for (const auto& unit : userInstallableUnits(places.configHome)) {
        if (std::any_of(
                links.begin(), links.end(), [&](const UserUnitLink& l) { return l.unit == unit; }))
            continue;
        LaunchItem item;
        item.name = unit;
        item.path = userUnitFolder(places.configHome) + "/" + unit;
        item.isEnabled = false;
        item.source = kUserUnit;
        item.bundleID = unit;
        item.action = LaunchItemAction::disableUnit;
        item.canEnable = true;
        items.push_back(std::move(item));
    }
    if (links.empty())
        return items; // nothing to ask systemctl about
    const auto run = commands.run(listEnabledUnitsCommand());
    const bool answered = run.started && run.exitCode == 0;
    std::set<std::string> enabled;
    for (auto& unit : enabledUnitsIn(run.out))
        enabled.insert(std::move(unit));
    for (const auto& link : links) {
        if (answered && !enabled.contains(link.unit))
            continue;
        LaunchItem item;
        item.name = link.unit;
        item.path = link.link;
        item.source = kUserUnit;
        item.bundleID = link.unit;
        item.action = LaunchItemAction::disableUnit;
        items.push_back(std::move(item));
    }
    return items;
}

RemovalOutcome disableStartupItem(
    const StartupPlaces& places, const LaunchItem& item, const platform::Backends& backends)
{
    const std::string folder = parentOf(item.path);
    const std::string name = baseName(item.path);
    if (parentOf(folder) == userUnitFolder(places.configHome)) {
        if (!isLinked(places.configHome, name))
            return outcomeAt(item.path, name + " no está habilitado en tu carpeta de servicios.");
        return disableUnit(places, item.path, *backends.commands);
    }

    const AutostartFolders& autostart = places.autostart;
    if (folder == autostart.user) {
        const std::string system = systemEntryFor(autostart, name);
        if (!system.empty())
            return outcomeAt(item.path, hideAutostartEntry(autostart, name, system));
        struct stat st { };
        if (lstat(item.path.c_str(), &st) != 0)
            return outcomeAt(item.path, describeRemoveError(errno, item.path));
        auto moved = backends.trash->moveToTrash(item.path);
        return outcomeAt(item.path, moved.ok ? std::string() : std::move(moved.error));
    }
    if (std::find(autostart.system.begin(), autostart.system.end(), folder)
        != autostart.system.end())
        return outcomeAt(item.path, hideAutostartEntry(autostart, name, item.path));
    return outcomeAt(
        item.path, "\u201c" + item.path + "\u201d no es un elemento de inicio de esta sesión.");
}

RemovalOutcome enableStartupItem(
    const StartupPlaces& places, const LaunchItem& item, platform::CommandRunner& commands)
{
    const std::string folder = parentOf(item.path);
    const std::string name = baseName(item.path);
    if (folder == userUnitFolder(places.configHome)) {
        if (isLinked(places.configHome, name))
            return outcomeAt(item.path, name + " ya está habilitado.");
        return enableUnit(places, name, commands);
    }
    // A machine entry listed before it was hidden is switched on through the user's
    // copy that hides it.
    const auto& system = places.autostart.system;
    if (folder == places.autostart.user
        || std::find(system.begin(), system.end(), folder) != system.end())
        return outcomeAt(item.path,
            showAutostartEntry(places.autostart, name, systemEntryFor(places.autostart, name)));
    return outcomeAt(item.path, "\u201c" + item.path + "\u201d no se puede activar desde aquí.");
}

} // namespace tidvale::linuxdesk

#include "engine/startup/linux/UserUnits.h"

#include "engine/fs/FolderFd.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace tidvale::linuxdesk {
namespace {

bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() > suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool isDependencyFolder(std::string_view name)
{
    return endsWith(name, ".wants") || endsWith(name, ".requires") || endsWith(name, ".upholds");
}

} // namespace

std::string userUnitFolder(const std::string& configHome)
{
    return configHome + "/systemd/user";
}

std::vector<UserUnitLink> userEnabledUnits(const std::string& configHome)
{
    const std::string base = userUnitFolder(configHome);
    const FolderFd folder = openGivenFolder(base);
    if (!folder)
        return {};
    std::vector<std::string> targets;
    for (auto& name : entryNames(folder.get()))
        if (isDependencyFolder(name))
            targets.push_back(std::move(name));
    std::sort(targets.begin(), targets.end());
    std::map<std::string, std::string> links;
    for (const auto& target : targets) {
        const FolderFd wants = openBelow(folder.get(), {target});
        if (!wants)
            continue;
        for (const auto& unit : entryNames(wants.get())) {
            const auto own = entryStatus(wants.get(), unit);
            struct stat file { };
            if (!own || !S_ISLNK(own->st_mode) || fstatat(wants.get(), unit.c_str(), &file, 0) != 0)
                continue;
            const std::string link = base + "/" + target + "/" + unit;
            auto [it, added] = links.emplace(unit, link);
            if (!added && link < it->second)
                it->second = link;
        }
    }
    std::vector<UserUnitLink> units;
    for (auto& [unit, link] : links)
        units.push_back({unit, std::move(link)});
    return units;
}

std::vector<std::string> listEnabledUnitsCommand()
{
    return {
        "systemctl", "--user", "list-unit-files", "--state=enabled", "--no-legend", "--no-pager"};
}

std::vector<std::string> disableUnitCommand(const std::string& unit)
{
    // "--": a unit name may begin with "-" ("-.mount") and must not be read as an option.
    return {"systemctl", "--user", "disable", "--", unit};
}

std::vector<std::string> enabledUnitsIn(std::string_view listing)
{
    std::vector<std::string> units;
    std::istringstream lines{std::string(listing)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string unit;
        std::string state;
        if (fields >> unit >> state && state == "enabled")
            units.push_back(unit);
    }
    return units;
}

} // namespace tidvale::linuxdesk

#include "engine/desktop/SettingsLocation.h"

#include "engine/context/Context.h"
#include "engine/fs/FolderGuard.h"
#include "platform/RunningProgram.h"

namespace tidvale {

namespace {

std::string resolvedHome(const Context& context)
{
    return resolvedPath(context.folders.home).value_or(context.folders.home);
}

} // namespace

namespace {

ClaimedFolder userXdgFolder(const Context& context, std::string_view variable, const char* fallback)
{
    const std::string home = resolvedHome(context);
    // As the XDG rules say, a value that is not an absolute path is ignored.
    const std::string value = context.environment.get(variable);
    const bool given = !value.empty() && value.front() == '/';
    std::vector<std::string> personal;
    for (const auto& p : context.folders.personal)
        if (auto resolved = resolvedPath(p); resolved && *resolved != home)
            personal.push_back(*resolved);
    GuardedFolders guarded = linuxGuardedFolders(home, personal, {}, context.folders.systemRoot);
    // The guard keeps ~/.local/state from a cache home set to it; Tidvale only writes its
    // own file there, and that is the folder's purpose.
    const std::string ownDefault = (home == "/" ? "" : home) + fallback;
    std::erase(guarded.keptData, ownDefault);
    return claimFolder(guarded, given ? variable : "", given ? value : ownDefault, true);
}

} // namespace

ClaimedFolder userConfigFolder(const Context& context)
{
    return userXdgFolder(context, "XDG_CONFIG_HOME", "/.config");
}

UserSettings userSettings(const Context& context, bool mac)
{
    UserSettings settings;
    std::string folder;
    if (mac) {
        const std::string home = resolvedHome(context);
        folder = (home == "/" ? "" : home) + "/Library/Application Support/Tidvale";
    } else {
        const ClaimedFolder config = userConfigFolder(context);
        if (!config.accepted()) {
            settings.refusal = config.refusal + ": allí no se leen ni se guardan ajustes.";
            return settings;
        }
        folder = config.path + "/tidvale";
    }
    settings.path = folder + "/tidvale.toml";
    if (mac) {
        settings.historyPath = folder + "/history.jsonl";
    } else if (const ClaimedFolder state
               = userXdgFolder(context, "XDG_STATE_HOME", "/.local/state");
               state.accepted()) {
        settings.historyPath = state.path + "/tidvale/history.jsonl";
    } else {
        settings.historyRefusal = state.refusal + ": allí no se guarda el historial.";
    }
    settings.atStart = readSettings(settings.path);
    const std::string programs = platform::runningProgramFolder();
    if (!programs.empty())
        settings.scheduledProgram = programs + "/tidvale-cli";
    return settings;
}

UserSettings systemUserSettings(const Context& context)
{
#ifdef __APPLE__
    return userSettings(context, true);
#else
    return userSettings(context, false);
#endif
}

} // namespace tidvale

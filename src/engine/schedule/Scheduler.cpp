#include "engine/schedule/Scheduler.h"

#include "engine/context/Context.h"
#include "engine/desktop/SettingsLocation.h"
#include "engine/fs/OwnFiles.h"
#include "engine/schedule/ScheduleUnits.h"
#include "platform/CommandRunner.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tidvale {
namespace {

using platform::CommandResult;

CommandResult run(const Context& context, std::vector<std::string> argv)
{
    return context.backends.commands->run(argv);
}

// The program's own words (English, usually) after ours, for the user to look up.
std::string because(const std::string& program, const CommandResult& result)
{
    std::string text = result.err.empty() ? result.out : result.err;
    if (const size_t nl = text.find('\n'); nl != std::string::npos)
        text.resize(nl);
    if (text.empty())
        text = "terminó con el código " + std::to_string(result.exitCode);
    return " (" + program + ": " + text + ")";
}

bool exists(const std::string& path)
{
    struct stat st { };
    return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

ScheduleOutcome failed(std::string note)
{
    return {false, {std::move(note)}};
}

ScheduleOutcome applySystemd(const Context& context, const Settings& settings)
{
    const std::string folder = scheduleFolder(context, ServiceManager::systemd);
    const std::string timer = kTimerUnit;
    ScheduleOutcome outcome;
    if (settings.schedule == Schedule::off) {
        if (folder.empty()
            || (!exists(folder + "/" + timer) && !exists(folder + "/" + kServiceUnit)))
            return outcome;
        // Disabled while its file is still there: systemctl finds the links to remove
        // through it.
        run(context, {"systemctl", "--user", "stop", timer});
        const CommandResult disabled = run(context, {"systemctl", "--user", "disable", timer});
        for (const char* unit : {kTimerUnit, kServiceUnit})
            if (auto error = removeOwnFile(folder, unit))
                return failed(*error);
        run(context, {"systemctl", "--user", "daemon-reload"});
        if (!disabled.started || disabled.exitCode != 0)
            outcome.notes.push_back("No se pudo desactivar el temporizador"
                + because("systemctl", disabled) + "; sus archivos ya se han borrado.");
        outcome.notes.push_back("Limpieza programada desactivada.");
        return outcome;
    }

    if (folder.empty())
        return failed("No se puede programar la limpieza: la carpeta de configuración no "
                      "es válida.");
    const std::string& program = context.settings.scheduledProgram;
    if (auto refusal = systemdProgramRefusal(program))
        return failed("No se puede programar la limpieza: " + *refusal + ".");
    if (auto error = writeOwnFile(folder, kServiceUnit, serviceUnitText(program)))
        return failed(*error);
    if (auto error = writeOwnFile(folder, timer, timerUnitText(settings)))
        return failed(*error);
    // A manager that answers reads the new units; without one (no session, a login
    // over ssh) the enabling below still links the timer for the next login.
    const CommandResult reload = run(context, {"systemctl", "--user", "daemon-reload"});
    const bool managerRuns = reload.started && reload.exitCode == 0;
    const CommandResult enabled = run(context, {"systemctl", "--user", "enable", timer});
    if (!enabled.started || enabled.exitCode != 0)
        return failed("No se pudo activar el temporizador" + because("systemctl", enabled) + ".");
    outcome.notes.push_back("Limpieza programada: " + scheduleDescription(settings) + ".");
    if (!managerRuns) {
        outcome.notes.push_back("No hay un gestor de servicios de usuario en marcha: la "
                                "limpieza programada empezará a contar en el próximo inicio "
                                "de sesión.");
        return outcome;
    }
    // Restarted, not started: a timer already running takes the new hour now.
    const CommandResult started = run(context, {"systemctl", "--user", "restart", timer});
    if (!started.started || started.exitCode != 0)
        outcome.notes.push_back("El temporizador está activado pero no se pudo poner en marcha"
            + because("systemctl", started) + "; lo hará en el próximo inicio de sesión.");
    return outcome;
}

ScheduleOutcome applyLaunchd(const Context& context, const Settings& settings)
{
    const std::string folder = scheduleFolder(context, ServiceManager::launchd);
    const std::string name = std::string(kLaunchAgentLabel) + ".plist";
    const std::string domain = "gui/" + std::to_string(::getuid());
    ScheduleOutcome outcome;
    if (settings.schedule == Schedule::off) {
        if (!exists(folder + "/" + name))
            return outcome;
        run(context, {"launchctl", "bootout", domain + "/" + kLaunchAgentLabel});
        if (auto error = removeOwnFile(folder, name))
            return failed(*error);
        outcome.notes.push_back("Limpieza programada desactivada.");
        return outcome;
    }
    const std::string& program = context.settings.scheduledProgram;
    if (auto refusal = scheduledProgramRefusal(program))
        return failed("No se puede programar la limpieza: " + *refusal + ".");
    if (auto error = writeOwnFile(folder, name, launchAgentText(settings, program)))
        return failed(*error);
    // An agent already loaded keeps its old hours until it is unloaded; not loaded,
    // bootout fails, which is fine.
    run(context, {"launchctl", "bootout", domain + "/" + kLaunchAgentLabel});
    const CommandResult loaded
        = run(context, {"launchctl", "bootstrap", domain, folder + "/" + name});
    if (!loaded.started || loaded.exitCode != 0) {
        outcome.notes.push_back("El agente está escrito pero launchctl no lo cargó"
            + because("launchctl", loaded) + "; se cargará en el próximo inicio de sesión.");
    }
    outcome.notes.insert(
        outcome.notes.begin(), "Limpieza programada: " + scheduleDescription(settings) + ".");
    return outcome;
}

} // namespace

ServiceManager systemServiceManager()
{
#ifdef __APPLE__
    return ServiceManager::launchd;
#else
    return ServiceManager::systemd;
#endif
}

std::string scheduleFolder(const Context& context, ServiceManager manager)
{
    if (manager == ServiceManager::launchd) {
        const std::string home = resolvedPath(context.folders.home).value_or(context.folders.home);
        return (home == "/" ? "" : home) + "/Library/LaunchAgents";
    }
    const ClaimedFolder config = userConfigFolder(context);
    return config.accepted() ? config.path + "/systemd/user" : std::string();
}

bool scheduleInstalled(const Context& context, ServiceManager manager)
{
    const std::string folder = scheduleFolder(context, manager);
    if (folder.empty())
        return false;
    return exists(folder + "/"
        + (manager == ServiceManager::launchd ? std::string(kLaunchAgentLabel) + ".plist"
                                              : std::string(kTimerUnit)));
}

ScheduleOutcome applySchedule(
    const Context& context, const Settings& settings, ServiceManager manager)
{
    return manager == ServiceManager::launchd ? applyLaunchd(context, settings)
                                              : applySystemd(context, settings);
}

} // namespace tidvale

#include "engine/schedule/SettingsChange.h"

#include "engine/context/Context.h"
#include "engine/schedule/Scheduler.h"

namespace tidvale {

SettingsChange changeSettings(
    const Context& context, const std::function<void(Settings&)>& edit, bool replaceDamaged)
{
    SettingsChange change;
    const UserSettings& user = context.settings;
    if (user.path.empty()) {
        change.notes.push_back(
            user.refusal.empty() ? "No se sabe dónde guardar los ajustes." : user.refusal);
        return change;
    }
    const SettingsRead now = readSettings(user.path);
    if (now.damage && !replaceDamaged) {
        change.notes.push_back(damageText(user.path, *now.damage));
        return change;
    }
    const Settings before = now.values;
    Settings wanted = before;
    edit(wanted);
    const bool historyWithSchedule
        = before.schedule == Schedule::off && wanted.schedule != Schedule::off && !wanted.history;
    wanted.history = wanted.history || historyWithSchedule;

    // What is installed counts too: units left behind by a settings file removed by
    // hand are removed, missing ones are written again.
    const ServiceManager manager = systemServiceManager();
    const bool wantsSchedule = wanted.schedule != Schedule::off;
    const bool reinstall = before.schedule != wanted.schedule
        || (wantsSchedule && before.scheduleAt != wanted.scheduleAt)
        || scheduleInstalled(context, manager) != wantsSchedule;
    if (reinstall) {
        const ScheduleOutcome outcome = applySchedule(context, wanted, manager);
        change.notes.insert(change.notes.end(), outcome.notes.begin(), outcome.notes.end());
        if (!outcome.ok) {
            // Units half changed (written, not enabled) go back to what the file says.
            applySchedule(context, before, manager);
            return change;
        }
    }
    if (auto error = writeSettings(user.path, wanted, replaceDamaged)) {
        change.notes.push_back(*error);
        // The schedule goes back to what the file still says.
        if (reinstall)
            applySchedule(context, before, manager);
        return change;
    }
    if (historyWithSchedule)
        change.notes.push_back("También se guarda el historial de limpiezas (history = true): "
                               "una limpieza sin nadie delante debe dejar rastro. Puedes "
                               "desactivarlo.");
    change.ok = true;
    change.settings = wanted;
    return change;
}

} // namespace tidvale

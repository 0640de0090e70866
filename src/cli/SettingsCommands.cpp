// The settings and the schedule from a terminal. Reading them writes nothing; a file is
// written only when a value is set.
#include "cli/Command.h"
#include "engine/format/DateText.h"
#include "engine/schedule/ScheduleUnits.h"
#include "engine/schedule/Scheduler.h"
#include "engine/schedule/SettingsChange.h"

#include <ostream>

namespace tidvale::cli {
namespace {

nlohmann::json valueJson(const Settings& s, std::string_view key)
{
    if (key == "schedule")
        return scheduleName(s.schedule);
    if (key == "schedule_at")
        return timeOfDayText(s.scheduleAt);
    if (key == "categories")
        return s.categories;
    if (key == "trash_max_age_days")
        return s.trashMaxAgeDays;
    if (key == "keep")
        return s.keep;
    if (key == "keep_sites")
        return s.keepSites;
    return key == "history" ? s.history : s.notify;
}

// What is wrong with the file, on stderr, so that a script reading stdout still gets
// the values in use.
void reportFile(Invocation& inv)
{
    const UserSettings& user = inv.context.settings;
    if (!user.refusal.empty())
        inv.err << "⚠️ " << user.refusal << "\n";
    if (user.atStart.damage)
        inv.err << "⚠️ " << damageText(user.path, *user.atStart.damage) << "\n";
    for (const auto& key : user.atStart.unknownKeys)
        inv.err << "⚠️ Clave desconocida en " << user.path << ": «" << key
                << "»; se conserva y no se usa.\n";
}

int badValue(Invocation& inv, const std::string& reason)
{
    inv.err << "tidvale-cli: " << reason << "\n";
    return 2;
}

int reportChange(Invocation& inv, const SettingsChange& change)
{
    if (inv.json && change.ok) {
        nlohmann::json settings;
        for (std::string_view key : kSettingKeys)
            settings[std::string(key)] = valueJson(change.settings, key);
        printJson(inv.out, {{"settings", settings}, {"notes", change.notes}});
    } else {
        for (const auto& note : change.notes)
            (change.ok ? inv.out : inv.err) << note << "\n";
    }
    if (!change.ok)
        return 1;
    if (!inv.json)
        inv.out << "Guardado en " << inv.context.settings.path << "\n";
    return 0;
}

int settings(Invocation& inv)
{
    reportFile(inv);
    const Settings& current = inv.context.settings.atStart.values;
    std::vector<std::string> args = inv.args;
    if (!args.empty() && args[0] == "--")
        args.erase(args.begin());
    if (args.empty()) {
        if (inv.json) {
            nlohmann::json all;
            for (std::string_view key : kSettingKeys)
                all[std::string(key)] = valueJson(current, key);
            printJson(inv.out, all);
            return 0;
        }
        const UserSettings& user = inv.context.settings;
        if (!user.path.empty())
            inv.out << "# " << user.path
                    << (user.atStart.exists ? "" : " (no existe: valores por omisión)") << "\n";
        for (std::string_view key : kSettingKeys)
            inv.out << key << " = " << settingValueText(current, key) << "\n";
        return 0;
    }

    const std::string key = args[0];
    const std::vector<std::string> values(args.begin() + 1, args.end());
    if (auto refusal = settingKeyRefusal(key))
        return badValue(inv, *refusal);
    if (values.empty()) {
        if (inv.json)
            printJson(inv.out, {{key, valueJson(current, key)}});
        else
            inv.out << key << " = " << settingValueText(current, key) << "\n";
        return 0;
    }
    Settings probe = current;
    if (auto refusal = setSetting(probe, key, values))
        return badValue(inv, *refusal);
    return reportChange(
        inv, changeSettings(inv.context, [&](Settings& s) { setSetting(s, key, values); }));
}

int schedule(Invocation& inv)
{
    std::string at;
    const bool hasAt = takeOption(inv.args, "--at", at);
    rejectUnknownOptions(inv.args);
    if (inv.args.size() > 1)
        throw UsageError("schedule toma una sola frecuencia: off, daily, weekly o monthly");
    std::optional<TimeOfDay> time;
    if (hasAt && !(time = parseTimeOfDay(at)))
        return badValue(inv, "--at es una hora HH:MM, de 00:00 a 23:59, no «" + at + "»");
    std::optional<Schedule> frequency;
    if (!inv.args.empty() && !(frequency = scheduleNamed(inv.args[0])))
        return badValue(
            inv, "«" + inv.args[0] + "» no es una frecuencia: usa off, daily, weekly o monthly");

    if (frequency || time) {
        return reportChange(inv, changeSettings(inv.context, [&](Settings& s) {
            s.schedule = frequency.value_or(s.schedule);
            s.scheduleAt = time.value_or(s.scheduleAt);
        }));
    }

    reportFile(inv);
    const Settings& current = inv.context.settings.atStart.values;
    const std::time_t next = nextRun(current, inv.context.clock());
    const bool installed = scheduleInstalled(inv.context, systemServiceManager());
    if (inv.json) {
        printJson(inv.out,
            {{"schedule", scheduleName(current.schedule)},
                {"at", timeOfDayText(current.scheduleAt)},
                {"next", next ? nlohmann::json(formatIsoDate(next)) : nlohmann::json()},
                {"installed", installed}});
        return 0;
    }
    inv.out << "Limpieza programada: " << scheduleDescription(current) << "\n";
    if (current.schedule == Schedule::off) {
        inv.out << "Para activarla: tidvale-cli schedule daily|weekly|monthly [--at HH:MM], o "
                   "Preferencias… en la ventana de Tidvale.\n";
        return 0;
    }
    inv.out << "Próxima: " << runTimeText(next) << "\n";
    if (!installed)
        inv.err
            << "⚠️ El temporizador no está instalado: vuelve a activarla con «tidvale-cli "
               "schedule "
            << scheduleName(current.schedule) << "».\n";
    return 0;
}

const Registration kSettings{{"settings", "[CLAVE [VALOR...]]",
    "muestra los ajustes, uno, o cambia uno (una lista toma varios valores; [] la vacía)",
    settings}};
const Registration kSchedule{{"schedule", "[off|daily|weekly|monthly] [--at HH:MM]",
    "la limpieza programada: sin argumentos dice cuál es y cuándo toca", schedule}};

} // namespace
} // namespace tidvale::cli

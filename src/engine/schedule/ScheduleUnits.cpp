#include "engine/schedule/ScheduleUnits.h"

#include <unistd.h>

#include <array>

namespace tidvale {
namespace {

// Monday for a weekly clean, the 1st for a monthly one: fixed, so a user can tell
// when it runs without a setting of its own.
constexpr int kWeekday = 1; // tm_wday and launchd's Weekday agree: 0 is Sunday

const char* const kUnitComment = "# Escrito por Tidvale al activar la limpieza programada "
                                 "(Preferencias o «tidvale-cli schedule»);\n"
                                 "# se borra al desactivarla.\n";

// systemd reads the executable of ExecStart as a quoted word with specifiers: "%" is
// doubled. "$" is expanded in the arguments only, never in the executable's path, and
// quotes and backslashes are refused there (see systemdProgramRefusal).
std::string execQuoted(const std::string& path)
{
    std::string out = "\"";
    for (char c : path) {
        out += c;
        if (c == '%')
            out += '%';
    }
    return out + "\"";
}

std::string xmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string twoDigits(int n)
{
    return {char('0' + n / 10 % 10), char('0' + n % 10)};
}

constexpr std::array<const char*, 7> kDays{
    "domingo", "lunes", "martes", "miércoles", "jueves", "viernes", "sábado"};
constexpr std::array<const char*, 12> kMonths{"enero", "febrero", "marzo", "abril", "mayo", "junio",
    "julio", "agosto", "septiembre", "octubre", "noviembre", "diciembre"};

} // namespace

std::string onCalendar(const Settings& settings)
{
    const std::string at = timeOfDayText(settings.scheduleAt) + ":00";
    switch (settings.schedule) {
    case Schedule::weekly:
        return "Mon *-*-* " + at;
    case Schedule::monthly:
        return "*-*-01 " + at;
    case Schedule::daily:
    case Schedule::off:
        break;
    }
    return "*-*-* " + at;
}

std::string timerUnitText(const Settings& settings)
{
    return std::string(kUnitComment) + "[Unit]\nDescription=Limpieza programada de Tidvale ("
        + scheduleDescription(settings) + ")\n\n[Timer]\nOnCalendar="
        + onCalendar(settings)
        // A run missed while the machine was off happens at its next start.
        + "\nPersistent=true\n\n[Install]\nWantedBy=timers.target\n";
}

std::string serviceUnitText(const std::string& program)
{
    return std::string(kUnitComment)
        + "[Unit]\nDescription=Limpieza programada de Tidvale\n\n[Service]\nType=oneshot\n"
          "ExecStart="
        + execQuoted(program)
        + " clean --yes --scheduled\n"
          // A clean nobody waits for must not slow down what the user is doing.
          "Nice=19\nIOSchedulingClass=idle\n";
}

std::string launchAgentText(const Settings& settings, const std::string& program)
{
    std::string interval;
    if (settings.schedule == Schedule::weekly)
        interval
            += "\t\t<key>Weekday</key>\n\t\t<integer>" + std::to_string(kWeekday) + "</integer>\n";
    if (settings.schedule == Schedule::monthly)
        interval += "\t\t<key>Day</key>\n\t\t<integer>1</integer>\n";
    interval += "\t\t<key>Hour</key>\n\t\t<integer>" + std::to_string(settings.scheduleAt.hour)
        + "</integer>\n\t\t<key>Minute</key>\n\t\t<integer>"
        + std::to_string(settings.scheduleAt.minute) + "</integer>\n";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n<dict>\n\t<key>Label</key>\n\t<string>"
        + std::string(kLaunchAgentLabel)
        + "</string>\n\t<key>ProgramArguments</key>\n\t<array>\n\t\t<string>" + xmlEscaped(program)
        + "</string>\n\t\t<string>clean</string>\n\t\t<string>--yes</string>\n"
          "\t\t<string>--scheduled</string>\n\t</array>\n"
          "\t<key>StartCalendarInterval</key>\n\t<dict>\n"
        + interval
        + "\t</dict>\n\t<key>ProcessType</key>\n\t<string>Background</string>\n"
          "\t<key>LowPriorityIO</key>\n\t<true/>\n</dict>\n</plist>\n";
}

std::optional<std::string> scheduledProgramRefusal(const std::string& program)
{
    if (program.empty() || program.front() != '/')
        return "no se sabe dónde está tidvale-cli";
    for (unsigned char c : program)
        if (c < 0x20 || c == 0x7f)
            return "la ruta de tidvale-cli tiene caracteres de control: “" + program + "”";
    if (::access(program.c_str(), X_OK) != 0)
        return "no se encuentra tidvale-cli junto a este programa (“" + program + "”)";
    return std::nullopt;
}

std::optional<std::string> systemdProgramRefusal(const std::string& program)
{
    if (program.find_first_of("\"'\\") != std::string::npos)
        return "systemd no admite comillas ni barras invertidas en la ruta de un programa, y "
               "la de tidvale-cli las tiene: “"
            + program + "”";
    return scheduledProgramRefusal(program);
}

std::time_t nextRun(const Settings& settings, std::time_t now)
{
    if (settings.schedule == Schedule::off)
        return 0;
    std::tm today{};
    localtime_r(&now, &today);
    // Each candidate is built from its calendar fields and normalised by mktime, so
    // month ends and daylight-saving changes come out as the calendar has them.
    const auto at = [&](int monthOffset, int day) {
        std::tm t{};
        t.tm_year = today.tm_year;
        t.tm_mon = today.tm_mon + monthOffset;
        t.tm_mday = day;
        t.tm_hour = settings.scheduleAt.hour;
        t.tm_min = settings.scheduleAt.minute;
        t.tm_isdst = -1;
        return std::mktime(&t);
    };
    switch (settings.schedule) {
    case Schedule::monthly:
        return at(0, 1) > now ? at(0, 1) : at(1, 1);
    case Schedule::weekly: {
        const int ahead = (kWeekday - today.tm_wday + 7) % 7;
        const std::time_t t = at(0, today.tm_mday + ahead);
        return t > now ? t : at(0, today.tm_mday + ahead + 7);
    }
    case Schedule::daily:
    case Schedule::off:
        break;
    }
    const std::time_t t = at(0, today.tm_mday);
    return t > now ? t : at(0, today.tm_mday + 1);
}

std::string scheduleDescription(const Settings& settings)
{
    const std::string at = " a las " + timeOfDayText(settings.scheduleAt);
    switch (settings.schedule) {
    case Schedule::off:
        return "desactivada";
    case Schedule::daily:
        return "cada día" + at;
    case Schedule::weekly:
        return std::string("cada ") + kDays[kWeekday] + at;
    case Schedule::monthly:
        return "el día 1 de cada mes" + at;
    }
    return {};
}

std::string runTimeText(std::time_t when)
{
    std::tm t{};
    localtime_r(&when, &t);
    return std::string(kDays[static_cast<size_t>(t.tm_wday)]) + ", " + std::to_string(t.tm_mday)
        + " de " + kMonths[static_cast<size_t>(t.tm_mon)] + " de "
        + std::to_string(t.tm_year + 1900) + ", a las " + twoDigits(t.tm_hour) + ":"
        + twoDigits(t.tm_min);
}

} // namespace tidvale

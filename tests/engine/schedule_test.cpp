// The scheduled clean: the units as systemd reads them, the LaunchAgent as a property
// list reader reads it, the next run as systemd computes it, and the service
// manager's commands.
#include "engine/schedule/ScheduleUnits.h"
#include "engine/schedule/Scheduler.h"
#include "engine/schedule/SettingsChange.h"
#include "engine/settings/SettingsFile.h"
#include "platform/CommandRunner.h"
#include "platform/PropertyList.h"

#include "support/TestContext.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>

using namespace tidvale;
using platform::runCommand;

namespace {

Settings scheduled(Schedule schedule, TimeOfDay at = {3, 30})
{
    Settings s;
    s.schedule = schedule;
    s.scheduleAt = at;
    return s;
}

bool onPath(const char* program)
{
    return platform::programOnPath(program, "/usr/bin:/bin");
}

// A program with every character a unit file must quote that systemd accepts there.
std::string awkwardProgram(const TestTree& t)
{
    return t.script("Mis programas/100% año $HOME/tidvale-cli", "#!/bin/sh\n");
}

// Local time in a zone with daylight saving, for as long as the test runs.
struct Madrid {
    std::string before = std::getenv("TZ") ? std::getenv("TZ") : "";
    Madrid()
    {
        ::setenv("TZ", "Europe/Madrid", 1);
        ::tzset();
    }
    ~Madrid()
    {
        before.empty() ? ::unsetenv("TZ") : ::setenv("TZ", before.c_str(), 1);
        ::tzset();
    }
};

std::string utcText(std::time_t when)
{
    char text[64];
    std::tm t{};
    gmtime_r(&when, &t);
    std::strftime(text, sizeof text, "%a %Y-%m-%d %H:%M:%S UTC", &t);
    return text;
}

struct Installed : ::testing::Test {
    TestContext t{linuxPlaces()};
    std::vector<std::vector<std::string>> calls()
    {
        auto c = t.commands->calls;
        t.commands->calls.clear();
        return c;
    }
    void SetUp() override
    {
        t.context.settings.path = t.home() + "/.config/tidvale/tidvale.toml";
        t.context.settings.scheduledProgram = t.tree.script("bin/tidvale-cli", "#!/bin/sh\n");
    }
    std::string units() const { return "home/.config/systemd/user/"; }
};

using Argv = std::vector<std::string>;

} // namespace

TEST(ScheduleUnits, SystemdAcceptsTheUnits)
{
    if (!onPath("systemd-analyze"))
        GTEST_SKIP() << "systemd-analyze is not installed (Debian's systemd package)";
    TestTree t;
    const std::string program = awkwardProgram(t);
    ::chmod(t.dir("runtime").c_str(), 0700);
    for (Schedule s : {Schedule::daily, Schedule::weekly, Schedule::monthly}) {
        SCOPED_TRACE(std::string(scheduleName(s)));
        const std::string timer = t.text("units/tidvale-clean.timer", timerUnitText(scheduled(s)));
        const std::string service = t.text("units/tidvale-clean.service", serviceUnitText(program));
        // verify also checks that ExecStart names an executable: the quoting is right
        // only if it finds the program with its spaces, "%" and "$".
        const auto run = runCommand({"env", "XDG_RUNTIME_DIR=" + t.path("runtime"),
            "systemd-analyze", "--user", "verify", timer, service});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out + run.err, "");
    }
}

TEST(ScheduleUnits, NextRunIsWhenSystemdRunsTheTimer)
{
    if (!onPath("systemd-analyze"))
        GTEST_SKIP() << "systemd-analyze is not installed (Debian's systemd package)";
    Madrid zone;
    // The night before the clocks go forward, a month's last second, a run's very
    // minute, the night the clocks go back, a leap year's February.
    for (std::time_t now : {1743285600L, 1738367999L, 1736130600L, 1761435000L, 1709121600L})
        for (Schedule s : {Schedule::daily, Schedule::weekly, Schedule::monthly})
            for (TimeOfDay at : {TimeOfDay{3, 30}, TimeOfDay{0, 0}, TimeOfDay{23, 59}}) {
                const Settings settings = scheduled(s, at);
                SCOPED_TRACE(std::to_string(now) + " " + onCalendar(settings));
                const auto run = runCommand({"env", "TZ=Europe/Madrid", "systemd-analyze",
                    "calendar", "--base-time=@" + std::to_string(now), "--iterations=1",
                    onCalendar(settings)});
                const size_t utc = run.out.find("(in UTC): ");
                ASSERT_NE(utc, std::string::npos) << run.out << run.err;
                const std::string expected
                    = run.out.substr(utc + 10, run.out.find('\n', utc) - utc - 10);
                EXPECT_EQ(utcText(nextRun(settings, now)), expected);
            }
    EXPECT_EQ(nextRun(Settings(), 1743285600L), 0);
}

// With a user manager: reloaded, enabled, started. Without one (exit 1 on the bus):
// enabled on the files alone. Off: stopped, disabled, both units gone; and nothing is
// run when nothing was installed.
TEST_F(Installed, SystemdUnitsAreEnabledOnTheFilesAndRemovedWhenOff)
{
    const Settings weekly = scheduled(Schedule::weekly);
    ScheduleOutcome on = applySchedule(t.context, weekly, ServiceManager::systemd);
    ASSERT_TRUE(on.ok);
    EXPECT_EQ(on.notes, std::vector<std::string>{"Limpieza programada: cada lunes a las 03:30."});
    EXPECT_EQ(calls(),
        (std::vector<Argv>{{"systemctl", "--user", "daemon-reload"},
            {"systemctl", "--user", "enable", "tidvale-clean.timer"},
            {"systemctl", "--user", "restart", "tidvale-clean.timer"}}));
    EXPECT_EQ(t.tree.read(units() + "tidvale-clean.timer"), timerUnitText(weekly));
    EXPECT_NE(
        t.tree.read(units() + "tidvale-clean.service").find(t.context.settings.scheduledProgram),
        std::string::npos);

    t.commands->answer = [](const Argv& argv) {
        return platform::CommandResult{true, argv[2] == "daemon-reload" ? 1 : 0, "", "No medium"};
    };
    on = applySchedule(t.context, scheduled(Schedule::daily), ServiceManager::systemd);
    ASSERT_TRUE(on.ok);
    ASSERT_EQ(on.notes.size(), 2u);
    EXPECT_NE(on.notes[1].find("próximo inicio de sesión"), std::string::npos);
    EXPECT_EQ(calls().size(), 2u);
    EXPECT_TRUE(scheduleInstalled(t.context, ServiceManager::systemd));

    ASSERT_TRUE(applySchedule(t.context, Settings(), ServiceManager::systemd).ok);
    EXPECT_EQ(calls(),
        (std::vector<Argv>{{"systemctl", "--user", "stop", "tidvale-clean.timer"},
            {"systemctl", "--user", "disable", "tidvale-clean.timer"},
            {"systemctl", "--user", "daemon-reload"}}));
    EXPECT_FALSE(t.tree.exists(units() + "tidvale-clean.timer"));
    EXPECT_FALSE(t.tree.exists(units() + "tidvale-clean.service"));
    ASSERT_TRUE(applySchedule(t.context, Settings(), ServiceManager::systemd).ok);
    EXPECT_TRUE(calls().empty());

    // No program systemd could run: nothing written, nothing run.
    for (const std::string& program :
        {t.tree.path("bin/missing"), t.tree.script("bin/it's/tidvale-cli", "#!/bin/sh\n")}) {
        t.context.settings.scheduledProgram = program;
        EXPECT_FALSE(applySchedule(t.context, weekly, ServiceManager::systemd).ok);
        EXPECT_FALSE(t.tree.exists(units() + "tidvale-clean.service"));
        EXPECT_TRUE(calls().empty());
    }
}

TEST_F(Installed, TheLaunchAgentIsBootstrappedAndBootedOut)
{
    const std::string agent = t.home() + "/Library/LaunchAgents/org.tidvale.clean.plist";
    const std::string domain = "gui/" + std::to_string(::getuid());
    ASSERT_TRUE(applySchedule(t.context, scheduled(Schedule::monthly), ServiceManager::launchd).ok);
    EXPECT_EQ(calls(),
        (std::vector<Argv>{{"launchctl", "bootout", domain + "/org.tidvale.clean"},
            {"launchctl", "bootstrap", domain, agent}}));
    EXPECT_EQ(readFile(agent),
        launchAgentText(scheduled(Schedule::monthly), t.context.settings.scheduledProgram));
    ASSERT_TRUE(applySchedule(t.context, Settings(), ServiceManager::launchd).ok);
    EXPECT_EQ(
        calls(), (std::vector<Argv>{{"launchctl", "bootout", domain + "/org.tidvale.clean"}}));
    EXPECT_FALSE(t.tree.exists("home/Library/LaunchAgents/org.tidvale.clean.plist"));
}

// The file and the units change together or not at all; the history comes on with the
// schedule, once.
TEST_F(Installed, ASettingsChangeInstallsTheScheduleWithTheHistory)
{
    const auto change
        = [&](std::function<void(Settings&)> edit) { return changeSettings(t.context, edit); };
    SettingsChange c = change([](Settings& s) { s.schedule = Schedule::weekly; });
    ASSERT_TRUE(c.ok);
    EXPECT_TRUE(c.settings.history);
    EXPECT_TRUE(readSettings(t.context.settings.path).values.history);
    ASSERT_TRUE(change([](Settings& s) { s.history = false; }).ok);
    EXPECT_EQ(calls().size(), 3u); // the first change's alone
    c = change([](Settings& s) { s.scheduleAt = {5, 0}; });
    ASSERT_TRUE(c.ok);
    EXPECT_FALSE(c.settings.history);
    EXPECT_NE(
        t.tree.read(units() + "tidvale-clean.timer").find("Mon *-*-* 05:00:00"), std::string::npos);

    const std::string before = t.tree.read("home/.config/tidvale/tidvale.toml");
    t.commands->answer = [](const Argv& argv) {
        return platform::CommandResult{true, argv[2] == "enable" ? 1 : 0, "", "Access denied"};
    };
    c = change([](Settings& s) { s.schedule = Schedule::daily; });
    EXPECT_FALSE(c.ok);
    EXPECT_NE(c.notes.back().find("systemctl: Access denied"), std::string::npos);
    EXPECT_EQ(t.tree.read("home/.config/tidvale/tidvale.toml"), before);
    EXPECT_NE(
        t.tree.read(units() + "tidvale-clean.timer").find("Mon *-*-* 05:00:00"), std::string::npos);

    // Units a removed settings file left behind go with the next change.
    t.commands->answer = nullptr;
    ::unlink(t.context.settings.path.c_str());
    ASSERT_TRUE(change([](Settings& s) { s.notify = false; }).ok);
    EXPECT_FALSE(t.tree.exists(units() + "tidvale-clean.timer"));
}

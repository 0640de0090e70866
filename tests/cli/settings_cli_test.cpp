// tidvale-cli settings, schedule and clean --scheduled on a temporary home with its
// XDG folders inside it, with a stand-in systemctl on PATH and a stand-in notification
// service on a private bus; and that no command writes a file unless a value is set.
#include "support/FakeNotifications.h"
#include "support/RunCli.h"
#include "support/TestTree.h"
#include "support/TreeListing.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cctype>
#include <set>
#include <sstream>

namespace {

struct SettingsCli : ::testing::Test {
    TestTree t;
    std::string home = t.dir("home");
    std::string sys = t.dir("sys");
    // systemctl as it answers with no user manager: enabling works on the files, a
    // reload finds no bus.
    std::string systemctl = t.script("bin/systemctl",
        "#!/bin/sh\necho \"$*\" >> " + shellQuote(t.path("systemctl.log"))
            + "\n[ \"$2\" = daemon-reload ] && exit 1\nexit 0\n");
    std::string env = "HOME=" + shellQuote(home) + " XDG_CONFIG_HOME="
        + shellQuote(home + "/.config") + " XDG_CACHE_HOME=" + shellQuote(home + "/.cache")
        + " XDG_DATA_HOME=" + shellQuote(home + "/.local/share")
        + " XDG_STATE_HOME=" + shellQuote(home + "/.local/state")
        + " TIDVALE_PROFILE= DBUS_SESSION_BUS_ADDRESS= XDG_RUNTIME_DIR= PATH="
        + shellQuote(t.path("bin")) + ":\"$PATH\"";

    CliRun cli(const std::string& args, const std::string& more = "")
    {
        return runCli("--profile linux --system-root " + shellQuote(sys) + " " + args,
            env + " " + more, true);
    }
    std::string settingsFile() const { return t.read("home/.config/tidvale/tidvale.toml"); }
    std::string unit(const std::string& name) const
    {
        return t.read("home/.config/systemd/user/" + name);
    }
};

} // namespace

TEST_F(SettingsCli, SettingsPrintsWithoutWritingAndSetsOnlyValidValues)
{
    const CliRun all = cli("settings");
    ASSERT_EQ(all.status, 0);
    EXPECT_NE(all.out.find("schedule = \"off\"\n"), std::string::npos);
    EXPECT_NE(all.out.find("(no existe: valores por omisión)"), std::string::npos);
    EXPECT_EQ(nlohmann::json::parse(runCli("--json settings", env).out)["notify"], true);
    EXPECT_FALSE(t.exists("home/.config"));

    ASSERT_EQ(cli("settings keep /srv/a '/srv/b c'").status, 0);
    EXPECT_EQ(nlohmann::json::parse(runCli("--json settings keep", env).out)["keep"],
        nlohmann::json({"/srv/a", "/srv/b c"}));
    EXPECT_EQ(cli("settings notify").out, "notify = true\n"); // a key alone is read, not set
    const std::string saved = settingsFile();
    for (const char* bad : {"idioma es", "schedule hourly", "keep relativo"}) {
        const CliRun run = cli(std::string("settings ") + bad);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_EQ(run.out.rfind("tidvale-cli: ", 0), 0u) << run.out;
    }
    EXPECT_EQ(settingsFile(), saved);

    t.text("home/.config/tidvale/tidvale.toml", "notify = false\nschedule = \n");
    const CliRun refused = cli("settings notify true");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("tidvale.toml, línea 2"), std::string::npos);
    EXPECT_EQ(settingsFile(), "notify = false\nschedule = \n");
    EXPECT_NE(cli("settings").out.find("notify = true"), std::string::npos); // the defaults
}

TEST_F(SettingsCli, ScheduleInstallsTheUnitsTellsTheNextRunAndRemovesThem)
{
    const CliRun on = cli("schedule weekly --at 04:15");
    ASSERT_EQ(on.status, 0) << on.out;
    EXPECT_NE(on.out.find("próximo inicio de sesión"), std::string::npos);
    EXPECT_NE(unit("tidvale-clean.service").find(TIDVALE_CLI), std::string::npos);
    EXPECT_EQ(t.read("systemctl.log"), "--user daemon-reload\n--user enable tidvale-clean.timer\n");

    const CliRun shown = cli("schedule");
    EXPECT_NE(shown.out.find("Limpieza programada: cada lunes a las 04:15\nPróxima: lunes, "),
        std::string::npos);
    EXPECT_EQ(nlohmann::json::parse(runCli("--json schedule", env).out)["installed"], true);
    EXPECT_EQ(cli("schedule hourly").status, 2);
    EXPECT_EQ(cli("schedule --at 7").status, 2);

    ASSERT_EQ(cli("settings schedule off").status, 0);
    EXPECT_FALSE(t.exists("home/.config/systemd/user/tidvale-clean.service"));
    EXPECT_NE(
        t.read("systemctl.log").find("--user disable tidvale-clean.timer\n"), std::string::npos);
}

// As the service runs it: the clean, then one notification of what it freed; none when
// `notify` is off or nothing was removed for real.
TEST_F(SettingsCli, AScheduledCleanEndsWithANotification)
{
    PrivateBus bus{t.dir("bus")};
    if (bus.address().empty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    FakeNotifications service(bus.address());
    ASSERT_TRUE(service.owned());
    const std::string onBus = "DBUS_SESSION_BUS_ADDRESS=" + shellQuote(bus.address());
    t.file("home/.cache/thumbnails/big", 600'000);

    ASSERT_EQ(cli("clean --scheduled", onBus).status, 0);
    EXPECT_TRUE(service.shown().empty());
    ASSERT_EQ(cli("clean --yes --scheduled", onBus).status, 0);
    EXPECT_FALSE(t.exists("home/.cache/thumbnails"));
    ASSERT_EQ(service.shown().size(), 1u);
    EXPECT_EQ(service.shown()[0].title, "Limpieza programada terminada");
    EXPECT_EQ(service.shown()[0].body, "Se liberaron 600 KB.");

    ASSERT_EQ(cli("settings notify false").status, 0);
    t.file("home/.cache/thumbnails/big", 600'000);
    ASSERT_EQ(cli("clean --yes --scheduled", onBus).status, 0);
    EXPECT_FALSE(t.exists("home/.cache/thumbnails"));
    EXPECT_EQ(service.shown().size(), 1u);
}

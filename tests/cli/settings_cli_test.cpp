// tidvale-cli settings, schedule and clean --scheduled on a temporary home with its
// XDG folders inside it, with a stand-in systemctl on PATH and a stand-in notification
// service on a private bus; and that no command writes a file unless a value is set.
#include "support/FakeNotifications.h"
#include "support/RunCli.h"
#include "support/RunningProgram.h"
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

// With nothing turned on, every command (the reports, the dry-run clean, the history
// and the undo) leaves the home exactly as it was: no settings, no history, no units.
TEST_F(SettingsCli, NothingTurnedOnNoCommandWritesAFile)
{
    t.file("home/.cache/thumbnails/big", 600'000);
    t.file("home/Documents/doc", 10);
    const std::string before = treeListing(home);
    for (const char* command : {"scan", "browsers --history", "disk", "memory", "large", "dupes",
             "downloads", "apps", "launch-items", "xcode", "settings", "settings history",
             "schedule", "history", "undo", "clean", "xcode --clean", "size ."})
        cli(command);
    EXPECT_EQ(treeListing(home), before);
}

#ifdef __linux__
// As the service runs it, with the settings a user chose: the chosen categories only,
// the Trash by each entry's age, the keep-list, a running browser's data left alone;
// then one record in the history, which the undo reads.
TEST_F(SettingsCli, AScheduledCleanFollowsTheSettingsAndLeavesOneRecord)
{
    for (const char* set : {"settings history true", "settings trash_max_age_days 30",
             "settings categories 'Caché de Usuario' Papelera Chromium"})
        ASSERT_EQ(cli(set).status, 0) << set;
    ASSERT_EQ(cli("settings keep " + shellQuote(home + "/.cache/kept")).status, 0);
    t.file("home/.cache/thumbnails/big", 600'000);
    t.file("home/.cache/kept/big", 600'000);
    t.file("home/.cache/chromium/Default/Cache/Cache_Data/data_0", 600'000);
    for (const auto& [name, date] :
        {std::pair{"old", "2020-01-01T00:00:00"}, {"new", "2999-01-01T00:00:00"}}) {
        t.file(std::string("home/.local/share/Trash/files/") + name, 5);
        t.text(std::string("home/.local/share/Trash/info/") + name + ".trashinfo",
            std::string("[Trash Info]\nPath=/x/") + name + "\nDeletionDate=" + date + "\n");
    }
    const std::string logs = t.file("home/.xsession-errors.old", 700'000);
    const RunningProgram chromium(t, "bin/chromium");
    ASSERT_TRUE(eventually(
        [&] { return cli("clean --scheduled").out.find("Cierra Chromium") != std::string::npos; }));

    EXPECT_EQ(cli("clean --yes --scheduled").status, 0);
    EXPECT_FALSE(t.exists("home/.cache/thumbnails"));
    EXPECT_TRUE(t.exists("home/.cache/kept/big"));
    EXPECT_TRUE(t.exists("home/.cache/chromium/Default/Cache/Cache_Data/data_0"));
    EXPECT_FALSE(t.exists("home/.local/share/Trash/files/old"));
    EXPECT_TRUE(t.exists("home/.local/share/Trash/files/new"));
    EXPECT_TRUE(std::filesystem::exists(logs));
    // The finders leave kept files out as well.
    const std::string large = cli("large --min 500000 " + shellQuote(home + "/.cache")).out;
    EXPECT_EQ(large.find("kept"), std::string::npos) << large;
    EXPECT_NE(large.find("data_0"), std::string::npos) << large;

    const auto runs = nlohmann::json::parse(runCli("--json history", env).out);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0]["source"], "Limpieza programada");
    const auto items = nlohmann::json::parse(
        runCli("--json history " + runs[0]["id"].get<std::string>(), env).out)["items"];
    std::set<std::string> outcomes;
    for (const auto& item : items)
        outcomes.insert(item["path"].get<std::string>() + " " + item["outcome"].get<std::string>());
    EXPECT_TRUE(outcomes.count(home + "/.cache/thumbnails deleted"));
    EXPECT_TRUE(outcomes.count(home + "/.cache/chromium left"));
    EXPECT_NE(cli("undo").out.find("Se eliminó definitivamente"), std::string::npos);
}

// The undo against trash-cli on the same Trash: an item it puts back comes back as
// trash-restore brings back its twin (content, mode, time), and trash-list no longer
// shows either.
TEST_F(SettingsCli, UndoPutsBackWhatTrashRestoreWould)
{
    if (std::system("command -v trash-put trash-restore trash-list >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "trash-cli is not installed";
    ASSERT_EQ(cli("settings history true").status, 0);
    for (const char* name : {"ours", "theirs"}) {
        const std::string file = t.text(std::string("home/docs/") + name, "contenido\n");
        ::chmod(file.c_str(), 0604);
        std::system(("touch -d '2021-05-06 07:08:09' " + shellQuote(file) + " && " + env
            + " trash-put " + shellQuote(file))
                        .c_str());
    }
    ASSERT_TRUE(t.exists("home/.local/share/Trash/files/ours"));
    // The record a removal from a screen leaves.
    t.text("home/.local/state/tidvale/history.jsonl",
        "{\"id\":\"r1\",\"epoch\":1,\"source\":\"Archivos Grandes\",\"freed\":10,\"items\":["
        "{\"path\":\""
            + home + "/docs/ours\",\"size\":10,\"outcome\":\"trashed\",\"trash\":\"" + home
            + "/.local/share/Trash/files/ours\"}]}\n");
    EXPECT_EQ(cli("undo r1").status, 0);
    std::system(
        (env + " sh -c 'echo 0 | trash-restore " + shellQuote(home + "/docs") + " >/dev/null 2>&1'")
            .c_str());

    struct stat ours {
    }, theirs{};
    ASSERT_EQ(::stat(t.path("home/docs/ours").c_str(), &ours), 0);
    ASSERT_EQ(::stat(t.path("home/docs/theirs").c_str(), &theirs), 0);
    EXPECT_EQ(t.read("home/docs/ours"), t.read("home/docs/theirs"));
    EXPECT_EQ(ours.st_mode, theirs.st_mode);
    EXPECT_EQ(ours.st_mtime, theirs.st_mtime);
    EXPECT_EQ(runCli("", env + " trash-list; :").out, "");
}
#endif

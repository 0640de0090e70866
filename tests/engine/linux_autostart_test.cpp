// Startup items on a Linux desktop: XDG autostart entries and the user's systemd
// units, listed and disabled on temporary folders, and checked against dex and
// systemctl where they are installed.
#include "engine/startup/LaunchItemTexts.h"

#include "support/Contains.h"
#include "support/RunTool.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <sstream>

using namespace tidvale;

namespace {

std::string entry(const std::string& name, const std::string& extra = "")
{
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=true\n" + extra;
}

struct LinuxStartup : ::testing::Test, TestContext {
    const std::string user = "home/.config/autostart/";
    const std::string system = "sys/etc/xdg/autostart/";
    const std::string units = "home/.config/systemd/user/";

    LinuxStartup()
        : TestContext(linuxPlaces())
    {
        setEnv("XDG_CONFIG_DIRS", "/etc/xdg:relative/ignored:/opt/xdg");
        setEnv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    }

    std::vector<LaunchItem> list() const { return context.places.launchItems->list(context); }

    LaunchItem item(const std::string& rel) const
    {
        for (const auto& i : list())
            if (i.path == tree.path(rel))
                return i;
        ADD_FAILURE() << rel << " is not listed";
        return {};
    }
    bool disable(const std::string& rel) const
    {
        return context.places.launchItems->disable(context, item(rel)).isGone();
    }

    // Entries each autostart rule decides on: a user's own, a user's file in place of
    // the machine's, and machine entries for some desktops, off, or unable to start.
    void entries() const
    {
        tree.text(user + "mine.desktop", entry("Mine", "Name[es]=Mía\n"));
        tree.text(user + "override.desktop", entry("Override"));
        tree.text(system + "override.desktop", entry("Override system"));
        tree.text(user + "hidden.desktop", entry("Hidden", "Hidden=true\n"));
        tree.text(system + "hidden.desktop", entry("Hidden system"));
        tree.link(user + "masked.desktop", "/dev/null"); // masks, starts nothing
        tree.text(system + "masked.desktop", entry("Masked"));
        tree.text(system + "panel.desktop", entry("Panel"));
        tree.text(system + "kde.desktop", entry("KDE", "OnlyShowIn=KDE;XFCE;\n"));
        tree.text(system + "notgnome.desktop", entry("Not GNOME", "NotShowIn=GNOME;\n"));
        tree.text(system + "try.desktop", entry("Try", "TryExec=/nonexistent/program\n"));
        tree.text(system + "noexec.desktop", "[Desktop Entry]\nType=Application\nName=N\n");
        tree.text("sys/opt/xdg/autostart/panel.desktop", entry("Lower")); // the first folder wins
        tree.text("sys/opt/xdg/autostart/extra.desktop", entry("Extra"));
    }
};

} // namespace

TEST_F(LinuxStartup, MergesEntriesByNameAndTellsWhichStart)
{
    entries();
    tree.text(system + "gnome.desktop", entry("GNOME only", "OnlyShowIn=GNOME;\n"));
    tree.text(system + "off.desktop", entry("Off", "X-GNOME-Autostart-enabled=false\n"));
    tree.link(user + "gone.desktop", "missing.desktop"); // broken: ignored, masks nothing
    tree.text(system + "gone.desktop", entry("Gone"));
    ASSERT_EQ(::mkfifo(tree.path(user + "pipe.desktop").c_str(), 0600), 0);
    tree.text("sys/relative/ignored/autostart/rel.desktop", entry("Relative"));

    std::vector<std::string> rows;
    for (const auto& i : list())
        rows.push_back(i.bundleID + "|" + i.source + "|" + (i.isEnabled ? "on" : "off") + "|"
            + i.path.substr(tree.root().size() + 1));
    EXPECT_EQ(rows,
        (std::vector<std::string>{
            "Hidden|Inicio (Usuario)|off|home/.config/autostart/hidden.desktop",
            "masked|Inicio (Usuario)|off|home/.config/autostart/masked.desktop",
            "Mía|Inicio (Usuario)|on|home/.config/autostart/mine.desktop",
            "Override|Inicio (Usuario)|on|home/.config/autostart/override.desktop",
            "GNOME only|Inicio (Sistema)|on|sys/etc/xdg/autostart/gnome.desktop",
            "Gone|Inicio (Sistema)|on|sys/etc/xdg/autostart/gone.desktop",
            "KDE|Inicio (Sistema)|off|sys/etc/xdg/autostart/kde.desktop",
            "N|Inicio (Sistema)|off|sys/etc/xdg/autostart/noexec.desktop",
            "Not GNOME|Inicio (Sistema)|off|sys/etc/xdg/autostart/notgnome.desktop",
            "Off|Inicio (Sistema)|off|sys/etc/xdg/autostart/off.desktop",
            "Panel|Inicio (Sistema)|on|sys/etc/xdg/autostart/panel.desktop",
            "Try|Inicio (Sistema)|off|sys/etc/xdg/autostart/try.desktop",
            "Extra|Inicio (Sistema)|on|sys/opt/xdg/autostart/extra.desktop",
        }));
    EXPECT_TRUE(commands->calls.empty()); // no unit linked: systemctl is not asked

    EXPECT_EQ(item(user + "mine.desktop").action, LaunchItemAction::moveToTrash);
    EXPECT_EQ(item(user + "override.desktop").action, LaunchItemAction::hideUserEntry);
    EXPECT_EQ(item(system + "kde.desktop").action, LaunchItemAction::hideSystemEntry);
    // Without a desktop named, an entry for some desktops starts in none.
    setEnv("XDG_CURRENT_DESKTOP", "");
    EXPECT_FALSE(item(system + "gnome.desktop").isEnabled);
    EXPECT_TRUE(item(system + "notgnome.desktop").isEnabled);
}

TEST_F(LinuxStartup, DisablingHidesMachineEntriesAndTrashesOnlyTheUsersOwn)
{
    const std::string mine = tree.text(user + "mine.desktop", entry("Mine"));
    const std::string systemText
        = entry("Panel", "Comment=Shows\\sthings\n[Desktop Action a]\nHidden=false\n");
    const std::string panel = tree.text(system + "panel.desktop", systemText);
    const std::string applet = tree.text(system + "applet.desktop", entry("Applet"));
    tree.text(user + "applet.desktop", entry("My applet", "Hidden=false\n"));
    ::chmod(tree.path(user + "applet.desktop").c_str(), 0600);
    const std::string clock = tree.text(system + "clock.desktop", entry("Clock"));
    tree.link(user + "clock.desktop", clock); // a user "copy" that is a link to the machine's

    ASSERT_TRUE(disable(user + "mine.desktop"));
    EXPECT_EQ(trash->moved, std::vector<std::string>{mine});

    ASSERT_TRUE(disable(system + "panel.desktop"));
    EXPECT_EQ(readFile(panel), systemText); // the machine's file is never edited
    EXPECT_EQ(tree.read(user + "panel.desktop"),
        "[Desktop Entry]\nHidden=true\nType=Application\nName=Panel\nExec=true\n"
        "Comment=Shows\\sthings\n[Desktop Action a]\nHidden=false\n");

    // A user file in place of a machine entry is hidden, never trashed: that would
    // bring the machine's entry back.
    ASSERT_TRUE(disable(user + "applet.desktop"));
    EXPECT_EQ(tree.read(user + "applet.desktop"),
        "[Desktop Entry]\nHidden=true\nType=Application\nName=My applet\nExec=true\n");
    EXPECT_EQ(tree.mode(user + "applet.desktop"), 0600u);
    EXPECT_EQ(readFile(applet), entry("Applet"));

    ASSERT_TRUE(disable(user + "clock.desktop"));
    EXPECT_TRUE(std::filesystem::is_regular_file( // the link was replaced, not written through
        std::filesystem::symlink_status(tree.path(user + "clock.desktop"))));
    EXPECT_EQ(readFile(clock), entry("Clock"));

    EXPECT_EQ(trash->moved.size(), 1u);
    for (const auto& i : list()) {
        EXPECT_FALSE(i.isEnabled) << i.path;
        EXPECT_TRUE(i.canEnable) << i.path;
    }

    // "Activar": the copy this program made goes and the machine's entry starts again;
    // the user's own file is kept, switched on.
    const auto enable = [&](const std::string& rel) {
        return context.places.launchItems->enable(context, item(rel)).isGone();
    };
    ASSERT_TRUE(enable(user + "panel.desktop"));
    EXPECT_FALSE(tree.exists(user + "panel.desktop"));
    EXPECT_TRUE(item(system + "panel.desktop").isEnabled);
    ASSERT_TRUE(enable(user + "applet.desktop"));
    EXPECT_EQ(tree.read(user + "applet.desktop"),
        "[Desktop Entry]\nHidden=false\nType=Application\nName=My applet\nExec=true\n");
    EXPECT_TRUE(item(user + "applet.desktop").isEnabled);
    EXPECT_EQ(readFile(applet), entry("Applet"));
}

TEST_F(LinuxStartup, DisablingRefusesWhatItMustNotTouch)
{
    const std::string panel = tree.text(system + "panel.desktop", entry("Panel"));
    // No config folder yet: it is made, private to the user.
    ASSERT_TRUE(disable(system + "panel.desktop"));
    EXPECT_EQ(tree.mode("home/.config/autostart"), 0700u);

    // A user folder that is the machine's through a link would turn the copy into an
    // edit of the machine's entry.
    std::filesystem::remove_all(tree.path("home/.config/autostart"));
    tree.link("home/.config/autostart", tree.path("sys/etc/xdg/autostart"));
    const LaunchItem shared = item(user + "panel.desktop");
    EXPECT_EQ(shared.action, LaunchItemAction::hideUserEntry);
    const RemovalOutcome refused = context.places.launchItems->disable(context, shared);
    EXPECT_FALSE(refused.isGone());
    EXPECT_NE(refused.message.find("carpeta del sistema"), std::string::npos) << refused.message;
    EXPECT_EQ(readFile(panel), entry("Panel"));

    LaunchItem stranger; // not from any autostart folder
    stranger.path = tree.text("elsewhere/x.desktop", entry("X"));
    EXPECT_FALSE(context.places.launchItems->disable(context, stranger).isGone());
    EXPECT_TRUE(tree.exists("elsewhere/x.desktop"));

    std::filesystem::remove(tree.path("home/.config/autostart"));
    // A machine entry too large to be one, under an odd name: hidden by a minimal
    // entry that names it safely.
    const std::string odd = "a\nb\\c \"q\".desktop";
    tree.file(system + odd, 2 << 20);
    ASSERT_TRUE(disable(system + odd));
    EXPECT_EQ(tree.read(user + odd),
        "[Desktop Entry]\nType=Application\nName=a\\nb\\\\c \"q\"\nHidden=true\n");
    EXPECT_FALSE(item(user + odd).isEnabled);

    const std::string mine = tree.text(user + "mine.desktop", entry("Mine"));
    trash->refuse.push_back(mine);
    const RemovalOutcome kept
        = context.places.launchItems->disable(context, item(user + "mine.desktop"));
    EXPECT_FALSE(kept.isGone());
    EXPECT_EQ(kept.message, "No se pudo mover a la Papelera.");
}

TEST_F(LinuxStartup, UserUnitsAreTheLinkedOnesSystemctlCallsEnabled)
{
    tree.text(units + "sync.service", "[Service]\nExecStart=/bin/true\n");
    tree.text(units + "backup.timer", "[Timer]\n");
    tree.link(units + "default.target.wants/sync.service", tree.path(units + "sync.service"));
    tree.link(units + "timers.target.wants/backup.timer", tree.path(units + "backup.timer"));
    tree.link(units + "default.target.wants/gone.service", tree.path(units + "gone.service"));
    commands->reply(0,
        "backup.timer enabled enabled\nsync.service enabled enabled\n"
        "gpg-agent.socket enabled enabled\n");
    auto found = list();
    ASSERT_EQ(commands->calls.size(), 1u);
    EXPECT_EQ(commands->calls[0],
        (std::vector<std::string>{"systemctl", "--user", "list-unit-files", "--state=enabled",
            "--no-legend", "--no-pager"}));
    ASSERT_EQ(found.size(), 2u); // not the dangling link, nor the machine-wide socket
    EXPECT_EQ(found[0].path, tree.path(units + "timers.target.wants/backup.timer"));
    EXPECT_EQ(found[1].action, LaunchItemAction::disableUnit);

    // systemctl says a linked unit is not enabled (masked, say): it is left out.
    commands->reply(0, "sync.service enabled enabled\n");
    EXPECT_EQ(list().size(), 1u);
    // Without an answer (no user bus), the links decide.
    commands->reply(1, "", "Failed to connect to bus");
    EXPECT_EQ(list().size(), 2u);

    commands->calls.clear();
    commands->reply(0, "", "Failed to disable unit, unit sync.service does not exist.\n");
    const RemovalOutcome stillLinked = context.places.launchItems->disable(context, found[1]);
    EXPECT_FALSE(stillLinked.isGone()); // exit 0, yet the link is there: not reported as done
    EXPECT_EQ(stillLinked.message, "Failed to disable unit, unit sync.service does not exist.");
    EXPECT_EQ(commands->calls.at(0),
        (std::vector<std::string>{"systemctl", "--user", "disable", "--", "sync.service"}));

    commands->answer = nullptr;
    commands->effect = [&](const std::vector<std::string>&) {
        std::filesystem::remove(tree.path(units + "default.target.wants/sync.service"));
    };
    EXPECT_TRUE(context.places.launchItems->disable(context, found[1]).isGone());
}

// The argument vectors against the real systemctl, which works on the unit folders
// itself where no systemd runs (as in a container); with a running manager it would
// change the real user's units, so the test stays out of such a machine.
TEST_F(LinuxStartup, RealSystemctlDisablesTheUsersUnitAndTurnsItOnAgain)
{
    struct stat st { };
    if (!hasTool("systemctl") || ::stat("/run/systemd/system", &st) == 0)
        GTEST_SKIP() << "needs systemctl without a running systemd";
    setEnv("XDG_CONFIG_HOME", tree.path("home/.config"));
    // The real program, in the environment this context stands for.
    const std::vector<std::string> env{
        "HOME=" + tree.path("home"), "XDG_CONFIG_HOME=" + tree.path("home/.config")};
    commands->answer = [&](const std::vector<std::string>& argv) {
        const ToolRun run = runTool(argv, env);
        return platform::CommandResult{run.status >= 0, run.status, run.out, {}};
    };
    tree.text(units + "tidvale-probe.service",
        "[Service]\nExecStart=/bin/true\n[Install]\nWantedBy=default.target\n");
    const auto enabled = runTool({"systemctl", "--user", "enable", "tidvale-probe.service"}, env);
    ASSERT_EQ(enabled.status, 0);
    ASSERT_TRUE(tree.exists(units + "default.target.wants/tidvale-probe.service"));

    const LaunchItem unit = item(units + "default.target.wants/tidvale-probe.service");
    EXPECT_EQ(unit.name, "tidvale-probe.service");
    const RemovalOutcome done = context.places.launchItems->disable(context, unit);
    EXPECT_TRUE(done.isGone()) << done.message;
    EXPECT_FALSE(tree.exists(units + "default.target.wants/tidvale-probe.service"));
    EXPECT_TRUE(tree.exists(units + "tidvale-probe.service"));

    // Still listed, switched off, and "Activar" enables it again.
    const auto off = list();
    ASSERT_EQ(off.size(), 1u);
    EXPECT_FALSE(off[0].isEnabled);
    EXPECT_TRUE(off[0].canEnable);
    const RemovalOutcome on = context.places.launchItems->enable(context, off[0]);
    EXPECT_TRUE(on.isGone()) << on.message;
    EXPECT_TRUE(tree.exists(units + "default.target.wants/tidvale-probe.service"));
    EXPECT_TRUE(item(units + "default.target.wants/tidvale-probe.service").isEnabled);
}

// dex starts a session's autostart entries as the autostart rules say; what it would
// start must be exactly what is listed as enabled, before and after disabling.
TEST_F(LinuxStartup, DexStartsExactlyTheEnabledEntries)
{
    if (!hasTool("dex"))
        GTEST_SKIP() << "dex is not installed";
    setEnv("XDG_CURRENT_DESKTOP", "GNOME");
    entries();

    const auto dexStarts = [&] {
        const auto run = runTool(
            {"dex", "--autostart", "--dry-run", "--verbose", "--environment", "GNOME"},
            {"HOME=" + tree.path("home"), "XDG_CONFIG_HOME",
                "XDG_CONFIG_DIRS=" + tree.path("sys/etc/xdg") + ":" + tree.path("sys/opt/xdg")});
        EXPECT_EQ(run.status, 0);
        std::set<std::string> paths;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("Autostart file: "))
                paths.insert(line.substr(16));
        return paths;
    };
    const auto enabled = [&] {
        std::set<std::string> paths;
        for (const auto& i : list())
            if (i.isEnabled)
                paths.insert(i.path);
        return paths;
    };
    const auto before = dexStarts();
    EXPECT_EQ(before,
        (std::set<std::string>{tree.path(user + "mine.desktop"),
            tree.path(user + "override.desktop"), tree.path(system + "panel.desktop"),
            tree.path("sys/opt/xdg/autostart/extra.desktop")}));
    EXPECT_EQ(enabled(), before);

    for (const std::string& rel : {user + "mine.desktop", user + "override.desktop",
             system + "panel.desktop", std::string("sys/opt/xdg/autostart/extra.desktop")}) {
        ASSERT_TRUE(disable(rel)) << rel;
        EXPECT_FALSE(dexStarts().contains(tree.path(rel))) << rel;
    }
    EXPECT_TRUE(dexStarts().empty());
    EXPECT_TRUE(enabled().empty());
}

// The Mac's confirmation names the file even where the list shows the label; the
// desktop's name what the list shows. Each way says what it does.
TEST(LaunchItemTexts, EachWaySaysWhatDeletingDoes)
{
    LaunchItem item{"com.user.helper", "/p", true, "Agente (Usuario)", "com.user.real",
        LaunchItemAction::deleteFile};
    EXPECT_EQ(confirmationFor(item).informativeText,
        "Se eliminará:\ncom.user.helper\n\nEsto puede afectar el funcionamiento de algunas "
        "aplicaciones.");
    item = {"notas", "/p", true, "Inicio (Usuario)", "Notas", LaunchItemAction::hideSystemEntry};
    EXPECT_CONTAINS(confirmationFor(item).informativeText, "Notas\n\nEs un elemento del sistema");
    item = {"sync.service", "/p", true, "Servicio (Usuario)", "sync.service",
        LaunchItemAction::disableUnit};
    EXPECT_CONTAINS(
        confirmationFor(item).informativeText, "«systemctl --user disable sync.service»");
    EXPECT_EQ(doneTextFor(item), "✅ Deshabilitado: sync.service");
}

// The applications of a Linux desktop's menu, on a made-up home and system root with
// a fake dpkg database, a Flatpak installation, a snap and AppImages.
#include "engine/apps/AppUninstall.h"
#include "engine/apps/linux/ApplicationFolders.h"
#include "engine/desktop/DesktopEntry.h"
#include "engine/fs/TreeSize.h"

#include "support/Names.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

std::string entry(const std::string& keys)
{
    return "# made by hand\n[Desktop Entry]\nType=Application\n" + keys + "\n";
}

const char* kStatus = "Package: editor\n"
                      "Status: install ok installed\n"
                      "Architecture: amd64\n"
                      "Version: 1.2-3\n"
                      "Installed-Size: 2048\n"
                      "Description: an editor\n"
                      " Package: not-a-package\n"
                      "\n"
                      "Package: suite\n"
                      "Status: install ok installed\n"
                      "Multi-Arch: same\n"
                      "Architecture: amd64\n"
                      "Version: 7.0\n"
                      "Installed-Size: 10000\n"
                      "\n"
                      "Package: gone\n"
                      "Status: deinstall ok config-files\n"
                      "Architecture: amd64\n"
                      "Version: 1\n"
                      "Installed-Size: 99999\n";

struct LinuxApps : ::testing::Test, TestContext {
    std::vector<std::string> progress;

    LinuxApps()
        : TestContext(linuxPlaces())
    {
    }

    std::vector<AppInfo> list()
    {
        progress.clear();
        return context.places.apps->installed(context, treeMeasure(*context.pool),
            JobControl([&](const std::string& t) { progress.push_back(t); }));
    }

    void debianPackages()
    {
        tree.text("sys/var/lib/dpkg/status", kStatus);
        tree.text("sys/var/lib/dpkg/info/editor.list",
            "/.\n/usr\n/usr/share/applications/editor.desktop\n/usr/bin/editor\n");
        tree.text("sys/var/lib/dpkg/info/suite:amd64.list",
            "/usr/share/applications/suite-writer.desktop\n"
            "/usr/share/applications/suite-calc.desktop\n");
        tree.text("sys/var/lib/dpkg/info/gone.list", "/usr/share/applications/leftover.desktop\n");
        const std::string apps = "sys/usr/share/applications/";
        tree.text(apps + "editor.desktop",
            entry("Name=Editor\nName[es]=Editor de textos\nName[fr]=Éditeur\nIcon=editor.png\n"
                  "Exec=editor %F"));
        tree.text(apps + "suite-writer.desktop", entry("Name=Writer"));
        tree.text(apps + "suite-calc.desktop", entry("Name=Calc"));
        tree.text(apps + "leftover.desktop", entry("Name=Leftover"));
    }

    // A user installation deployed as flatpak lays it out, its export linked back.
    std::string flatpak()
    {
        const std::string app = "home/.local/share/flatpak/app/org.example.Paint/";
        tree.link(app + "current", "x86_64/stable");
        tree.link(app + "x86_64/stable/active", "abc123");
        const std::string deployed = app + "x86_64/stable/abc123/";
        tree.file(deployed + "files/bin/paint", 5000);
        tree.text(deployed + "files/share/metainfo/org.example.Paint.metainfo.xml",
            "<component><releases>\n<release\n  date=\"2024-01-01\" version=\"3.1\"/>"
            "<release version='3.0'/></releases></component>");
        tree.text(deployed + "export/share/applications/org.example.Paint.desktop",
            entry("Name=Paint\nX-Flatpak=org.example.Paint\nIcon=org.example.Paint"));
        tree.link("home/.local/share/flatpak/exports/share/applications/org.example.Paint.desktop",
            "../../../app/org.example.Paint/current/active/export/share/applications/"
            "org.example.Paint.desktop");
        return tree.path(deployed.substr(0, deployed.size() - 1));
    }
};

std::string appImageBytes()
{
    std::string head("\x7f"
                     "ELF\x02\x01\x01\x00"
                     "AI\x02",
        11);
    return head + std::string(989, 'z');
}

} // namespace

TEST(DesktopEntryText, LocalisedNamesEscapesAndGroups)
{
    auto e = parseApplicationEntry("[Desktop Entry]\nName = Notes\nName[es]=Notas\\sy\\tmás\n"
                                   "Name[es_AR]=Otra\nNoDisplay=true\nHidden=false\n"
                                   "Exec=\"/opt/My Apps/run\" --x \"a \\\"q\\\" b\" %U\n"
                                   "[Desktop Action new]\nName=Nueva\nHidden=true\n");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->name, "Notas y\tmás");
    EXPECT_TRUE(e->noDisplay);
    EXPECT_FALSE(e->hidden); // a key of another group is not the entry's
    EXPECT_EQ(execWords(e->exec),
        (std::vector<std::string>{"/opt/My Apps/run", "--x", "a \"q\" b", "%U"}));
    EXPECT_EQ(
        execProgram("env LANG=C GDK_BACKEND=x11 /home/a/x.AppImage %f"), "/home/a/x.AppImage");
    EXPECT_EQ(execProgram("env \"\""), "");
    EXPECT_FALSE(execWords("\"open"));
    EXPECT_FALSE(parseApplicationEntry("[Desktop Action x]\nName=y\n"));
    EXPECT_EQ(parseApplicationEntry("[Desktop Entry]\nName=Only\nName[es]=\n")->name, "Only");
}

TEST_F(LinuxApps, MenuEntriesWithWhatInstalledThem)
{
    debianPackages();
    const std::string deployment = flatpak();
    const std::string apps = "sys/usr/share/applications/";
    tree.text(apps + "settings.desktop", entry("Name=Ajustes\nNoDisplay=true"));
    tree.text(apps + "link.desktop", "[Desktop Entry]\nType=Link\nName=Web\nURL=https://x\n");
    tree.text(apps + "kde/konsole.desktop", entry("Name=Konsole"));
    tree.text(apps + "masked.desktop", entry("Name=Masked"));
    tree.text("home/.local/share/applications/masked.desktop", entry("Name=Masked\nHidden=true"));
    tree.text(apps + "org.example.Paint.desktop", entry("Name=Shadowed paint")); // exports first

    tree.text("sys/var/lib/snapd/desktop/applications/chat_chat.desktop",
        entry("Name=Chat\nX-SnapInstanceName=chat\nIcon=/snap/chat/12/icon.png"));
    tree.file("sys/var/lib/snapd/snaps/chat_10.snap", 3000);
    tree.file("sys/var/lib/snapd/snaps/chat_12.snap", 4000);
    tree.file("sys/var/lib/snapd/snaps/chatter_1.snap", 9000);
    tree.link("sys/snap/chat/current", "12");
    tree.text("sys/snap/chat/12/meta/snap.yaml", "name: chat\nversion: '2.5'\n");

    const std::string tool = tree.script("home/Apps/Tool.AppImage", std::string(7000, 'x'));
    tree.text("home/.local/share/applications/appimagekit-tool.desktop",
        entry("Name=Tool\nExec=\"" + tool + "\" %U\nX-AppImage-Version=0.9"));
    const std::string viewer = tree.script("home/bin/viewer", appImageBytes());
    tree.text(
        "home/.local/share/applications/viewer.desktop", entry("Name=Viewer\nExec=" + viewer));
    const std::string script = tree.script("home/bin/backup.sh", "#!/bin/sh\nexit 0\n");
    tree.text(
        "home/.local/share/applications/backup.desktop", entry("Name=Backup\nExec=" + script));
    tree.text("home/.local/share/applications/gone.desktop", entry("Name=Gone\nExec=/nowhere/run"));
    tree.file("sys/opt/Big.AppImage", 8000);
    tree.text(apps + "big.desktop", entry("Name=Big\nExec=" + tree.path("sys/opt/Big.AppImage")));
    // Written to look like the home, lying in a system folder all the same.
    tree.dir("sys/home");
    tree.file("sys/usr/bin/sneaky.AppImage", 100);
    tree.text(apps + "sneaky.desktop",
        entry("Name=Sneaky\nExec=" + tree.path("sys/home/../usr/bin/sneaky.AppImage")));

    const auto found = list();
    // What each row says of itself; the removable ones name no reason. An AppImage's
    // package is its file.
    std::vector<std::string> rows;
    for (const auto& a : found) {
        const std::string package = a.package.starts_with(tree.root())
            ? a.package.substr(tree.root().size() + 1)
            : a.package;
        rows.push_back(a.name + "|" + appSourceName(a.source) + "|" + package + "|" + a.version
            + "|" + a.bundleID + "|"
            + (a.removable                         ? "yes"
                    : a.notRemovableReason.empty() ? "no reason"
                                                   : "no"));
    }
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows,
        (std::vector<std::string>{
            "Backup|desktop|||backup|no",                // a script is not an application file
            "Big|appimage|sys/opt/Big.AppImage||big|no", // not the user's to remove
            "Calc|deb|suite|7.0|suite-calc|yes", "Chat|snap|chat|2.5|chat_chat|no",
            "Editor de textos|deb|editor|1.2-3|editor|yes", "Gone|desktop|||gone|no",
            "Konsole|desktop|||kde-konsole|no",
            "Leftover|desktop|||leftover|no", // only its settings are left
            "Paint|flatpak|org.example.Paint|3.1|org.example.Paint|yes",
            "Sneaky|appimage|sys/home/../usr/bin/sneaky.AppImage||sneaky|no",
            "Tool|appimage|home/Apps/Tool.AppImage|0.9|appimagekit-tool|yes",
            "Viewer|appimage|home/bin/viewer||viewer|yes",
            "Writer|deb|suite|7.0|suite-writer|yes"}));
    for (size_t i = 1; i < found.size(); ++i)
        EXPECT_GE(found[i - 1].size, found[i].size);
    EXPECT_EQ(progress.size(), found.size());

    // A package's applications share it, and its bytes count once.
    const AppInfo& writer = named(found, "Writer");
    EXPECT_EQ(freedBytes({writer, named(found, "Calc"), named(found, "Editor de textos")}),
        (10000 + 2048) * 1024);
    EXPECT_EQ(named(found, "Editor de textos").iconName, "editor");
    EXPECT_EQ(named(found, "Paint").payload, deployment);
    EXPECT_EQ(named(found, "Paint").size, treeSize(*context.pool, deployment));
    const AppInfo& chat = named(found, "Chat"); // every revision the snap keeps
    EXPECT_EQ(chat.size, 7000);
    EXPECT_EQ(chat.payload, tree.path("sys/var/lib/snapd/snaps/chat_12.snap"));
    EXPECT_NE(chat.notRemovableReason.find("snap remove chat"), std::string::npos);
}

TEST_F(LinuxApps, RowsSayWhyTheSystemCannotUninstallThem)
{
    debianPackages();
    flatpak();
    remover->packagesUnavailable = "Sin PackageKit.";
    remover->flatpakUnavailable = "Sin flatpak.";
    const auto found = list();
    EXPECT_FALSE(named(found, "Writer").removable);
    EXPECT_EQ(
        named(found, "Writer").notRemovableReason, "Paquete de Debian «suite». Sin PackageKit.");
    EXPECT_EQ(named(found, "Paint").notRemovableReason,
        "Aplicación Flatpak «org.example.Paint». Sin flatpak.");
}

TEST_F(LinuxApps, NothingInstalledIsAnEmptyListNotAnError)
{
    tree.text("sys/var/lib/dpkg/status", "garbage\n\n\n:::\n");
    tree.dir("sys/usr/share/applications/loop");
    tree.link("sys/usr/share/applications/loop/again", "..");
    ::mkfifo(tree.path("sys/usr/share/applications/pipe.desktop").c_str(), 0644);
    tree.link("sys/usr/share/applications/dangling.desktop", "nowhere.desktop");
    EXPECT_TRUE(list().empty());
}

TEST_F(LinuxApps, UninstallTakesWholePackagesAndCountsOnlyWhatWent)
{
    debianPackages();
    const std::string deployment = flatpak();
    const std::string tool = tree.script("home/Apps/Tool.AppImage", std::string(7000, 'x'));
    const std::string toolEntry = tree.text(
        "home/.local/share/applications/tool.desktop", entry("Name=Tool\nExec=" + tool));
    tree.text("sys/usr/share/applications/konsole.desktop", entry("Name=Konsole"));

    const auto apps = list();
    const auto plan = planUninstall(apps,
        {named(apps, "Writer"), named(apps, "Konsole"), named(apps, "Calc"),
            named(apps, "Editor de textos"), named(apps, "Paint"), named(apps, "Tool")});
    ASSERT_EQ(plan.units.size(), 4u);
    EXPECT_EQ(plan.units[0].names, (std::vector<std::string>{"Writer", "Calc"}));
    ASSERT_EQ(plan.skipped.size(), 1u);
    EXPECT_EQ(plan.skipped[0].name, "Konsole");

    const platform::DebianPackage help{"suite-help", "all", "7.0"};
    remover->preview.others = {help};
    EXPECT_EQ(previewUninstall(*remover, plan).others, std::vector<platform::DebianPackage>{help});
    const std::vector<platform::DebianPackage> asked{
        {"suite", "amd64", "7.0"}, {"editor", "amd64", "1.2-3"}};
    EXPECT_EQ(remover->previewed, std::vector<std::vector<platform::DebianPackage>>{asked});

    // The service says it removed both packages, but dpkg still has the editor.
    remover->onRemovePackages = [&](const auto&) {
        const std::string status = kStatus;
        tree.text("sys/var/lib/dpkg/status",
            status.substr(0, status.find("Package: suite"))
                + status.substr(status.find("Package: gone")));
    };
    remover->onRemoveFlatpak
        = [&](const std::string&, bool) { std::filesystem::remove_all(deployment); };
    const auto report = uninstall(context, apps, plan, {help});

    std::vector<platform::DebianPackage> removed = asked;
    removed.push_back(help);
    EXPECT_EQ(remover->removedPackages, std::vector<std::vector<platform::DebianPackage>>{removed});
    EXPECT_EQ(remover->removedFlatpaks,
        (std::vector<std::pair<std::string, bool>>{{"org.example.Paint", false}}));
    EXPECT_EQ(trash->moved, (std::vector<std::string>{tool, toolEntry}));
    EXPECT_EQ(report.count(RemovalStatus::gone), 3);
    EXPECT_EQ(uninstalledEntries(apps, report).size(), 4u); // Writer, Calc, Paint, Tool
    EXPECT_EQ(report.freed(),
        named(apps, "Writer").size + named(apps, "Paint").size + named(apps, "Tool").size);
    ASSERT_EQ(report.left().size(), 1u);
    EXPECT_EQ(report.left()[0]->key, named(apps, "Editor de textos").path);
    EXPECT_EQ(report.left()[0]->message, "El paquete sigue instalado.");
}

TEST_F(LinuxApps, WhatStaysIsNeitherCountedNorDropped)
{
    debianPackages();
    flatpak();
    const std::string tool = tree.script("home/Apps/Tool.AppImage", std::string(7000, 'x'));
    const std::string toolEntry = tree.text(
        "home/.local/share/applications/tool.desktop", entry("Name=Tool\nExec=" + tool));
    const auto apps = list();

    remover->packageAnswer = {false, "Failed to obtain authentication."};
    remover->flatpakAnswer = {false, "error: org.example.Paint/x86_64/stable is running"};
    tree.script("home/Apps/Tool.AppImage", std::string(7001, 'y')); // replaced since listed
    const auto report = uninstall(context, apps,
        planUninstall(apps, {named(apps, "Writer"), named(apps, "Paint"), named(apps, "Tool")}),
        {});
    EXPECT_TRUE(uninstalledEntries(apps, report).empty() && report.freed() == 0);
    ASSERT_EQ(report.left().size(), 3u);
    EXPECT_EQ(report.left()[0]->message, "Failed to obtain authentication.");
    EXPECT_EQ(report.left()[1]->message, "error: org.example.Paint/x86_64/stable is running");
    EXPECT_EQ(report.left()[2]->message, "La AppImage cambió desde que se listó; no se tocó.");
    EXPECT_TRUE(trash->moved.empty());

    // A menu entry handed to the bundles' Trash move (as the Mac screen does) is left
    // alone: it is not the application, and the system's entries are not the user's.
    const AppInfo& editor = named(apps, "Editor de textos");
    EXPECT_EQ(trashTargets(*trash, targetsOf(std::vector<AppInfo>{editor})).outcomes[0].status,
        RemovalStatus::changed);
    EXPECT_TRUE(tree.exists("sys/usr/share/applications/editor.desktop"));
}

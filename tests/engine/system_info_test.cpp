#include "engine/system/SystemInfoService.h"
#include "engine/system/linux/VolumeName.h"

#include "support/Contains.h"
#include "support/Names.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <utility>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

std::string xmlPlist(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + entries
        + "</dict></plist>\n";
}

std::string textEntry(const std::string& key, const std::string& value)
{
    return "<key>" + key + "</key><string>" + value + "</string>";
}

platform::VmFigures withFree(uint64_t free)
{
    platform::VmFigures f;
    f.free = free;
    return f;
}

struct SystemInfoFixture : ::testing::Test, TestContext {
    // The one-second wait of the memory measure is noted, not waited.
    std::vector<std::chrono::milliseconds> waits;
    const SystemInfoService service{
        context, {}, [this](std::chrono::milliseconds wait) { waits.push_back(wait); }};
};

} // namespace

TEST_F(SystemInfoFixture, InstalledAppsFromBothFoldersLargestFirst)
{
    tree.text("sys/Applications/Editor.app/Contents/Info.plist",
        xmlPlist(textEntry("CFBundleShortVersionString", "2.1")
            + textEntry("CFBundleIdentifier", "org.example.Editor")
            + textEntry("CFBundleIconFile", "Editor")));
    tree.file("sys/Applications/Editor.app/Contents/MacOS/Editor", 5000);
    tree.file("sys/Applications/Editor.app/Contents/Resources/Editor.icns", 10);
    tree.file("sys/Applications/Editor.app/Contents/Resources/AppIcon.icns", 10);
    // A named icon never leads outside Resources.
    tree.text("home/Applications/Mine.app/Contents/Info.plist",
        xmlPlist("<key>CFBundleShortVersionString</key><integer>3</integer>"
            + textEntry("CFBundleIconFile", "../../../x.icns")));
    tree.file("home/Applications/x.icns", 10);
    tree.dir("home/Applications/Mine.app/Contents/Resources"); // else no path leads out
    tree.file("sys/Applications/X.app", 900);                  // a plain file with a bundle's name
    tree.file("sys/Applications/Tools/Inner.app/Contents/MacOS/big", 90000); // not descended
    tree.file("sys/Applications/Shout.APP", 10);
    tree.file("sys/Applications/.Hidden.app/Contents/MacOS/h", 1500);
    tree.file("home/Applications/Mine.app/Contents/MacOS/m", 2000);
    // A linked bundle is as large as the link the Trash takes.
    tree.file("elsewhere/Big.app/Contents/MacOS/big", 90000);
    tree.link("home/Applications/Big.app", tree.path("elsewhere/Big.app"));

    std::vector<std::string> progress;
    const auto apps
        = service.getInstalledApps([&](const std::string& t) { progress.push_back(t); });
    ASSERT_EQ(names(apps), (std::vector<std::string>{"Editor", "Mine", ".Hidden", "X", "Big"}));
    EXPECT_EQ(apps[0].path, tree.path("sys/Applications/Editor.app"));
    EXPECT_EQ(apps[0].version + " " + apps[0].bundleID, "2.1 org.example.Editor");
    EXPECT_EQ(
        apps[0].iconFile, tree.path("sys/Applications/Editor.app/Contents/Resources/Editor.icns"));
    EXPECT_EQ(apps[1].version + apps[1].iconFile, ""); // a version that is not a text
    EXPECT_EQ(apps[4].size, static_cast<int64_t>(tree.path("elsewhere/Big.app").size()));
    // One progress line per application, the machine's folder first.
    ASSERT_EQ(progress.size(), apps.size());
    EXPECT_EQ(std::set<std::string>(progress.end() - 2, progress.end()),
        (std::set<std::string>{"Leyendo Mine...", "Leyendo Big..."}));

    context.folders.systemRoot = tree.path("nowhere"); // a missing folder is skipped
    EXPECT_EQ(service.getInstalledApps().size(), 2u);
}

TEST_F(SystemInfoFixture, AStopWhileABundleIsMeasuredLeavesItOut)
{
    tree.file("sys/Applications/First.app/Contents/MacOS/f", 100);
    tree.file("home/Applications/Second.app/Contents/MacOS/s", 200);
    auto flag = std::make_shared<CancelFlag>();
    const SystemInfoService stopping(context, [&](const std::string& path, const JobControl&) {
        if (path.ends_with("Second.app")) {
            flag->cancel();
            return std::optional<int64_t>();
        }
        return std::optional<int64_t>(100);
    });
    std::vector<std::string> said;
    const auto apps
        = stopping.getInstalledApps({[&](const std::string& t) { said.push_back(t); }, flag});
    ASSERT_EQ(apps.size(), 1u);
    EXPECT_EQ(apps[0].name, "First");
    EXPECT_EQ(said, (std::vector<std::string>{"Leyendo First...", "Leyendo Second..."}));
    EXPECT_TRUE(stopping.getInstalledApps({{}, flag}).empty());
}

TEST_F(SystemInfoFixture, LaunchItemsFromThreeFoldersWithLabels)
{
    tree.text("sys/Library/LaunchAgents/sys.agent.plist", xmlPlist(textEntry("Label", "s")));
    tree.text("sys/Library/LaunchDaemons/sys.daemon.plist", xmlPlist(""));
    ASSERT_EQ(service.getLaunchItems().size(), 2u); // no home LaunchAgents folder at all

    const std::string user = "home/Library/LaunchAgents/";
    tree.text(user + "com.example.agent.plist", xmlPlist(textEntry("Label", "com.example.real")));
    tree.text(user + "garbage.plist", "\x01\x02 not a list");
    ASSERT_EQ(::mkfifo(tree.path(user + "pipe.plist").c_str(), 0600), 0);

    // User agents first, then the machine's agents, then its daemons; never sorted.
    const auto items = service.getLaunchItems();
    std::vector<std::string> rows;
    for (const auto& i : items)
        rows.push_back(i.source + "|" + i.bundleID);
    std::sort(rows.begin(), rows.begin() + 3);
    EXPECT_EQ(rows,
        (std::vector<std::string>{"Agente (Usuario)|com.example.real", "Agente (Usuario)|garbage",
            "Agente (Usuario)|pipe", // did not block
            "Agente (Sistema)|s", "Daemon (Sistema)|sys.daemon"}));
    EXPECT_TRUE(items[4].isEnabled);

    // Deleting removes the property list outright; a file that cannot go says why.
    EXPECT_EQ(items[0].action, LaunchItemAction::deleteFile);
    EXPECT_TRUE(context.places.launchItems->disable(context, items[0]).isGone());
    EXPECT_FALSE(std::filesystem::exists(items[0].path));
    tree.protect("sys/Library/LaunchDaemons");
    const RemovalOutcome refused = context.places.launchItems->disable(context, items[4]);
    EXPECT_FALSE(refused.isGone());
    EXPECT_CONTAINS(refused.message, "sys.daemon.plist");
    EXPECT_TRUE(tree.exists("sys/Library/LaunchDaemons/sys.daemon.plist"));
}

TEST_F(SystemInfoFixture, MemoryFiguresAndFreedMemory)
{
    memory->set({platform::VmFigures{100, 200, 300, 400, 500}, std::nullopt});
    EXPECT_EQ(service.getMemoryInfo().wired, 400u);
    // A refused statistics call still reports the installed memory.
    const MemoryInfo failed = service.getMemoryInfo();
    EXPECT_EQ(failed.total, 8000u);
    EXPECT_EQ(failed.free + failed.active + failed.inactive + failed.wired + failed.compressed, 0u);

    // What was freed is the growth of free memory over one second, never negative.
    auto measure = [&](uint64_t before, uint64_t after) {
        memory->set({withFree(before), withFree(after)});
        return service.measureFreedMemory();
    };
    EXPECT_EQ(measure(1000, 1600), 600u);
    EXPECT_EQ(waits, std::vector<std::chrono::milliseconds>{std::chrono::seconds(1)});
    EXPECT_EQ(measure(5000, 4000), 0u); // free memory fell: 0, not a wrapped-around amount
}

// How the Disk screen names the home's volume on a Linux desktop, and the figures it
// takes from each profile.
TEST(VolumeName, TheLabelOrMountPointOfTheMountThatHoldsTheHome)
{
    TestTree t;
    t.file("dev/vda2", 0);
    t.file("dev/dm-0", 0);
    t.link("dev/disk/by-label/Datos\\x20de\\x20Ana", "../../vda2");
    t.link("dev/disk/by-label/RAIZ", "../../dm-0");
    const std::string home = t.dir("home/ana");
    const std::string at = t.path("home");
    struct stat st { };
    ASSERT_EQ(::stat(home.c_str(), &st), 0);
    const std::string own
        = std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
    auto line = [](const std::string& point, const std::string& source,
                    const std::string& device = "7:7") {
        return "30 1 " + device + " / " + point + " rw - ext4 " + source + " rw\n";
    };
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "Sistema"}, {line("/", "overlay"), "Sistema"},
        {line("/", "/dev/dm-0") + line(at, "/dev/vda2"), "Datos de Ana"},
        {line("/", "/dev/dm-0") + line(at, "/dev/sdz"), at},               // no label
        {line("/", "/dev/dm-0") + line(at + "work", "/dev/vda2"), "RAIZ"}, // a prefix, not a parent
        {line(at, "/dev/vda2") + line(at, "tmpfs"), at},                   // mounted later over it
        {line(at, "/dev/vda2", own) + line(at, "tmpfs"), "Datos de Ana"},  // the home's own device
    };
    for (const auto& [mountinfo, name] : cases)
        EXPECT_EQ(homeVolumeName(t.root(), home, mountinfo), name) << mountinfo;
}

TEST(VolumeName, EachProfileCountsTheVolumeItsOwnWay)
{
    TestContext machine;
    // 1000 in all, 250 free for the user, 600 in use: 150 kept for the administrator.
    const auto& volume = machine.volumes;
    volume->figures = platform::VolumeFigures{1000, 250, 600};
    const SystemInfoService service(machine.context);
    {
        const DiskInfo d = service.getDiskInfo();
        EXPECT_EQ(volume->askedFor, machine.home());
        EXPECT_EQ(d.name + " " + std::to_string(d.used) + " " + std::to_string(d.free),
            "Macintosh HD 750 250");
    }
    machine.context.places = linuxPlaces();
    const DiskInfo d = service.getDiskInfo();
    EXPECT_EQ(std::to_string(d.total) + " " + std::to_string(d.used) + " " + std::to_string(d.free),
        "1000 600 250");
    EXPECT_NE(d.name, "Macintosh HD");
    volume->figures.reset();
    const DiskInfo none = service.getDiskInfo();
    EXPECT_EQ(none.total + none.used + none.free, 0);
}

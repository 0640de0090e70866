#include "engine/core/Dispatch.h"
#include "engine/scan/ScanService.h"
#include "engine/scan/SystemLocations.h"
#include "engine/system/SystemInfoService.h"

#include "support/BinaryPlistWriter.h"
#include "support/FakeSystemStatistics.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <thread>

using namespace tidvale;

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

// Names of a folder's children in the order the file system lists them.
std::vector<std::string> listingOrder(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    return names;
}

struct SystemInfoFixture : ::testing::Test {
    TestTree tree;
    ScopedHome home{tree.dir("home")};
    std::shared_ptr<FakeMemoryStatistics> memory = std::make_shared<FakeMemoryStatistics>(8000);
    platform::ScopedService<platform::MemoryStatistics> memorySlot{memory};
    std::shared_ptr<SystemInfoService> service = SystemInfoService::create(ScanService::shared());

    SystemInfoFixture() { SystemLocations::setRoot(tree.dir("sys")); }
    ~SystemInfoFixture() override { SystemLocations::setRoot(""); }
};

} // namespace

TEST_F(SystemInfoFixture, InstalledAppsFromBothFoldersLargestFirst)
{
    tree.text("sys/Applications/Editor.app/Contents/Info.plist",
        xmlPlist(textEntry("CFBundleShortVersionString", "2.1")
            + textEntry("CFBundleIdentifier", "org.example.Editor")));
    tree.file("sys/Applications/Editor.app/Contents/MacOS/Editor", 5000);
    tree.file("sys/Applications/X.app", 900); // a plain file with a bundle's name
    tree.file("sys/Applications/Tools/Inner.app/Contents/MacOS/big", 90000); // not descended
    tree.file("sys/Applications/Shout.APP", 10);
    tree.file("sys/Applications/notes.app.txt", 10);
    tree.file("sys/Applications/.Hidden.app/Contents/MacOS/h", 1500);
    tree.text("home/Applications/Mine.app/Contents/Info.plist",
        xmlPlist("<key>CFBundleShortVersionString</key><integer>3</integer>"));
    tree.file("home/Applications/Mine.app/Contents/MacOS/m", 2000);

    std::vector<std::string> progress;
    const auto apps
        = service->getInstalledApps([&](const std::string& t) { progress.push_back(t); });

    std::vector<std::string> names;
    for (const auto& a : apps)
        names.push_back(a.name);
    ASSERT_EQ(names, (std::vector<std::string>{"Editor", "Mine", ".Hidden", "X"}));
    EXPECT_EQ(apps[0].path, tree.path("sys/Applications/Editor.app"));
    EXPECT_EQ(apps[0].version, "2.1");
    EXPECT_EQ(apps[0].bundleID, "org.example.Editor");
    EXPECT_GE(apps[0].size, 5000);
    EXPECT_EQ(apps[1].path, tree.path("home/Applications/Mine.app"));
    EXPECT_EQ(apps[1].version, ""); // a version that is not a text
    EXPECT_EQ(apps[3].size, 900);
    EXPECT_EQ(apps[3].version, "");
    EXPECT_EQ(apps[3].bundleID, "");

    // One progress line per application, machine folder first, before measuring.
    ASSERT_EQ(progress.size(), 4u);
    EXPECT_EQ(progress.back(), "Leyendo Mine...");
    for (const auto& a : apps)
        EXPECT_NE(std::find(progress.begin(), progress.end(), "Leyendo " + a.name + "..."),
            progress.end());
}

TEST_F(SystemInfoFixture, EqualSizesKeepListingOrderAndMissingFoldersAreSkipped)
{
    for (const char* n : {"a.app", "b.app", "c.app", "d.app", "e.app"})
        tree.file(std::string("sys/Applications/") + n, 64);
    // No Applications folder in the home: only the machine's are listed, without error.
    std::vector<std::string> expected;
    for (const auto& n : listingOrder(tree.path("sys/Applications")))
        expected.push_back(n.substr(0, n.size() - 4));
    std::vector<std::string> names;
    for (const auto& a : service->getInstalledApps())
        names.push_back(a.name);
    EXPECT_EQ(names, expected);

    SystemLocations::setRoot(tree.path("nowhere"));
    EXPECT_TRUE(service->getInstalledApps().empty());
}

TEST_F(SystemInfoFixture, AppIconIsTheBundlesOwnImage)
{
    const std::string named = "sys/Applications/Named.app/Contents/";
    tree.text(named + "Info.plist", xmlPlist(textEntry("CFBundleIconFile", "Editor")));
    tree.file(named + "Resources/Editor.icns", 10);
    tree.file(named + "Resources/AppIcon.icns", 10);
    const std::string plain = "sys/Applications/Plain.app/Contents/";
    tree.file(plain + "Resources/zeta.icns", 10);
    tree.file(plain + "Resources/beta.icns", 10);
    const std::string escape = "sys/Applications/Escape.app/Contents/";
    tree.text(escape + "Info.plist", xmlPlist(textEntry("CFBundleIconFile", "../../../x.icns")));
    tree.file("sys/Applications/x.icns", 10);
    tree.file("sys/Applications/None.app/Contents/Resources/readme.txt", 10);

    std::map<std::string, std::string> icons;
    for (const auto& a : service->getInstalledApps())
        icons[a.name] = a.iconFile;
    EXPECT_EQ(icons["Named"], tree.path(named + "Resources/Editor.icns"));
    EXPECT_EQ(icons["Plain"], tree.path(plain + "Resources/beta.icns"));
    EXPECT_EQ(icons["Escape"], ""); // a named icon never leads outside Resources
    EXPECT_EQ(icons["None"], "");
}

TEST_F(SystemInfoFixture, LaunchItemsFromThreeFoldersWithLabels)
{
    const std::string user = "home/Library/LaunchAgents/";
    tree.text(user + "com.example.agent.plist", xmlPlist(textEntry("Label", "com.example.real")));
    tree.text(user + "nolabel.plist", xmlPlist(textEntry("Program", "/bin/true")));
    BinaryPlistWriter numeric;
    numeric.add(numeric.dict({{1, 2}}));
    numeric.add(BinaryPlistWriter::ascii("Label"));
    numeric.add(BinaryPlistWriter::integer(42));
    tree.text(user + "numeric.plist", numeric.build(0));
    BinaryPlistWriter binary;
    binary.add(binary.dict({{1, 2}}));
    binary.add(BinaryPlistWriter::ascii("Label"));
    binary.add(BinaryPlistWriter::utf16(u"org.binary.\u00E9"));
    tree.text(user + "binary.plist", binary.build(0));
    tree.text(user + "garbage.plist", "\x01\x02 not a list");
    tree.text(user + "com.a.plist.bak", xmlPlist(""));
    tree.text(user + "UPPER.PLIST", xmlPlist(""));
    tree.text(user + "mixed.Plist", xmlPlist(""));
    ASSERT_EQ(::mkfifo(tree.path(user + "pipe.plist").c_str(), 0600), 0);
    tree.text("sys/Library/LaunchAgents/sys.agent.plist", xmlPlist(textEntry("Label", "s")));
    tree.text("sys/Library/LaunchDaemons/sys.daemon.plist", xmlPlist(""));

    const auto items = service->getLaunchItems();
    std::map<std::string, LaunchItem> byName;
    for (const auto& i : items)
        byName[i.name] = i;
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(byName["com.example.agent"].bundleID, "com.example.real");
    EXPECT_EQ(byName["com.example.agent"].path, tree.path(user + "com.example.agent.plist"));
    EXPECT_EQ(byName["nolabel"].bundleID, "nolabel");
    EXPECT_EQ(byName["numeric"].bundleID, "numeric");
    EXPECT_EQ(byName["binary"].bundleID, "org.binary.\xC3\xA9");
    EXPECT_EQ(byName["garbage"].bundleID, "garbage");
    EXPECT_EQ(byName["pipe"].bundleID, "pipe"); // listed, and reading it did not block

    // User agents first, then the machine's agents, then its daemons; never sorted.
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(items[i].source, "Agente (Usuario)");
        EXPECT_TRUE(items[i].isEnabled);
    }
    EXPECT_EQ(items[6].name, "sys.agent");
    EXPECT_EQ(items[6].source, "Agente (Sistema)");
    EXPECT_EQ(items[6].bundleID, "s");
    EXPECT_EQ(items[7].name, "sys.daemon");
    EXPECT_EQ(items[7].source, "Daemon (Sistema)");
    EXPECT_EQ(items[7].path, tree.path("sys/Library/LaunchDaemons/sys.daemon.plist"));
}

TEST_F(SystemInfoFixture, MissingOrUnreadableLaunchFoldersContributeNothing)
{
    tree.text("sys/Library/LaunchDaemons/d.plist", xmlPlist(""));
    tree.text("sys/Library/LaunchAgents/a.plist", xmlPlist(""));
    const auto items = service->getLaunchItems(); // no home LaunchAgents folder at all
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].source, "Agente (Sistema)");
    EXPECT_EQ(items[1].source, "Daemon (Sistema)");
}

TEST_F(SystemInfoFixture, MemoryAndDiskFigures)
{
    platform::VmFigures vm{100, 200, 300, 400, 500};
    memory->push(vm);
    memory->push(std::nullopt);
    const MemoryInfo m = service->getMemoryInfo();
    EXPECT_EQ(m.total, 8000u);
    EXPECT_EQ(m.wired, 400u);
    // A refused statistics call still reports the installed memory.
    const MemoryInfo failed = service->getMemoryInfo();
    EXPECT_EQ(failed.total, 8000u);
    EXPECT_EQ(failed.free + failed.active + failed.inactive + failed.wired + failed.compressed, 0u);

    auto volume = std::make_shared<FakeVolumeStatistics>(platform::VolumeFigures{1000, 250});
    {
        platform::ScopedService<platform::VolumeStatistics> slot(volume);
        const DiskInfo d = service->getDiskInfo();
        EXPECT_EQ(d.total, 1000);
        EXPECT_EQ(d.free, 250);
        EXPECT_EQ(volume->askedFor, tree.path("home"));
    }
    platform::ScopedService<platform::VolumeStatistics> unreadable(
        std::make_shared<FakeVolumeStatistics>(std::nullopt));
    const DiskInfo none = service->getDiskInfo();
    EXPECT_EQ(none.total, 0);
    EXPECT_EQ(none.free, 0);
}

namespace {

// Runs background work on threads and queues main-thread work until the test drains it,
// so the test sees exactly what reaches the main thread and when.
class QueueDispatcher final : public Dispatcher {
public:
    void toBackground(std::function<void()> work) override
    {
        std::thread(std::move(work)).detach();
    }
    void toMain(std::function<void()> work) override
    {
        std::lock_guard g(m_);
        main_.push_back(std::move(work));
        cv_.notify_all();
    }
    // Waits for `n` main-thread tasks and runs them here.
    void drain(size_t n)
    {
        std::unique_lock g(m_);
        ASSERT_TRUE(cv_.wait_for(g, std::chrono::seconds(30), [&] { return main_.size() >= n; }));
        auto tasks = std::move(main_);
        main_.clear();
        g.unlock();
        for (auto& t : tasks)
            t();
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    std::vector<std::function<void()>> main_;
};

struct ScopedDispatcher {
    std::shared_ptr<Dispatcher> saved = dispatcher();
    explicit ScopedDispatcher(std::shared_ptr<Dispatcher> d) { setDispatcher(std::move(d)); }
    ~ScopedDispatcher() { setDispatcher(saved); }
};

} // namespace

TEST_F(SystemInfoFixture, FreedMemoryIsTheGrowthOverOneSecondNeverNegative)
{
    auto queue = std::make_shared<QueueDispatcher>();
    ScopedDispatcher scoped(queue);
    const std::thread::id testThread = std::this_thread::get_id();

    memory->pushFree(1000);
    memory->pushFree(1600);
    std::optional<uint64_t> grown;
    const auto start = std::chrono::steady_clock::now();
    service->measureFreedMemory([&](uint64_t freed) {
        EXPECT_EQ(std::this_thread::get_id(), testThread);
        grown = freed;
    });
    EXPECT_FALSE(grown); // returns at once
    queue->drain(1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(grown, 600u);

    // Free memory falling during the wait reports 0, not a wrapped-around amount.
    memory->clear();
    memory->pushFree(5000);
    memory->pushFree(4000);
    std::optional<uint64_t> fell;
    service->measureFreedMemory([&](uint64_t freed) { fell = freed; });
    queue->drain(1);
    EXPECT_EQ(fell, 0u);
}

TEST_F(SystemInfoFixture, FreedMemoryIsZeroOnceTheServiceIsGone)
{
    auto queue = std::make_shared<QueueDispatcher>();
    ScopedDispatcher scoped(queue);
    memory->pushFree(1000);
    memory->pushFree(9000); // would be a gain, but nobody is left to read it
    std::optional<uint64_t> freed;
    service->measureFreedMemory([&](uint64_t f) { freed = f; });
    service.reset();
    queue->drain(1);
    EXPECT_EQ(freed, 0u);
}

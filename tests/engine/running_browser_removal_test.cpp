// A junk item is refused while a browser whose data it is, holds or lies inside runs,
// whatever its category.
#include "engine/junk/ScanService.h"
#include "platform/RunningApplications.h"

#include "support/RunningProgram.h"
#include "support/TestContext.h"

#include "support/Names.h"

#include <gtest/gtest.h>

using namespace tidvale;

namespace {

// Logs, not caches: a user cache must also be an entry of the cache folder, which
// these paths at every depth are not.
ScanItem cacheItem(const std::string& path, int64_t size = 1)
{
    return {path.substr(path.rfind('/') + 1), path, size, ScanCategory::userLogs, true, false};
}

std::vector<std::string> failedPaths(const RemovalReport& result)
{
    std::vector<std::string> paths;
    for (const auto& [path, message] : failures(result))
        paths.push_back(path);
    return paths;
}

} // namespace

TEST(RunningBrowserRemoval, DataRootsAreComparedByComponent)
{
    TestContext mac;
    TestTree& tree = mac.tree;
    mac.running->set({"com.apple.Safari", "com.microsoft.edgemac"});
    tree.file("home/Library/Caches/com.apple.Safari/db", 10);
    tree.file("home/Library/Application Support/Microsoft Edge/Default/Cache/x", 10);
    const std::vector<ScanItem> items{
        cacheItem(tree.path("home/Library/Caches/com.apple.Safari")),      // is
        cacheItem(tree.file("home/Library/Safari/History.db", 10)),        // lies inside
        cacheItem(tree.path("home/Library/Application Support")),          // holds Edge's data
        cacheItem(tree.file("home/Library/Caches/com.apple.Safari2", 10)), // a mere prefix
        cacheItem(tree.file("home/Library/Caches/Firefox/x", 10)),         // not running
    };
    auto result = ScanService(mac.context).deleteItems(items);
    ASSERT_EQ(failedPaths(result),
        (std::vector<std::string>{items[0].path, items[1].path, items[2].path}));
    EXPECT_EQ(failures(result)[0].second, "Cierra Safari y vuelve a intentarlo.");
    EXPECT_EQ(failures(result)[2].second, "Cierra Microsoft Edge y vuelve a intentarlo.");
    EXPECT_TRUE(tree.exists("home/Library/Application Support/Microsoft Edge/Default/Cache/x"));
    EXPECT_EQ(result.freed(), 20); // the two files' own bytes, not their listed sizes
}

#ifdef __linux__

// The real process table, with a process whose executable bears a browser's name, and
// the desktop's own folders. Both names run in one test, one after the other: a second
// test's Firefox running meanwhile would be this one's as well.
TEST(RealBrowserProcess, RefusesWhatTouchesItsCacheUntilItEnds)
{
    for (const char* name : {"firefox", "firefox-esr"}) {
        SCOPED_TRACE(name);
        TestContext desktop(linuxPlaces());
        desktop.context.backends.runningApplications = platform::systemRunningApplications();
        const auto firefoxRuns = [&] {
            return desktop.context.places.browsers->isRunning(
                desktop.context, ScanCategory::browserFirefox);
        };
        const ScanService service(desktop.context);
        TestTree& tree = desktop.tree;
        const std::string entry = "home/.cache/mozilla/firefox/ab.default/cache2/entries/1";
        tree.file(entry, 600'000);
        const std::vector<ScanItem> items{cacheItem(tree.path(entry)),
            cacheItem(tree.path("home/.cache/mozilla")), cacheItem(tree.path("home/.cache"))};
        {
            const RunningProgram browser(tree, std::string("bin/") + name);
            ASSERT_TRUE(eventually(firefoxRuns)) << name << " was never seen running";
            const auto refused = service.deleteItems(items);
            ASSERT_EQ(failures(refused).size(), 3u);
            for (const auto& [path, message] : failures(refused))
                EXPECT_EQ(message, "Cierra Mozilla Firefox y vuelve a intentarlo.") << path;
            EXPECT_EQ(refused.freed(), 0);
            EXPECT_TRUE(tree.exists(entry));
        }
        ASSERT_TRUE(eventually([&] { return !firefoxRuns(); }));
        EXPECT_TRUE(failures(service.deleteItems(items)).empty());
        EXPECT_FALSE(tree.exists("home/.cache"));
    }
}

#endif

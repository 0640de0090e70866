// A junk item is refused while a browser whose data it is, holds or lies inside runs,
// whatever its category.
#include "engine/locations/LocationsProfile.h"
#include "engine/scan/ScanService.h"

#include "support/FakeBackends.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>

using namespace tidvale;

namespace {

ScanItem cacheItem(const std::string& path, int64_t size = 1)
{
    return {path.substr(path.rfind('/') + 1), path, size, ScanCategory::userCache, true, false};
}

std::vector<std::string> failedPaths(const DeleteResult& result)
{
    std::vector<std::string> paths;
    for (const auto& [path, message] : result.failures)
        paths.push_back(path);
    return paths;
}

} // namespace

TEST(RunningBrowserRemoval, DataRootsAreComparedByComponent)
{
    const ScopedProfile mac(macProfile());
    TestTree tree;
    ScopedHome home(tree.dir("home"));
    ScopedFakeBackends fakes{std::make_shared<FakeRunningApplications>(
        std::vector<std::string>{"com.apple.Safari", "com.microsoft.edgemac"})};
    tree.file("home/Library/Caches/com.apple.Safari/db", 10);
    tree.file("home/Library/Application Support/Microsoft Edge/Default/Cache/x", 10);
    const std::vector<ScanItem> items{
        cacheItem(tree.path("home/Library/Caches/com.apple.Safari")),      // is
        cacheItem(tree.file("home/Library/Safari/History.db", 10)),        // lies inside
        cacheItem(tree.path("home/Library/Application Support")),          // holds Edge's data
        cacheItem(tree.file("home/Library/Caches/com.apple.Safari2", 10)), // a mere prefix
        cacheItem(tree.file("home/Library/Caches/Firefox/x", 10)),         // not running
    };
    auto result = ScanService::shared().deleteItems(items);
    ASSERT_EQ(failedPaths(result),
        (std::vector<std::string>{items[0].path, items[1].path, items[2].path}));
    EXPECT_EQ(result.failures[0].second, "Cierra Safari y vuelve a intentarlo.");
    EXPECT_EQ(result.failures[2].second, "Cierra Microsoft Edge y vuelve a intentarlo.");
    EXPECT_TRUE(tree.exists("home/Library/Application Support/Microsoft Edge/Default/Cache/x"));
    EXPECT_EQ(result.freed, 2);
}

#ifdef __linux__

namespace {

bool firefoxRuns()
{
    return linuxProfile().isBrowserRunning(ScanCategory::browserFirefox);
}

bool waitFor(bool wanted)
{
    for (int i = 0; i < 500; ++i) {
        if (firefoxRuns() == wanted)
            return true;
        usleep(10000); // polling the process table: the child needs a moment to exec
    }
    return false;
}

} // namespace

static void refusesWhileRunning(const char* name)
{
    const ScopedProfile desktop(linuxProfile());
    TestTree tree;
    ScopedHome home(tree.dir("home"));
    ::unsetenv("XDG_CACHE_HOME");
    const std::string exe = tree.path(std::string("bin/") + name);
    tree.dir("bin");
    std::filesystem::copy_file("/bin/sleep", exe);
    ::chmod(exe.c_str(), 0755);
    const std::string entry = "home/.cache/mozilla/firefox/ab.default/cache2/entries/1";
    tree.file(entry, 600'000);
    const std::vector<ScanItem> items{
        cacheItem(tree.path(entry)),
        cacheItem(tree.path("home/.cache/mozilla")),
        cacheItem(tree.path("home/.cache")),
    };

    const pid_t pid = fork();
    if (pid == 0) {
        execl(exe.c_str(), exe.c_str(), "60", nullptr);
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    const bool seen = waitFor(true);
    DeleteResult refused;
    if (seen)
        refused = ScanService::shared().deleteItems(items);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    ASSERT_TRUE(seen) << name << " was never seen running";

    ASSERT_EQ(refused.failures.size(), 3u);
    for (const auto& [path, message] : refused.failures)
        EXPECT_EQ(message, "Cierra Mozilla Firefox y vuelve a intentarlo.") << path;
    EXPECT_EQ(refused.freed, 0);
    EXPECT_TRUE(tree.exists(entry));

    ASSERT_TRUE(waitFor(false));
    const auto result = ScanService::shared().deleteItems(items);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_FALSE(tree.exists("home/.cache"));
}

// The real process table, with a process whose executable bears a browser's name, and
// the desktop's own folders. Both names run in one test, one after the other: a second
// test's Firefox running meanwhile would be this one's as well.
TEST(RealBrowserProcess, RefusesWhatTouchesItsCacheUntilItEnds)
{
    for (const char* name : {"firefox", "firefox-esr"}) {
        SCOPED_TRACE(name);
        refusesWhileRunning(name);
        if (HasFatalFailure())
            return;
    }
}

#endif

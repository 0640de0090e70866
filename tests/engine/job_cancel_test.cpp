// A stopped job comes back soon whatever it was doing, and what it brings back is
// never taken for a whole result.
#include "engine/finders/Duplicates.h"
#include "engine/finders/LargeFiles.h"
#include "engine/fs/TreeSize.h"

#include "support/CancelMidway.h"
#include "support/TestPool.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace tidvale;

namespace {

// 300 folders, each with a sub-folder and five files: 2100 entries in all.
constexpr int64_t kWideEntries = 300 * 7;

void makeWideTree(const TestTree& t, const std::string& root, size_t fileBytes)
{
    for (int d = 0; d < 300; ++d)
        for (int f = 0; f < 5; ++f)
            t.file(root + "/d" + std::to_string(d) + "/sub/f" + std::to_string(f), fileBytes,
                static_cast<char>('a' + d % 7));
}

} // namespace

TEST(JobCancel, TreeWalksStopBeforeTheNextFolderAndGiveNoSize)
{
    TestTree t;
    makeWideTree(t, "wide", 10);
    ASSERT_EQ(measureTree(testPool(), t.path("wide"), {}), 300 * 5 * 10); // whole when not stopped

    CancelMidway stop;
    EXPECT_EQ(measureTree(testPool(), t.path("wide"), stop.job()), std::nullopt);
    EXPECT_TRUE(stop.cancelled());
    EXPECT_LT(stop.mostDone(), kWideEntries); // returned before the walk could have ended
}

// Both finders stop mid-walk: the large-file list is a part the caller knows for one,
// and the duplicate search says it was stopped and gives no groups.
TEST(JobCancel, FindersStopMidWalk)
{
    TestTree t;
    makeWideTree(t, "Movies", 5000); // every file is large and has copies
    ASSERT_EQ(findLargeFiles(testPool(), {t.path("Movies")}, 100).size(), 1500u);
    ASSERT_FALSE(findDuplicates(testPool(), {t.path("Movies")}).groups.empty());

    std::vector<std::string> said;
    const auto note = [&](const std::string& text) { said.push_back(text); };
    CancelMidway stop;
    const auto partial
        = findLargeFiles(testPool(), {t.path("Movies"), t.path("Movies")}, 100, stop.job(note));
    EXPECT_TRUE(stop.cancelled()); // what tells the caller the list is a part
    EXPECT_LT(partial.size(), 1500u);
    EXPECT_LT(stop.mostDone(), kWideEntries);
    EXPECT_EQ(said, std::vector<std::string>{"Escaneando Movies..."}); // no second root

    said.clear();
    CancelMidway again;
    const auto search = findDuplicates(testPool(), {t.path("Movies")}, again.job(note));
    EXPECT_TRUE(search.cancelled);
    EXPECT_TRUE(search.groups.empty());
    EXPECT_EQ(search.wasted, 0);
    EXPECT_TRUE(said.empty()); // stopped before the buckets were counted
    EXPECT_LT(again.mostDone(), kWideEntries);
}

// Hashing is checked per MiB: two sparse 10 GiB files cost no disk, but reading them
// whole would take many seconds.
TEST(JobCancel, HashingAHugeFileStopsWithinAFewBlocks)
{
    TestTree t;
    constexpr int64_t kSize = 10LL << 30;
    for (const char* name : {"Movies/a.bin", "Movies/b.bin"}) {
        t.file(name, 0);
        ASSERT_EQ(::truncate(t.path(name).c_str(), kSize), 0);
    }
    std::vector<std::string> said;
    // Hashing reports bytes against the bytes to hash, 20 GiB here.
    CancelMidway stop([](int64_t done, int64_t total) { return total == 2 * kSize && done > 0; });
    const auto search = findDuplicates(testPool(), {t.path("Movies")},
        stop.job([&](const std::string& text) { said.push_back(text); }));
    EXPECT_TRUE(search.cancelled);
    EXPECT_TRUE(search.groups.empty());
    EXPECT_EQ(said, std::vector<std::string>{"Calculando hashes para 1 grupos..."});
    EXPECT_GT(stop.mostDone(), 0);
    EXPECT_LT(stop.mostDone(), 2 * kSize);
}

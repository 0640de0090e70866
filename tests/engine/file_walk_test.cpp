// Walking and measuring trees: what a walk lists and in which order, and what a tree
// (or a link) weighs.
#include "engine/finders/FileWalk.h"
#include "engine/fs/TreeSize.h"

#include "support/TestPool.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <numeric>

using namespace tidvale;

namespace {

std::vector<std::string> walkPaths(const std::vector<std::string>& roots, int64_t minSize = 0)
{
    const FileWalk walk(testPool(), roots, minSize);
    std::vector<std::string> out;
    for (size_t i = 0; i < walk.size(); ++i)
        out.push_back(walk.path(i));
    return out;
}

} // namespace

TEST(FileWalk, ListsInTheOrderOfAOneThreadDepthFirstWalk)
{
    TestTree t;
    for (int d = 0; d < 30; ++d)
        for (int f = 0; f < 4; ++f)
            t.file(
                "r/d" + std::to_string(d % 7) + "/s" + std::to_string(d) + "/f" + std::to_string(f),
                10);
    t.file("r/top", 10);
    std::string deep = "r/deep"; // deeper than the folders a walk keeps open
    for (int i = 0; i < 400; ++i)
        deep += "/d";
    t.file(deep + "/leaf", 10);
    // The library's iterator is a one-thread, pre-order walk in listing order.
    std::vector<std::string> expected;
    for (const auto& e : std::filesystem::recursive_directory_iterator(t.path("r")))
        if (e.is_regular_file())
            expected.push_back(e.path().string());
    EXPECT_EQ(walkPaths({t.path("r")}), expected);
    EXPECT_EQ(walkPaths({t.path("r") + "/"}), expected); // a trailing slash changes nothing
}

TEST(FileWalk, UnreadableFoldersAreSkippedAndLinkedRootsFollowed)
{
    TestTree t;
    t.file("real/a", 10);
    t.link("linked", t.path("real"));
    t.file("locked/secret/x", 10);
    ::chmod(t.path("locked/secret").c_str(), 0); // root still reads it; others skip it
    const auto paths = walkPaths({t.path("linked"), t.path("nowhere"), t.path("real/a")});
    EXPECT_EQ(paths, (std::vector<std::string>{t.path("linked/a")}));
    EXPECT_NO_THROW(walkPaths({t.path("locked")}));
}

TEST(FileWalk, FirstOfEachFileKeepsTheFirstPathOfEachInode)
{
    TestTree t;
    t.file("r/a", 10);
    ASSERT_EQ(::link(t.path("r/a").c_str(), t.path("r/b").c_str()), 0);
    t.file("r/c", 10);
    ASSERT_EQ(::link(t.path("r/a").c_str(), t.path("r/d").c_str()), 0);
    const FileWalk walk(testPool(), {t.path("r")}, 0);
    std::vector<uint32_t> all(walk.size());
    std::iota(all.begin(), all.end(), 0u);
    const auto kept = walk.firstOfEachFile(all);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_NE(walk.file(kept[0]).identity, walk.file(kept[1]).identity);
    // A large set of paths takes another road to the same answer.
    for (int i = 0; i < 20; ++i)
        t.file("r/many/f" + std::to_string(i), 10);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(::link(t.path("r/c").c_str(), t.path("r/many/l" + std::to_string(i)).c_str()), 0);
    const FileWalk wide(testPool(), {t.path("r")}, 0);
    std::vector<uint32_t> every(wide.size());
    std::iota(every.begin(), every.end(), 0u);
    EXPECT_EQ(wide.firstOfEachFile(every).size(), 22u); // a, c and the 20 new files

    // The two-member shortcut agrees: linked pairs collapse, distinct pairs stay.
    for (uint32_t i = 0; i < walk.size(); ++i)
        for (uint32_t j = i + 1; j < walk.size(); ++j) {
            const bool same = walk.file(i).identity == walk.file(j).identity;
            const auto expected = same ? std::vector<uint32_t>{i} : std::vector<uint32_t>{i, j};
            EXPECT_EQ(walk.firstOfEachFile({i, j}), expected);
        }
}

// A link is measured as the link (its target text) unless a trailing slash names the
// folder it leads to: removing a link frees only the link.
TEST(TreeSize, CountsFilesNotFoldersAndMeasuresLinksAsLinks)
{
    TestTree t;
    t.file("a/one", 100);
    t.file("a/.hidden", 10);
    t.dir("a/empty/deeper");
    t.file("big", 5000000);
    t.link("a/to-big", t.path("big"));
    t.file("real/x", 42);
    t.link("alias", t.path("real"));
    t.link("real/loop", t.path("real")); // a loop inside is never entered
    t.link("root", "/");
    t.link("dangling", t.path("nowhere"));
    const auto length
        = [&](const std::string& target) { return static_cast<int64_t>(t.path(target).size()); };
    EXPECT_EQ(treeSize(testPool(), t.path("a")), 110 + length("big"));
    EXPECT_EQ(treeSize(testPool(), t.path("a/empty")), 0);
    EXPECT_EQ(treeSize(testPool(), t.path("big")), 5000000);
    EXPECT_EQ(treeSize(testPool(), t.path("a/to-big")), length("big"));
    EXPECT_EQ(treeSize(testPool(), t.path("missing")), 0);
    EXPECT_EQ(treeSize(testPool(), t.path("alias")), length("real"));
    EXPECT_EQ(treeSize(testPool(), t.path("root")), 1); // not the whole machine
    EXPECT_EQ(treeSize(testPool(), t.path("alias") + "/"), 42 + length("real"));
    EXPECT_EQ(treeSize(testPool(), t.path("dangling")), length("nowhere"));
    EXPECT_EQ(treeSize(testPool(), t.path("dangling") + "/"), 0);
}

TEST(TreeSize, DeepTreesOddNamesFifosAndUnreadableFolders)
{
    TestTree t;
    std::string deep = "x/deep";
    for (int i = 0; i < 300; ++i)
        deep += "/d";
    t.file(deep + "/leaf", 7);
    t.file("x/quote\"back\\slash\nnewline", 3);
    t.file(std::string("x/bad-utf8-\xff\xfe"), 4);
    ASSERT_EQ(::mkfifo(t.path("x/fifo").c_str(), 0600), 0);
    t.file("x/closed/secret", 1000);
    ::chmod(t.path("x/closed").c_str(), 0);
    const int64_t expectClosed = ::geteuid() == 0 ? 1000 : 0; // root reads it anyway
    EXPECT_EQ(treeSize(testPool(), t.path("x")), 14 + expectClosed);
}

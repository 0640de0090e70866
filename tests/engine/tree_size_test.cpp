#include "engine/fs/TreeSize.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace tidvale;

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
    EXPECT_EQ(treeSize(t.path("a")), 110 + length("big"));
    EXPECT_EQ(treeSize(t.path("a/empty")), 0);
    EXPECT_EQ(treeSize(t.path("big")), 5000000);
    EXPECT_EQ(treeSize(t.path("a/to-big")), length("big"));
    EXPECT_EQ(treeSize(t.path("missing")), 0);
    EXPECT_EQ(treeSize(t.path("alias")), length("real"));
    EXPECT_EQ(treeSize(t.path("root")), 1); // not the whole machine
    EXPECT_EQ(treeSize(t.path("alias") + "/"), 42 + length("real"));
    EXPECT_EQ(treeSize(t.path("alias") + "//"), 42 + length("real"));
    EXPECT_EQ(treeSize(t.path("dangling")), length("nowhere"));
    EXPECT_EQ(treeSize(t.path("dangling") + "/"), 0);
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
    EXPECT_EQ(treeSize(t.path("x")), 14 + expectClosed);
}

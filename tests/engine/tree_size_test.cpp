#include "engine/fs/TreeSize.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace tidvale;

TEST(TreeSize, CountsFilesNotFoldersAndMeasuresLinksAsLinks)
{
    TestTree t;
    t.file("a/one", 100);
    t.file("a/.hidden", 10);
    t.dir("a/empty/deeper");
    t.file("big", 5000000);
    t.link("a/to-big", t.path("big")); // link size = length of the target text
    const int64_t linkSize = static_cast<int64_t>(t.path("big").size());
    EXPECT_EQ(treeSize(t.path("a")), 110 + linkSize);
    EXPECT_EQ(treeSize(t.path("a/empty")), 0);
    EXPECT_EQ(treeSize(t.path("big")), 5000000);
    EXPECT_EQ(treeSize(t.path("a/to-big")), linkSize); // a link to a file is the link
    EXPECT_EQ(treeSize(t.path("missing")), 0);
}

TEST(TreeSize, ALinkToAFolderIsTheLinkUnlessATrailingSlashNamesTheFolder)
{
    TestTree t;
    t.file("real/x", 42);
    t.link("alias", t.path("real"));
    t.link("real/loop", t.path("real")); // a loop inside is never entered
    t.link("root", "/");
    const int64_t loop = static_cast<int64_t>(t.path("real").size());
    EXPECT_EQ(treeSize(t.path("alias")), loop); // removing it frees only the link
    EXPECT_EQ(treeSize(t.path("root")), 1);     // not the whole machine
    EXPECT_EQ(treeSize(t.path("alias") + "/"), 42 + loop);
    EXPECT_EQ(treeSize(t.path("alias") + "//"), 42 + loop);
    t.link("dangling", t.path("nowhere"));
    EXPECT_EQ(treeSize(t.path("dangling")), static_cast<int64_t>(t.path("nowhere").size()));
    EXPECT_EQ(treeSize(t.path("dangling") + "/"), 0);
}

TEST(TreeSize, LargeWideAndDeepTreesSumExactly)
{
    TestTree t;
    int64_t expected = 0;
    for (int d = 0; d < 60; ++d)
        for (int f = 0; f < 20; ++f) {
            t.file("wide/d" + std::to_string(d) + "/sub/f" + std::to_string(f),
                static_cast<size_t>(d * 20 + f));
            expected += d * 20 + f;
        }
    EXPECT_EQ(treeSize(t.path("wide")), expected); // walked on several threads
    std::string deep = "deep";
    for (int i = 0; i < 300; ++i)
        deep += "/d";
    t.file(deep + "/leaf", 7);
    EXPECT_EQ(treeSize(t.path("deep")), 7);
}

TEST(TreeSize, UnreadableFoldersAndOddNamesAndFifos)
{
    TestTree t;
    t.file("x/quote\"back\\slash\nnewline", 3);
    t.file(std::string("x/bad-utf8-\xff\xfe"), 4);
    ASSERT_EQ(::mkfifo(t.path("x/fifo").c_str(), 0600), 0);
    t.file("x/closed/secret", 1000);
    ::chmod(t.path("x/closed").c_str(), 0);
    const int64_t expectClosed = ::geteuid() == 0 ? 1000 : 0; // root reads it anyway
    EXPECT_EQ(treeSize(t.path("x")), 7 + expectClosed);
}

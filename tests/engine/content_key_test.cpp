#include "engine/finders/ContentKey.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace tidvale;

namespace {

FileIdentity identityOf(const std::string& path)
{
    struct stat st { };
    ::lstat(path.c_str(), &st);
    return {st.st_dev, st.st_ino};
}

} // namespace

// What the keys cover is checked through the duplicate search; here, that a key is
// only ever read from the file the walk met.
TEST(ContentKey, OnlyTheRegularFileTheWalkMetIsRead)
{
    TestTree t;
    t.file("a", 5000);
    t.file("b", 5000);
    t.file("empty", 0);
    t.dir("folder");
    t.link("link", t.path("a"));
    ASSERT_EQ(::mkfifo(t.path("fifo").c_str(), 0600), 0);
    ContentReader reader;
    // Whether the entry at `rel` gives a key when the walk met the one at `met`.
    const auto quick = [&](const std::string& rel, const std::string& met) {
        return reader.quickKey(AT_FDCWD, t.path(rel).c_str(), identityOf(t.path(met))).ok;
    };
    EXPECT_TRUE(quick("a", "a"));
    EXPECT_FALSE(quick("a", "b"));    // replaced since the walk
    EXPECT_FALSE(quick("link", "a")); // links are not followed
    EXPECT_FALSE(quick("gone", "a"));
    EXPECT_FALSE(quick("folder", "folder"));
    EXPECT_FALSE(quick("empty", "empty")); // nothing to key by
    EXPECT_FALSE(                          // returns at once instead of waiting for a writer
        reader.contentKey(AT_FDCWD, t.path("fifo").c_str(), identityOf(t.path("fifo"))).ok);
    EXPECT_TRUE(reader.contentKey(AT_FDCWD, t.path("a").c_str(), identityOf(t.path("a"))).ok);
}

#include "engine/finders/ContentKey.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

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

TEST(ContentKey, KeyTextIsSizeUnderscoreAndLowercaseHex)
{
    Sha256Digest d{};
    d[0] = 0xAB;
    d[31] = 0x0F;
    EXPECT_EQ(contentKeyText(1048576, d), "1048576_ab" + std::string(60, '0') + "0f");
}

TEST(ContentKey, QuickKeyCoversOnlyTheFirst64KiB)
{
    TestTree t;
    const auto small = t.file("small", 4097, 'x');
    const auto large = t.file("large", 65536 + 10, 'x');
    const auto block = t.file("block", 65536, 'x');
    ContentReader reader;
    const auto s = reader.quickKey(small, identityOf(small));
    ASSERT_TRUE(s.ok);
    EXPECT_TRUE(s.wholeFile);
    EXPECT_EQ(contentKeyText(s.stamp.size, s.digest),
        "4097_3e97197f4b8d46a893067c94ab15e195e3d97fb5f24eede5ef047b571240d92b");
    const auto l = reader.quickKey(large, identityOf(large));
    const auto b = reader.quickKey(block, identityOf(block));
    ASSERT_TRUE(l.ok && b.ok);
    EXPECT_FALSE(l.wholeFile);
    EXPECT_EQ(l.digest, b.digest); // same first 65536 bytes
    EXPECT_EQ(l.stamp.size, 65546);
    const auto full = reader.contentKey(large, identityOf(large));
    ASSERT_TRUE(full.ok);
    EXPECT_NE(full.digest, l.digest);
}

TEST(ContentKey, OnlyTheRegularFileTheWalkMetIsRead)
{
    TestTree t;
    const auto a = t.file("a", 5000);
    const auto b = t.file("b", 5000);
    ASSERT_EQ(::mkfifo(t.path("fifo").c_str(), 0600), 0);
    t.link("link", a);
    ContentReader reader;
    EXPECT_FALSE(reader.quickKey(a, identityOf(b)).ok); // replaced since the walk
    EXPECT_FALSE(reader.contentKey(t.path("fifo"), identityOf(t.path("fifo"))).ok); // no hang
    EXPECT_FALSE(reader.quickKey(t.path("link"), identityOf(a)).ok); // links not followed
    EXPECT_FALSE(reader.quickKey(t.path("gone"), identityOf(a)).ok);
    EXPECT_FALSE(reader.quickKey(t.dir("folder"), identityOf(t.path("folder"))).ok);
    const auto empty = t.file("empty", 0);
    EXPECT_FALSE(reader.quickKey(empty, identityOf(empty)).ok); // nothing to key by
    EXPECT_TRUE(reader.contentKey(a, identityOf(a)).ok);
}

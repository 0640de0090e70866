#include "engine/finders/ContentKey.h"
#include "engine/finders/QuickHash.h"

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

TEST(ContentKey, QuickKeyCoversOnlyTheFirst64KiBAndTheContentKeyEverything)
{
    TestTree t;
    const auto small = t.file("small", 4097, 'x');
    const auto large = t.file("large", 65536 + 10, 'x');
    const auto block = t.file("block", 65536, 'x');
    ContentReader reader;
    const auto s = reader.contentKey(AT_FDCWD, small.c_str(), identityOf(small));
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(contentKeyText(s.stamp.size, s.digest),
        "4097_3e97197f4b8d46a893067c94ab15e195e3d97fb5f24eede5ef047b571240d92b");
    const auto l = reader.quickKey(AT_FDCWD, large.c_str(), identityOf(large));
    const auto b = reader.quickKey(AT_FDCWD, block.c_str(), identityOf(block));
    ASSERT_TRUE(l.ok && b.ok);
    EXPECT_EQ(l.quick, b.quick); // same first 65536 bytes
    EXPECT_NE(reader.quickKey(AT_FDCWD, small.c_str(), identityOf(small)).quick, b.quick);
    const auto fullLarge = reader.contentKey(AT_FDCWD, large.c_str(), identityOf(large));
    const auto fullBlock = reader.contentKey(AT_FDCWD, block.c_str(), identityOf(block));
    ASSERT_TRUE(fullLarge.ok && fullBlock.ok);
    EXPECT_NE(fullLarge.digest, fullBlock.digest);
}

TEST(ContentKey, QuickHashSeparatesNearbyContents)
{
    std::string a(65536, 'a');
    std::string b = a;
    b[65535] = 'b';
    std::string c = a;
    c[0] = 'c';
    EXPECT_NE(quickHash(a.data(), a.size()), quickHash(b.data(), b.size()));
    EXPECT_NE(quickHash(a.data(), a.size()), quickHash(c.data(), c.size()));
    EXPECT_NE(quickHash(a.data(), 31), quickHash(a.data(), 30)); // the length counts
    EXPECT_NE(quickHash(a.data(), 33), quickHash(a.data(), 32));
}

TEST(ContentKey, OnlyTheRegularFileTheWalkMetIsRead)
{
    TestTree t;
    const auto a = t.file("a", 5000);
    const auto b = t.file("b", 5000);
    ASSERT_EQ(::mkfifo(t.path("fifo").c_str(), 0600), 0);
    t.link("link", a);
    ContentReader reader;
    EXPECT_FALSE(reader.quickKey(AT_FDCWD, a.c_str(), identityOf(b)).ok); // replaced since the walk
    EXPECT_FALSE(reader.contentKey(AT_FDCWD, t.path("fifo").c_str(), identityOf(t.path("fifo")))
                     .ok); // no hang
    EXPECT_FALSE(
        reader.quickKey(AT_FDCWD, t.path("link").c_str(), identityOf(a)).ok); // links not followed
    EXPECT_FALSE(reader.quickKey(AT_FDCWD, t.path("gone").c_str(), identityOf(a)).ok);
    EXPECT_FALSE(
        reader.quickKey(AT_FDCWD, t.dir("folder").c_str(), identityOf(t.path("folder"))).ok);
    const auto empty = t.file("empty", 0);
    EXPECT_FALSE(
        reader.quickKey(AT_FDCWD, empty.c_str(), identityOf(empty)).ok); // nothing to key by
    EXPECT_TRUE(reader.contentKey(AT_FDCWD, a.c_str(), identityOf(a)).ok);
}

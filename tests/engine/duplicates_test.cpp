#include "engine/finders/ContentKey.h"
#include "engine/finders/DuplicateRemoval.h"
#include "engine/finders/Duplicates.h"

#include "support/ChangeTime.h"
#include "support/FakeBackends.h"
#include "support/TestPool.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>

using namespace tidvale;

namespace {

std::vector<std::vector<std::string>> pathsOf(const DuplicateSearch& s)
{
    std::vector<std::vector<std::string>> out;
    for (const auto& g : s.groups) {
        out.emplace_back();
        for (const auto& f : g.files)
            out.back().push_back(f.path);
    }
    return out;
}

void flipByte(const std::string& path, long at)
{
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(at);
    f.put('!');
}

} // namespace

TEST(Duplicates, EqualPrefixesOnlyGroupWhenTheWholeContentMatches)
{
    TestTree t;
    // Same first 64 KiB, different later: never a group.
    const auto late1 = t.file("r/late1", 70000, 'q');
    const auto late2 = t.file("r/late2", 70000, 'q');
    flipByte(late2, 65536);
    // Different inside the first 64 KiB.
    t.file("r/early1", 90000, 'z');
    flipByte(t.file("r/early2", 90000, 'z'), 65535);
    // Identical throughout, past the quick key's reach and past one 1 MiB block.
    t.file("r/same1", 70000, 'q');
    t.file("r/big1", 3 * 1048576 + 5, 'b');
    t.file("r/big2", 3 * 1048576 + 5, 'b');
    const auto s = findDuplicates(testPool(), {t.path("r")});
    ASSERT_EQ(s.groups.size(), 2u);
    EXPECT_EQ(s.groups[0].size, 3 * 1048576 + 5);
    EXPECT_EQ(
        s.groups[1].hash, "70000_87e39d0a36d219abad3baf4620d958fd3ee3f4cac6d9497e682af735dca09cde");
    // late1 is byte-identical to same1; late2 differs from both after 64 KiB.
    std::vector<std::string> files = pathsOf(s)[1];
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{late1, t.path("r/same1")}));
}

TEST(Duplicates, HiddenEntriesPackagesAndLinksAreNeverCompared)
{
    TestTree t;
    t.file("Music/song.mp3", 8000, 's');
    t.file("Music/.song-copy.mp3", 8000, 's');
    t.file("Music/.cache/song.mp3", 8000, 's');
    t.file("Music/Player.APP/Contents/song.mp3", 8000, 's');
    t.link("Music/link-to-song", t.path("Music/song.mp3"));
    t.link("Music/link-to-folder", t.path("Music/.cache"));
    EXPECT_TRUE(findDuplicates(testPool(), {t.path("Music")}).groups.empty());
    // A folder merely named like an extension-less word is entered.
    t.file("Music/app/song.mp3", 8000, 's');
    EXPECT_EQ(findDuplicates(testPool(), {t.path("Music")}).groups.size(), 1u);
}

TEST(Duplicates, OneFileReachedTwiceIsNeverItsOwnDuplicate)
{
    TestTree t;
    const auto original = t.file("Documents/report.pdf", 20000, 'r');
    ASSERT_EQ(::link(original.c_str(), t.path("Documents/hard-link.pdf").c_str()), 0);
    // A personal folder that is a link into another one: the same files twice.
    t.link("Desktop", t.path("Documents"));
    const std::vector<std::string> roots{t.path("Documents"), t.path("Desktop")};
    EXPECT_TRUE(findDuplicates(testPool(), roots).groups.empty());

    // A real copy makes a group of two distinct files, the first path met kept.
    t.file("Downloads/report copy.pdf", 20000, 'r');
    const auto s
        = findDuplicates(testPool(), {t.path("Downloads"), t.path("Documents"), t.path("Desktop")});
    ASSERT_EQ(s.groups.size(), 1u);
    ASSERT_EQ(s.groups[0].files.size(), 2u);
    EXPECT_EQ(s.groups[0].files[0].path, t.path("Downloads/report copy.pdf"));
    EXPECT_EQ(s.wasted, 20000); // the hard link frees nothing and is not counted
}

TEST(Duplicates, SpecialFilesMissingRootsAndOddNamesDoNotStopTheSearch)
{
    TestTree t;
    ASSERT_EQ(::mkfifo(t.path("fifo").c_str(), 0600), 0);
    t.file("a/quote\"back\\slash\nnewline", 5000, 'o');
    t.file("a/\xff\xfe-invalid-utf8", 5000, 'o');
    EXPECT_EQ(
        findDuplicates(testPool(), {t.path("missing"), t.path("")}).groups.at(0).files.size(), 2u);
}

// Groups by the bytes they hold in all, each keyed by its size and the SHA-256 of its
// content; files of 4096 bytes or less are never compared.
TEST(Duplicates, GroupsOrderedByTotalBytesWithWastedTotal)
{
    TestTree t;
    for (int i = 0; i < 3; ++i)
        t.file("d/three" + std::to_string(i), 10000, '3'); // total 30000, wasted 20000
    for (int i = 0; i < 2; ++i) {
        t.file("d/two" + std::to_string(i), 20000, '2'); // total 40000, wasted 20000
        t.file("d/small" + std::to_string(i), 4097, 'x');
        t.file("d/tiny" + std::to_string(i), 4096, 'x');
    }
    const auto s = findDuplicates(testPool(), {t.path("d")});
    ASSERT_EQ(s.groups.size(), 3u);
    EXPECT_EQ(s.groups[0].size, 20000);
    EXPECT_EQ(s.groups[1].size, 10000);
    EXPECT_EQ(
        s.groups[2].hash, "4097_3e97197f4b8d46a893067c94ab15e195e3d97fb5f24eede5ef047b571240d92b");
    EXPECT_EQ(s.wasted, 20000 + 20000 + 4097);
    EXPECT_EQ(wastedTotal(s.groups), s.wasted);
}

TEST(Duplicates, SameTreeGivesTheSameResultEveryTime)
{
    TestTree t;
    // Many folders so that both threads take part in the walk and the hashing.
    for (int d = 0; d < 40; ++d)
        for (int f = 0; f < 6; ++f)
            t.file("Pictures/d" + std::to_string(d) + "/x/f" + std::to_string(f),
                static_cast<size_t>(4097 + (d * 6 + f) % 17), static_cast<char>('a' + f % 3));
    const auto first = pathsOf(findDuplicates(testPool(), {t.path("Pictures")}));
    ASSERT_FALSE(first.empty());
    for (int run = 0; run < 5; ++run)
        EXPECT_EQ(pathsOf(findDuplicates(testPool(), {t.path("Pictures")})), first);
}

struct DuplicateRemoval : ::testing::Test {
    TestTree t;
    std::shared_ptr<FakeTrash> trash = std::make_shared<FakeTrash>(t.dir("trash"));
};

TEST_F(DuplicateRemoval, MovesOnlyCopiesThatAreStillWhatWasHashed)
{
    for (const char* name : {"keep", "copy1", "copy2", "copy3"})
        t.file(std::string("d/") + name, 9000, 'k');
    const auto s = findDuplicates(testPool(), {t.path("d")});
    ASSERT_EQ(s.groups.size(), 1u);
    auto group = s.groups[0];
    ASSERT_EQ(group.files.size(), 4u);

    // One copy changed after the search (same size, new content and date), one is
    // refused by the Trash: only the remaining one is moved and counted.
    flipByte(group.files[1].path, 10);
    t.setMtime(group.files[1].path.substr(t.root().size() + 1), 1000);
    trash->refuse.push_back(group.files[2].path);
    const auto r = trashExtraCopies(*trash, group);
    EXPECT_EQ(r.goneKeys(), (std::set<std::string>{group.files[3].path}));
    EXPECT_EQ(r.freed(), 9000);
    EXPECT_EQ(r.count(RemovalStatus::changed), 1);
    EXPECT_EQ(r.first(RemovalStatus::failed)->message, "No se pudo mover a la Papelera.");

    // Once the kept copy is gone, no copy is moved: it may be the last one left.
    trash->refuse.clear();
    ASSERT_EQ(::unlink(group.files[0].path.c_str()), 0);
    const auto none = trashExtraCopies(*trash, group);
    EXPECT_EQ(none.count(RemovalStatus::changed), 3);
    EXPECT_TRUE(t.exists(group.files[2].path.substr(t.root().size() + 1)));
}

// The copy the user chose to keep stays, and is checked before any other copy moves:
// rewritten in place after the search, at the same size and with its modification time
// put back, it no longer holds the content, so an extra copy may be the only one left
// of it and must stay.
TEST_F(DuplicateRemoval, ChosenKeptCopyStaysAndMustStillBeWhatWasHashed)
{
    for (const char* name : {"a/one", "a/two", "a/three", "b/one", "b/two"})
        t.file(name, name[0] == 'a' ? 9000 : 8000, 'k');
    const auto s = findDuplicates(testPool(), {t.path("a"), t.path("b")});
    ASSERT_EQ(s.groups.size(), 2u);
    const auto& a = s.groups[0].files;
    const auto keptA = withKeptCopy(s.groups[0], a[2].path);
    EXPECT_EQ(pathsOf(DuplicateSearch{{keptA}}).front(),
        (std::vector<std::string>{a[2].path, a[0].path, a[1].path}));
    EXPECT_EQ(
        trashExtraCopies(*trash, keptA).goneKeys(), (std::set<std::string>{a[0].path, a[1].path}));
    EXPECT_TRUE(t.exists(a[2].path.substr(t.root().size() + 1)));

    const std::string keep = s.groups[1].files.at(1).path; // not the walk's first
    const std::string copy = s.groups[1].files.at(0).path;
    const auto keptB = withKeptCopy(s.groups[1], keep);
    struct stat before { };
    ASSERT_EQ(::stat(keep.c_str(), &before), 0);
    waitForNewChangeTime(t, before);
    flipByte(keep, 100);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, keep.c_str(), times, 0), 0);

    EXPECT_EQ(trashExtraCopies(*trash, keptB).count(RemovalStatus::changed), 1);
    EXPECT_EQ(trash->moved.size(), 2u);
    EXPECT_TRUE(t.exists(copy.substr(t.root().size() + 1)));
    // The same holds for a move of the copy from the row's menu.
    EXPECT_FALSE(trashOneCopy(*trash, keptB, copy).isGone(copy));
}

TEST_F(DuplicateRemoval, OneFileMayBeTheKeptCopyWhenAnotherStays)
{
    t.file("d/a", 6000, 'm');
    t.file("d/b", 6000, 'm');
    const auto group = findDuplicates(testPool(), {t.path("d")}).groups.at(0);
    // The first file goes when the second is still the same content.
    const auto r = trashOneCopy(*trash, group, group.files[0].path);
    EXPECT_EQ(r.goneKeys(), (std::set<std::string>{group.files[0].path}));
    // The other one now has no copy left to stay: refused.
    const auto last = trashOneCopy(*trash, group, group.files[1].path);
    EXPECT_EQ(last.count(RemovalStatus::changed), 1);
    EXPECT_EQ(trash->moved.size(), 1u);
    // A path that is not in the group does nothing.
    const auto elsewhere = trashOneCopy(*trash, group, t.path("elsewhere"));
    EXPECT_TRUE(elsewhere.outcomes.empty());
}

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

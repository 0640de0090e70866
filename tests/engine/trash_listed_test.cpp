#include "engine/fs/ListedItem.h"

#include "support/ChangeTime.h"
#include "support/FakeBackends.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>

using namespace tidvale;

namespace {

struct TrashListed : ::testing::Test {
    TestTree t;
    std::shared_ptr<FakeTrash> trash = std::make_shared<FakeTrash>(t.dir("trash"));

    ListedItem listed(const std::string& rel) const
    {
        ListedItem item{t.path(rel), {}};
        EXPECT_TRUE(readListedStamp(item.path, item.listed));
        return item;
    }
    // Puts a new entry in place of `rel`, as a download finishing under the same name
    // or a program replacing its bundle would.
    void replace(const std::string& rel, bool folder = false) const
    {
        if (folder) {
            t.dir("new");
            t.file("new/inside", 3);
        } else {
            t.file("new", 10);
        }
        ASSERT_EQ(::rename(t.path("new").c_str(), t.path(rel).c_str()), 0);
    }
};

std::vector<TrashOutcome> outcomes(const std::vector<TrashedItem>& results)
{
    std::vector<TrashOutcome> out;
    for (const auto& r : results)
        out.push_back(r.outcome);
    return out;
}

} // namespace

TEST_F(TrashListed, MovesWhatIsStillAsListedAndSaysWhatBecameOfTheRest)
{
    t.file("same", 10);
    t.file("replaced", 10);
    t.file("gone", 10);
    t.file("refused", 10);
    t.link("link", "same");
    t.file("bundle.app/Contents/MacOS/bin", 5);
    t.dir("swapped.app");
    std::vector<ListedItem> items;
    for (const char* rel :
        {"same", "replaced", "gone", "refused", "link", "bundle.app", "swapped.app"})
        items.push_back(listed(rel));
    items.push_back({t.path("never-listed"), {}});

    replace("replaced");
    replace("swapped.app", true);
    ASSERT_EQ(::unlink(t.path("gone").c_str()), 0);
    trash->refuse = {t.path("refused")};
    // Deep inside a bundle is not the bundle itself: the bundle is still what was listed.
    t.file("bundle.app/Contents/MacOS/bin", 50);
    t.file("never-listed", 1);

    const auto results = trashListedItems(*trash, items);
    using O = TrashOutcome;
    EXPECT_EQ(outcomes(results),
        (std::vector<O>{O::moved, O::changed, O::changed, O::failed, O::moved, O::moved, O::changed,
            O::changed}));
    EXPECT_EQ(results[3].error, "No se pudo mover a la Papelera.");
    EXPECT_TRUE(t.exists("replaced") && t.exists("swapped.app/inside") && t.exists("refused"));
    EXPECT_TRUE(t.exists("never-listed"));

    TrashTally tally;
    for (const auto& r : results)
        tally.add(r);
    EXPECT_EQ(tally.moved, 3);
    EXPECT_EQ(tally.changed, 4);
    EXPECT_EQ(tally.failed, 1);
    EXPECT_EQ(tally.firstError, "No se pudo mover a la Papelera.");
    EXPECT_FALSE(tally.movedNothing());
}

// Same inode, same size, modification time put back: only the change time tells. A
// folder with an entry added beside the others is not the folder listed either.
TEST_F(TrashListed, RewrittenFileAndFolderWithAnEntryAddedAreNotMoved)
{
    t.file("Folder/a", 1); // first: the wait below then passes the folder's time too
    const auto path = t.file("report.pdf", 4000, 'a');
    const std::vector<ListedItem> items{listed("report.pdf"), listed("Folder")};
    struct stat before { };
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    waitForNewChangeTime(t, before); // folder times run on the same coarse clock
    t.file("Folder/b", 1);
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(7);
        f.put('!');
    }
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    EXPECT_EQ(outcomes(trashListedItems(*trash, items)),
        (std::vector<TrashOutcome>{TrashOutcome::changed, TrashOutcome::changed}));
    EXPECT_TRUE(trash->moved.empty());
}

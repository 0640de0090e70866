#include "engine/fs/Removal.h"

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

    RemovalTarget listed(const std::string& rel) const
    {
        RemovalTarget item{rel, t.path(rel), {}, 7};
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

std::vector<RemovalStatus> statuses(const RemovalReport& report)
{
    std::vector<RemovalStatus> out;
    for (const auto& r : report.outcomes)
        out.push_back(r.status);
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
    std::vector<RemovalTarget> items;
    for (const char* rel :
        {"same", "replaced", "gone", "refused", "link", "bundle.app", "swapped.app"})
        items.push_back(listed(rel));
    items.push_back({"never-listed", t.path("never-listed"), {}, 7});

    replace("replaced");
    replace("swapped.app", true);
    ASSERT_EQ(::unlink(t.path("gone").c_str()), 0);
    trash->refuse = {t.path("refused")};
    // Deep inside a bundle is not the bundle itself: the bundle is still what was listed.
    t.file("bundle.app/Contents/MacOS/bin", 50);
    t.file("never-listed", 1);

    const auto report = trashTargets(*trash, items);
    using S = RemovalStatus;
    EXPECT_EQ(statuses(report),
        (std::vector<S>{
            S::gone, S::changed, S::changed, S::failed, S::gone, S::gone, S::changed, S::changed}));
    EXPECT_EQ(report.outcomes[3].message, "No se pudo mover a la Papelera.");
    EXPECT_TRUE(t.exists("replaced") && t.exists("swapped.app/inside") && t.exists("refused"));
    EXPECT_TRUE(t.exists("never-listed"));

    // Only what went frees its listed size, and the rows are found again by key.
    EXPECT_EQ(report.freed(), 3 * 7);
    EXPECT_EQ(report.goneKeys(), (std::set<std::string>{"same", "link", "bundle.app"}));
}

// Same inode, same size, modification time put back: only the change time tells. A
// folder with an entry added beside the others is not the folder listed either.
TEST_F(TrashListed, RewrittenFileAndFolderWithAnEntryAddedAreNotMoved)
{
    t.file("Folder/a", 1); // first: the wait below then passes the folder's time too
    const auto path = t.file("report.pdf", 4000, 'a');
    const std::vector<RemovalTarget> items{listed("report.pdf"), listed("Folder")};
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

    EXPECT_EQ(statuses(trashTargets(*trash, items)),
        (std::vector<RemovalStatus>{RemovalStatus::changed, RemovalStatus::changed}));
    EXPECT_TRUE(trash->moved.empty());
}

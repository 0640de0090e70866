// The history of cleans on disk, and the undo that puts trashed items back through the
// Trash's own records.
#include "engine/history/CleanHistory.h"
#include "engine/history/Undo.h"
#include "engine/junk/ScheduledClean.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

#include <fstream>

using namespace tidvale;

namespace {

constexpr std::time_t kNow = 1'796'000'000;

HistoryRun runAt(std::time_t when, const std::string& path)
{
    RemovalReport report;
    RemovalOutcome gone = outcomeAt(path, {});
    gone.size = gone.freed = 10;
    gone.trashedAs = "/trash/files/x";
    report.add(gone);
    report.add(outcomeAt("/left", "apt está en uso"));
    return historyRunOf(report, "Basura del Sistema", when);
}

// An item as a trash client leaves it in `<trash>/files`, with its record.
std::string trashed(const TestTree& t, const std::string& name, const std::string& from,
    const std::string& content = "x")
{
    t.text("data/Trash/info/" + name + ".trashinfo",
        "[Trash Info]\nPath=" + from + "\nDeletionDate=2026-01-02T03:04:05\n");
    return t.text("data/Trash/files/" + name, content);
}

RemovalOutcome goneTo(const std::string& path, const std::string& trashedAs)
{
    RemovalOutcome outcome = outcomeAt(path, {});
    outcome.trashedAs = trashedAs;
    return outcome;
}

} // namespace

TEST(CleanHistory, KeepsRecordsAcrossDamageAndOddNamesAndTrimsToAYear)
{
    TestTree t;
    const std::string file = t.path("state/tidvale/history.jsonl");
    const std::string odd = "/home/ana/caf\xe9\n\"x\\y";
    HistoryRun first = runAt(kNow - 300 * 86400, odd);
    ASSERT_FALSE(appendHistory(file, first));
    // A crash cut a record short: the next one must still start on its own line.
    std::ofstream(file, std::ios::app) << "{\"id\":\"cut";
    HistoryRun second = runAt(kNow - 10, "/b");
    ASSERT_FALSE(appendHistory(file, second));
    HistoryRun third = runAt(kNow - 10, "/c");
    ASSERT_FALSE(appendHistory(file, third));

    HistoryRead read = readHistory(file);
    ASSERT_EQ(read.runs.size(), 3u);
    EXPECT_EQ(read.damagedLines, std::vector<int>{2});
    EXPECT_EQ(read.runs[0].items[0].path, odd);
    EXPECT_EQ(read.runs[0].items[0].outcome, HistoryItem::Outcome::trashed);
    EXPECT_EQ(read.runs[0].items[1].reason, "apt está en uso");
    EXPECT_EQ(read.runs[0].freed, 10);
    EXPECT_NE(second.id, third.id); // the same second
    EXPECT_EQ(findRun(read, "")->id, third.id);
    EXPECT_EQ(findRun(read, second.id)->items[0].path, "/b");

    // Past a year from the oldest, it goes; the file is rewritten whole.
    HistoryRun later = runAt(kNow + 100 * 86400, "/d");
    ASSERT_FALSE(appendHistory(file, later));
    read = readHistory(file);
    ASSERT_EQ(read.runs.size(), 3u);
    EXPECT_EQ(read.runs.front().items[0].path, "/b");
    EXPECT_TRUE(read.damagedLines.empty());
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(CleanHistory, ALinkInPlaceOfTheFileIsNotWrittenThrough)
{
    TestTree t;
    const std::string target = t.text("elsewhere", "mine\n");
    t.dir("state");
    std::filesystem::create_symlink(target, t.path("state/history.jsonl"));
    HistoryRun run = runAt(kNow, "/a");
    EXPECT_TRUE(appendHistory(t.path("state/history.jsonl"), run));
    EXPECT_EQ(readFile(target), "mine\n");
}

TEST(Undo, PutsItemsBackThroughTheirRecordAndNeverOverAnything)
{
    TestTree t;
    const std::string back = trashed(t, "a.txt", t.path("gone/deep/a.txt"), "hola");
    ::chmod(back.c_str(), 0640);
    const timeval times[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
    ::utimes(back.c_str(), times);
    // A volume's trash records the path from the volume's top.
    t.text("vol/.Trash-0/info/v.trashinfo", "[Trash Info]\nPath=dir/v\n");
    const std::string volumeItem = t.text("vol/.Trash-0/files/v", "v");
    const std::string taken = trashed(t, "b.txt", t.path("docs/b.txt"));
    t.text("docs/b.txt", "new");
    const std::string emptied = t.path("data/Trash/files/c.txt");

    const UndoReport report
        = undoRemoval({goneTo(t.path("ignored"), back), goneTo(t.path("vol/dir/v"), volumeItem),
            goneTo(t.path("docs/b.txt"), taken), goneTo(t.path("docs/c.txt"), emptied),
            outcomeAt(t.path("cache"), {}), outcomeAt(t.path("failed"), "no")});

    ASSERT_EQ(report.outcomes.size(), 5u); // what never went is not undone
    EXPECT_EQ(report.outcomes[0].status, UndoStatus::restored);
    EXPECT_EQ(report.outcomes[0].path, t.path("gone/deep/a.txt")); // the record wins
    EXPECT_EQ(readFile(t.path("gone/deep/a.txt")), "hola");
    struct stat st { };
    ::stat(t.path("gone/deep/a.txt").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_mtime, 1'600'000'000);
    EXPECT_FALSE(t.exists("data/Trash/info/a.txt.trashinfo"));
    EXPECT_EQ(report.outcomes[1].status, UndoStatus::restored);
    EXPECT_TRUE(t.exists("vol/dir/v"));
    EXPECT_EQ(report.outcomes[2].status, UndoStatus::occupied);
    EXPECT_EQ(readFile(t.path("docs/b.txt")), "new");
    EXPECT_TRUE(t.exists("data/Trash/files/b.txt"));
    EXPECT_NE(report.outcomes[2].message.find(taken), std::string::npos);
    EXPECT_EQ(report.outcomes[3].status, UndoStatus::notInTrash);
    EXPECT_EQ(report.outcomes[4].status, UndoStatus::notRecoverable);
    EXPECT_EQ(undoSummary(report),
        "↩️ 2 elementos devueltos a su sitio · 3 no se pudieron devolver");
}

TEST(Undo, AnEditedFileGetsItsEarlierCopyBack)
{
    TestTree t;
    const std::string db = t.text("profile/places.sqlite", "edited");
    const std::string copy = trashed(t, "places.sqlite", db, "original");
    RemovalOutcome edited = goneTo(db, copy);
    edited.edited = true;
    // A folder (a browser's Local Storage database) is swapped back whole.
    const std::string storage = t.text("profile/Local Storage/leveldb/000003.log", "edited");
    t.text("data/Trash/files/Local Storage/leveldb/000003.log", "original");
    RemovalOutcome editedFolder
        = goneTo(t.path("profile/Local Storage"), t.path("data/Trash/files/Local Storage"));
    editedFolder.edited = true;
    const UndoReport report = undoRemoval({edited, editedFolder});
    ASSERT_EQ(report.count(UndoStatus::restored), 2) << undoDetails(report);
    EXPECT_EQ(readFile(db), "original");
    EXPECT_EQ(readFile(storage), "original");
    EXPECT_FALSE(t.exists("data/Trash/info/places.sqlite.trashinfo"));
    EXPECT_FALSE(t.exists("data/Trash/files/Local Storage"));
}

TEST(ScheduledSelection, TakesTheChosenCategoriesAndOnlyTrashOlderThanTheRule)
{
    TestTree t;
    const std::time_t now = std::time(nullptr);
    auto dated = [&](const std::string& name, std::time_t when) {
        char stamp[32];
        std::tm local{};
        localtime_r(&when, &local);
        std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
        t.text("Trash/info/" + name + ".trashinfo",
            "[Trash Info]\nPath=/x/" + name + "\nDeletionDate=" + stamp + "\n");
        return ScanItem{name, t.text("Trash/files/" + name, "x"), 1, ScanCategory::trash};
    };
    const std::vector<ScanItem> scan{dated("old", now - 40 * 86400),
        dated("recent", now - 2 * 86400), {"c", "/c", 1, ScanCategory::userCache},
        {"l", "/l", 1, ScanCategory::userLogs}};
    Settings settings;
    settings.categories = {"Caché de Usuario", "Papelera"};

    auto names = [](const std::vector<ScanItem>& items) {
        std::vector<std::string> out;
        for (const auto& item : items)
            out.push_back(item.name);
        return out;
    };
    // With no age rule an unattended clean leaves the Trash whole.
    EXPECT_EQ(names(scheduledSelection(scan, settings, now, false)), std::vector<std::string>{"c"});
    settings.trashMaxAgeDays = 30;
    EXPECT_EQ(names(scheduledSelection(scan, settings, now, false)),
        (std::vector<std::string>{"old", "c"}));
    EXPECT_EQ(names(scheduledSelection(scan, settings, now, true)),
        (std::vector<std::string>{"old", "c", "l"}));
}

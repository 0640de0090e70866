#include "engine/downloads/Downloads.h"

#include "support/Names.h"
#include "support/TestPool.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

using namespace tidvale;
using SystemClock = std::chrono::system_clock;
using std::chrono::seconds;

namespace {

DownloadItem dated(const std::string& name, SystemClock::time_point date, int64_t size = 1)
{
    return {name, "/d/" + name, size, date, "Archivo", false, {}};
}

} // namespace

TEST(Downloads, ListsVisibleTopLevelEntriesOldestFirstWithSizesAndKinds)
{
    TestTree t;
    t.file("Downloads/manual.pdf", 300);
    t.file("Downloads/.DS_Store", 10);
    t.file("Downloads/.partial/x", 10);
    t.file("Downloads/fotos/a.jpg", 1000);
    t.file("Downloads/fotos/sub/b.jpg", 500);
    t.file("Downloads/Installer.app/Contents/bin", 2000);
    t.link("Downloads/atajo", t.path("Downloads/manual.pdf"));
    t.setMtime("Downloads/manual.pdf", 1700000000);
    t.setMtime("Downloads/fotos", 1600000000);
    t.setMtime("Downloads/Installer.app", 1700000000); // equal dates keep listing order
    t.setMtime("Downloads/atajo", 1800000000);
    const auto items = listDownloads(t.path("Downloads"), {}, treeMeasure(testPool()));
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].name, "fotos");
    EXPECT_EQ(items[0].size, 1500);
    EXPECT_EQ(items[0].kind, "Carpeta");
    EXPECT_EQ(items[3].name, "atajo");
    EXPECT_EQ(items[3].kind, "Alias");
    EXPECT_EQ(items[3].size, static_cast<int64_t>(t.path("Downloads/manual.pdf").size()));
    const auto& app = items[1].name == "Installer.app" ? items[1] : items[2];
    EXPECT_EQ(app.size, 2000); // a package is one entry of its whole size
    EXPECT_EQ(app.kind, "Aplicación");
    EXPECT_TRUE(listDownloads(t.path("missing"), {}, treeMeasure(testPool())).empty());
    EXPECT_EQ(downloadsSummary({}), "0 archivos · Cero KB");
    EXPECT_EQ(downloadsSummary(items), "4 archivos · 4 KB");
}

TEST(Downloads, FoldersAreMeasuredByTheGivenMeasureAndAStopLeavesTheRestOut)
{
    TestTree t;
    for (const char* name : {"a", "b", "c", "d"})
        t.file(std::string("Downloads/") + name + "/x", 10);
    auto flag = std::make_shared<CancelFlag>();
    int asked = 0;
    const auto items = listDownloads(t.path("Downloads"), {{}, flag},
        [&](const std::string&, const JobControl& job) -> std::optional<int64_t> {
            EXPECT_FALSE(job.cancelled()); // never asked again once stopped
            if (++asked == 2) {
                flag->cancel();
                return std::nullopt;
            }
            return 77;
        });
    ASSERT_EQ(items.size(), 1u); // the folder cut short is not listed
    EXPECT_EQ(items[0].size, 77);
    EXPECT_EQ(asked, 2);
}

TEST(Downloads, AgeFilterIsStrictlyOlderThanTheCutoff)
{
    const auto now = SystemClock::now();
    const std::vector<DownloadItem> all{dated("year", now - seconds(31536001)),
        dated("exactly30", now - seconds(2592000)), dated("over30", now - seconds(2592001)),
        dated("today", now)};
    EXPECT_EQ(names(filterDownloads(all, 0, now)), names(all));
    EXPECT_EQ(names(filterDownloads(all, 1, now)), (std::vector<std::string>{"year", "over30"}));
    EXPECT_EQ(names(filterDownloads(all, 4, now)), std::vector<std::string>{"year"});
    EXPECT_EQ(names(filterDownloads(all, -1, now)), names(all));
    EXPECT_EQ(names(filterDownloads(all, 5, now)), names(all)); // past the table's end
    auto ticked = all;
    ticked[0].isSelected = true;
    EXPECT_TRUE(filterDownloads(ticked, 3, now).at(0).isSelected); // ticks travel with entries
}

TEST(Downloads, AgeColoursChangeAfterNinetyDaysAndAfterAYear)
{
    const auto now = SystemClock::now();
    EXPECT_EQ(downloadDateColor(now - seconds(86400 * 400), now), SystemColor::orange);
    EXPECT_EQ(downloadDateColor(now - seconds(7776000), now), std::nullopt);
    EXPECT_EQ(downloadDateColor(now - seconds(31536000), now), SystemColor::yellow);
}

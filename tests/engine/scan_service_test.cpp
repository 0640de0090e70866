#include "engine/browsers/RunningBrowsers.h"
#include "engine/fs/TreeSize.h"
#include "engine/junk/JunkCleanRules.h"
#include "engine/junk/ScanService.h"

#include "support/Names.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace tidvale;

namespace {

struct ScanFixture : ::testing::Test, TestContext {
    const ScanService service{context};

    const ScanItem* find(const std::vector<ScanItem>& items, const std::string& name)
    {
        for (const auto& i : items)
            if (i.name == name)
                return &i;
        return nullptr;
    }
};

// Each item as "name|category|size", with what sets it apart from a plain ticked row.
std::vector<std::string> rows(const std::vector<ScanItem>& items)
{
    std::vector<std::string> out;
    for (const auto& i : items)
        out.push_back(i.name + "|" + std::string(displayName(i.category)) + "|"
            + std::to_string(i.size) + (i.isSelected ? "" : "|unticked")
            + (i.requiresAdmin ? "|admin" : ""));
    return out;
}

} // namespace

TEST_F(ScanFixture, ThresholdsHiddenEntriesAndSizeOrder)
{
    tree.file("home/Library/Caches/exact/a", 524288);
    tree.file("home/Library/Caches/over/a", 524289);
    tree.file("home/Library/Caches/.hidden/a", 5000000);
    tree.file("home/Library/Logs/one.log", 1);
    tree.dir("home/Library/Logs/empty/sub");
    tree.file("home/.Trash/empty-file", 0);
    tree.file("home/.Trash/.DS_Store", 10);
    tree.file("home/.Trash/big", 9000000);

    std::vector<std::string> progress;
    auto items = service.scanSystemJunk([&](const std::string& t) { progress.push_back(t); });

    EXPECT_EQ(progress,
        (std::vector<std::string>{"Escaneando caché de usuario...",
            "Escaneando caché del sistema...", "Escaneando registros de usuario...",
            "Escaneando registros del sistema...", "Escaneando papelera..."}));
    // The Trash entry is largest and leads, across categories.
    EXPECT_EQ(rows(items),
        (std::vector<std::string>{"big|Papelera|9000000", "over|Caché de Usuario|524289",
            "one.log|Registros de Usuario|1", "empty-file|Papelera|0"}));
    EXPECT_EQ(items[1].path, tree.path("home/Library/Caches/over"));
}

// The service measures with what it was given, and a stop while an item is measured
// leaves that item out rather than listing a part of its size.
TEST_F(ScanFixture, InjectedMeasureAndAStopMidItem)
{
    tree.file("home/Library/Caches/app/a", 600000);
    tree.file("home/Library/Logs/one.log", 1);
    tree.file("home/Library/Logs/two.log", 2);
    tree.file("home/.Trash/old", 3);

    auto flag = std::make_shared<CancelFlag>();
    std::vector<std::string> measured;
    const ScanService measuring(context, [&](const std::string& path, const JobControl& job) {
        measured.push_back(path);
        if (path.ends_with(".log")) { // the user logs step is under way
            flag->cancel();
            return std::optional<int64_t>();
        }
        return measureTree(*context.pool, path, job);
    });
    EXPECT_EQ(measuring.sizeOfPath(tree.path("home/.Trash/old")), 3);

    std::vector<std::string> said;
    const auto items
        = measuring.scanSystemJunk({[&](const std::string& t) { said.push_back(t); }, flag});
    EXPECT_EQ(said,
        (std::vector<std::string>{"Escaneando caché de usuario...",
            "Escaneando caché del sistema...", "Escaneando registros de usuario..."}));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name, "app");
    EXPECT_EQ(items[0].size, 600000);
    EXPECT_EQ(measured.size(), 3u); // the trash, the cache, one log: nothing after the stop

    // A browser scan stopped before it starts measures nothing.
    measured.clear();
    EXPECT_TRUE(measuring.scanBrowsers(true, {{}, flag}).empty());
    EXPECT_TRUE(measured.empty());
}

TEST_F(ScanFixture, MachineWideItemsNeedAdminOnlyWhenNotWritable)
{
    tree.file("sys/Library/Caches/mine/a", 600000);
    tree.file("sys/Library/Caches/locked/a", 600000);
    tree.file("sys/Library/Logs/system.log", 3);
    tree.protect("sys/Library/Caches/locked");
    auto found = rows(service.scanSystemJunk());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found,
        (std::vector<std::string>{"locked|Caché del Sistema|600000|admin",
            "mine|Caché del Sistema|600000", "system.log|Registros del Sistema|3"}));
}

TEST_F(ScanFixture, BrowsersInFixedOrderWithFirefoxProfilesAndHistory)
{
    tree.file("home/Library/Caches/com.apple.Safari/x", 10);
    tree.file("home/Library/Application Support/Google/Chrome/Default/Cache/x", 20);
    tree.file("home/Library/Application Support/Google/Chrome/Default/GPUCache/x", 30);
    tree.dir("home/Library/Application Support/Microsoft Edge/Default/Cache");
    tree.file("home/Library/Caches/Firefox/Profiles/abc.default/cache2/x", 40);
    tree.file("home/Library/Caches/Firefox/Profiles/.hidden/cache2/x", 40);
    tree.file("home/Library/Safari/History.db", 50);
    tree.file("home/Library/Safari/History.db-shm", 5);

    std::vector<std::string> progress;
    auto quiet = service.scanBrowsers(false, [&](const std::string& t) { progress.push_back(t); });
    EXPECT_EQ(progress,
        (std::vector<std::string>{"Escaneando Safari...", "Escaneando Google Chrome...",
            "Escaneando Google Chrome...", "Escaneando Microsoft Edge...",
            "Escaneando Mozilla Firefox..."}));
    // The empty Edge cache is dropped; history rows come last and are never ticked.
    EXPECT_EQ(rows(quiet),
        (std::vector<std::string>{"com.apple.Safari|Safari|10", "Cache|Google Chrome|20",
            "GPUCache|Google Chrome|30", "Caché (abc.default)|Mozilla Firefox|40"}));
    const auto full = rows(service.scanBrowsers(true));
    EXPECT_EQ(std::vector<std::string>(full.begin() + 4, full.end()),
        (std::vector<std::string>{"Historial · History.db|Safari|50|unticked",
            "Historial · History.db-shm|Safari|5|unticked"}));
}

TEST_F(ScanFixture, DeleteItemsRefusesRunningBrowsersAndSetsAsideAdminItems)
{
    running->set({"com.google.Chrome.helper", "com.google.Chrome"});
    const std::string cache = tree.file("home/Library/Caches/app/blob", 100);
    const std::string chrome = tree.file("home/chrome/Cache/x", 100);
    const std::string admin = tree.file("sys/Library/Caches/locked", 100);
    const std::string unticked = tree.file("home/keep", 100);
    const std::string gone = tree.path("home/never-existed");

    std::vector<ScanItem> items{
        {"app", tree.path("home/Library/Caches/app"), 100, ScanCategory::userCache, true, false},
        {"Cache", tree.path("home/chrome/Cache"), 100, ScanCategory::browserChrome, true, false},
        {"locked", admin, 100, ScanCategory::systemCache, true, true},
        {"keep", unticked, 100, ScanCategory::userCache, false, true},
        {"gone", gone, 5, ScanCategory::userLogs, true, false}};
    auto result = service.deleteItems(items);

    EXPECT_EQ(result.freed(), 100);
    EXPECT_FALSE(tree.exists("home/Library/Caches/app"));
    EXPECT_TRUE(tree.exists("home/chrome/Cache/x"));
    EXPECT_TRUE(tree.exists("sys/Library/Caches/locked"));
    EXPECT_TRUE(tree.exists("home/keep"));
    ASSERT_EQ(failures(result).size(), 2u);
    EXPECT_EQ(failures(result)[0],
        std::make_pair(tree.path("home/chrome/Cache"),
            std::string("Cierra Google Chrome y vuelve a intentarlo.")));
    EXPECT_EQ(failures(result)[1].first, gone);
    ASSERT_EQ(needingAdmin(result).size(), 1u);
    EXPECT_EQ(needingAdmin(result)[0].path, tree.path("sys/Library/Caches/locked"));
}

TEST_F(ScanFixture, OnlyWhatTheAllowListTakesIsEscalatedAfterARefusal)
{
    // Immutable inside, even for root: the plain delete is refused in both places.
    tree.file("home/Library/Logs/protected/x.log", 3);
    tree.protect("home/Library/Logs/protected");
    tree.file("sys/Library/Caches/stuck/inner/x", 5);
    tree.protect("sys/Library/Caches/stuck/inner");
    const std::vector<ScanItem> items{{"protected", tree.path("home/Library/Logs/protected"), 3,
                                          ScanCategory::userLogs, true, false},
        {"stuck", tree.path("sys/Library/Caches/stuck"), 5, ScanCategory::systemCache, true,
            false}};
    auto result = service.deleteItems(items);
    EXPECT_EQ(result.freed(), 0);
    // A password could only end in "Ruta no permitida" for the user's own folder.
    ASSERT_EQ(failures(result).size(), 1u);
    EXPECT_EQ(failures(result)[0].first, items[0].path);
    EXPECT_EQ(failures(result)[0].second,
        "No se ha podido eliminar \u201cprotected\u201d porque no tienes permiso para acceder a "
        "ello.");
    ASSERT_EQ(needingAdmin(result).size(), 1u);
    EXPECT_EQ(needingAdmin(result)[0].path, items[1].path);
    EXPECT_TRUE(tree.exists("home/Library/Logs/protected/x.log"));
}

TEST_F(ScanFixture, LinksAreListedAndRemovedAsLinks)
{
    tree.file("elsewhere/big/blob", 3'000'000);
    const std::string big = tree.path("elsewhere/big");
    const auto linkSize = static_cast<int64_t>(big.size());
    tree.link("home/Library/Caches/cached", big); // the link alone is under the threshold
    tree.link("home/.Trash/linked", big);
    tree.link("home/.Trash/everything", "/"); // measured at once, not by walking the machine
    tree.dir("home/Library/Application Support/Google/Chrome/Default");
    tree.link("home/Library/Application Support/Google/Chrome/Default/Cache", big);

    auto junk = service.scanSystemJunk();
    ASSERT_EQ(junk.size(), 2u);
    EXPECT_EQ(find(junk, "cached"), nullptr);
    ASSERT_NE(find(junk, "linked"), nullptr);
    EXPECT_EQ(find(junk, "linked")->size, linkSize);
    EXPECT_EQ(find(junk, "everything")->size, 1);
    auto browsers = service.scanBrowsers(false);
    ASSERT_EQ(browsers.size(), 1u);
    EXPECT_EQ(browsers[0].size, linkSize);

    junk.insert(junk.end(), browsers.begin(), browsers.end());
    auto result = service.deleteItems(junk);
    EXPECT_TRUE(failures(result).empty());
    EXPECT_EQ(result.freed(), 2 * linkSize + 1); // what was listed is what went
    EXPECT_FALSE(tree.exists("home/.Trash/linked"));
    EXPECT_FALSE(tree.exists("home/Library/Application Support/Google/Chrome/Default/Cache"));
    EXPECT_TRUE(tree.exists("elsewhere/big/blob"));
}

// A browser's variant (a nightly, a canary) keeps data of its own: only the browser
// itself running holds its category.
TEST(ScanCategoryTest, RunningCheckIsExact)
{
    const TestContext mac;
    const auto& running = mac.running;
    running->set({"org.mozilla.firefox.nightly", "com.google.Chrome.canary"});
    EXPECT_FALSE(runningBrowser(mac.context, ScanCategory::browserFirefox));
    EXPECT_FALSE(runningBrowser(mac.context, ScanCategory::browserChrome));
    running->set(
        {"org.mozilla.firefox", "com.apple.Safari", "com.google.Chrome", "com.microsoft.edgemac"});
    EXPECT_EQ(runningBrowser(mac.context, ScanCategory::browserFirefox), "Mozilla Firefox");
    const int before = running->calls;
    for (auto c : {ScanCategory::userCache, ScanCategory::systemCache, ScanCategory::userLogs,
             ScanCategory::systemLogs, ScanCategory::trash})
        EXPECT_FALSE(runningBrowser(mac.context, c));
    EXPECT_EQ(running->calls, before); // the platform is not asked for system categories
}

namespace {

ScanItem item(const std::string& name, bool selected = true, bool admin = false, int64_t size = 10)
{
    return {name, "/x/" + name, size, ScanCategory::userCache, selected, admin};
}

} // namespace

TEST(JunkCleanRules, ConfirmationCountsDirectAndAdministratorRows)
{
    std::vector<ScanItem> rows{item("a"), item("b", true, true), item("c"), item("off", false),
        item("d"), item("e", true, true), item("off-admin", false, true)};
    const auto selection = junkSelection(rows);
    EXPECT_EQ(junkConfirmMessage(selection), "¿Eliminar 5 elemento(s)?");
    EXPECT_EQ(junkConfirmInformative(selection),
        "3 elemento(s) se eliminarán directamente.\n2 elemento(s) requieren contraseña de "
        "administrador (se pedirá a continuación).");

    const auto plain = junkSelection({item("a"), item("b", false, true)});
    EXPECT_EQ(junkConfirmInformative(plain), "Esta acción no se puede deshacer.");
    EXPECT_EQ(junkSelection({item("a", false)}).count(), 0u);
}

TEST(JunkCleanRules, SystemJunkKeepsOnlyUnfinishedRowsPrivacyAlsoKeepsUnticked)
{
    const std::vector<ScanItem> rows{
        item("gone"), item("failed"), item("off", false), item("admin", true, true), item("gone2")};
    RemovalReport result;
    for (const auto& row : rows)
        result.add({row.path, row.path, row.size,
            row.name == "failed"      ? RemovalStatus::failed
                : row.name == "admin" ? RemovalStatus::needsAdministrator
                                      : RemovalStatus::gone,
            {}, row.size, {}, false});

    EXPECT_EQ(names(junkRowsAfterDirectStage(rows, result)),
        (std::vector<std::string>{"failed", "admin"}));
    EXPECT_EQ(names(privacyRowsAfterClean(rows, result)),
        (std::vector<std::string>{"failed", "off", "admin"}));
    EXPECT_EQ(names(itemsNeedingAdministrator(rows, result)), std::vector<std::string>{"admin"});
}

TEST(JunkCleanRules, ReportsShowFiveAtMost)
{
    RemovalReport failed;
    std::vector<ScanItem> seven;
    for (int i = 1; i <= 7; ++i) {
        failed.add({"", "/p/" + std::to_string(i), 0, RemovalStatus::failed,
            "m" + std::to_string(i), 0, {}, false});
        seven.push_back(item("n" + std::to_string(i), true, true));
    }
    failed.add({"", "/odd\nname", 0, RemovalStatus::refused, "m8", 0, {}, false});
    failed.add({"", "/p/admin", 0, RemovalStatus::needsAdministrator, {}, 0, {}, false});
    const auto lines = junkFailureLines(failed);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[7], "⚠️ /odd\xEF\xBF\xBDname:\nm8"); // one report line per failure
    EXPECT_EQ(junkFailureReport(lines),
        "⚠️ /p/1:\nm1\n\n⚠️ /p/2:\nm2\n\n⚠️ /p/3:\nm3\n\n⚠️ /p/4:\nm4\n\n⚠️ "
        "/p/5:\nm5");
    EXPECT_EQ(adminPromptText(seven),
        "7 archivo(s) del sistema no se pueden eliminar sin tu contraseña de administrador:\n\n"
        "• n1\n• n2\n• n3\n• n4\n• n5\n  …y 2 más");

    RemovalReport result; // privacy: sorted, without repeats
    for (const char* m : {"f", "Cierra Safari y vuelve a intentarlo.", "b", "e",
             "Cierra Safari y vuelve a intentarlo.", "d", "c", "a"})
        result.add({"/p", "/p", 0, RemovalStatus::refused, m, 0, {}, false});
    EXPECT_EQ(privacyFailureText(result), "Cierra Safari y vuelve a intentarlo.\na\nb\nc\nd");
}

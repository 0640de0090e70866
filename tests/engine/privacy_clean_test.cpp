// The Linux profile's privacy clean on databases made with SQLite and LevelDB as the
// browsers make them: history and cookies go, bookmarks and kept sites stay, and a
// database that cannot be cleaned safely is left as it was and named.
#include "engine/browsers/BrowserPlaces.h"
#include "engine/browsers/SiteKeep.h"
#include "engine/browsers/linux/BrowserLocations.h"
#include "engine/junk/ScanService.h"
#include "engine/setup/Profiles.h"

#include "support/Names.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>
#include <leveldb/db.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace tidvale;

namespace {

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> entriesOf(const std::string& folder)
{
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

// Runs `sql` on the database at `path`; the first column of the last row it gives.
std::string sql(const std::string& path, const std::string& statements)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::string last;
    sqlite3_exec(
        db, statements.c_str(),
        [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) = values[0] ? values[0] : "";
            return 0;
        },
        &last, nullptr);
    sqlite3_close(db);
    return last;
}

struct LinuxHome : TestContext {
    LinuxHome()
        : TestContext(linuxPlaces())
    {
        tree.text("home/.config/mozilla/firefox/profiles.ini",
            "[Profile0]\nIsRelative=1\nPath=p.default\n[Profile1]\nIsRelative=1\nPath=q.default\n");
    }
    std::string places(const std::string& profile, bool bookmark)
    {
        const std::string path
            = tree.path("home/.config/mozilla/firefox/" + profile + "/places.sqlite");
        tree.dir("home/.config/mozilla/firefox/" + profile);
        sql(path,
            "PRAGMA journal_mode=WAL;"
            "CREATE TABLE moz_origins(id INTEGER PRIMARY KEY, host TEXT);"
            "CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url TEXT, title TEXT, origin_id INT,"
            " visit_count INT, last_visit_date INT);"
            "CREATE TABLE moz_historyvisits(id INTEGER PRIMARY KEY, place_id INT, visit_date INT);"
            "CREATE TABLE moz_bookmarks(id INTEGER PRIMARY KEY, fk INT, title TEXT);"
            "CREATE TABLE moz_keywords(id INTEGER PRIMARY KEY, keyword TEXT, place_id INT);"
            "INSERT INTO moz_origins VALUES(1,'kept.example'),(2,'visited.example');"
            "INSERT INTO moz_places VALUES(1,'https://kept.example/','Marcado',1,3,99),"
            "(2,'https://visited.example/secret-page','Página secreta',2,1,98),"
            "(3,'https://kept.example/search?q=%s','Buscar',1,0,NULL);"
            "INSERT INTO moz_historyvisits VALUES(1,1,99),(2,2,98);"
            "INSERT INTO moz_keywords VALUES(1,'k',3);"
                + std::string(bookmark ? "INSERT INTO moz_bookmarks VALUES(1,1,'Marcado');" : ""));
        return path;
    }
    ScanItem item(const std::string& path, ScanCategory category = ScanCategory::browserFirefox)
    {
        return {"x", path, 1, category, true, false};
    }
};

} // namespace

TEST(PrivacyClean, FirefoxHistoryGoesBookmarksStayAndTheOriginalWaitsInTheTrash)
{
    LinuxHome home;
    const std::string marked = home.places("p.default", true);
    const std::string bare = home.places("q.default", false); // a profile without bookmarks
    const std::string before = bytesOf(marked);
    EXPECT_EQ(names(ScanService(home.context).scanHistory()),
        (std::vector<std::string>{"Historial (p.default)", "Historial (q.default)"}));

    const auto report = ScanService(home.context).deleteItems({home.item(marked), home.item(bare)});
    for (const auto& outcome : report.outcomes) {
        ASSERT_TRUE(outcome.isGone()) << outcome.message;
        EXPECT_TRUE(outcome.edited);
        EXPECT_EQ(sql(outcome.path, "PRAGMA integrity_check"), "ok");
        // VACUUM leaves no deleted row readable in a free page.
        EXPECT_EQ(bytesOf(outcome.path).find("secret-page"), std::string::npos);
    }
    EXPECT_EQ(bytesOf(report.outcomes[0].trashedAs), before);
    EXPECT_EQ(sql(marked, "SELECT group_concat(url, ' ') FROM moz_places"),
        "https://kept.example/ https://kept.example/search?q=%s");
    EXPECT_EQ(sql(marked, "SELECT count(*) FROM moz_historyvisits"), "0");
    EXPECT_EQ(sql(marked, "SELECT visit_count || last_visit_date FROM moz_places WHERE id=1"), "");
    EXPECT_EQ(sql(marked, "SELECT group_concat(host) FROM moz_origins"), "kept.example");
    EXPECT_EQ(
        sql(bare, "SELECT group_concat(url) FROM moz_places"), "https://kept.example/search?q=%s");
    // Nothing left to offer once it is clean.
    EXPECT_TRUE(ScanService(home.context).scanHistory().empty());
}

TEST(PrivacyClean, LockedDamagedOrInUseDatabasesAreLeftAndNamed)
{
    LinuxHome home;
    const std::string locked = home.places("p.default", true);
    const std::string damaged = home.tree.text(
        "home/.config/mozilla/firefox/q.default/places.sqlite", std::string(4096, 'x'));
    const std::string lockedBytes = bytesOf(locked);
    sqlite3* holder = nullptr;
    sqlite3_open(locked.c_str(), &holder);
    sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    auto report = ScanService(home.context).deleteItems({home.item(locked), home.item(damaged)});
    sqlite3_close(holder);
    EXPECT_EQ(report.outcomes[0].status, RemovalStatus::refused);
    EXPECT_EQ(report.outcomes[0].message,
        "“" + locked + "” está en uso por otro programa: se deja como está.");
    EXPECT_EQ(report.outcomes[1].status, RemovalStatus::failed);
    EXPECT_NE(report.outcomes[1].message.find("“" + damaged + "” está dañada"), std::string::npos);
    EXPECT_EQ(bytesOf(locked), lockedBytes);
    EXPECT_EQ(bytesOf(damaged), std::string(4096, 'x'));
    EXPECT_TRUE(home.trash->moved.empty());

    home.running->set({"/usr/lib/firefox-esr/firefox-esr"});
    report = ScanService(home.context).deleteItems({home.item(locked)});
    EXPECT_EQ(report.outcomes[0].message, "Cierra Mozilla Firefox y vuelve a intentarlo.");
    EXPECT_EQ(bytesOf(locked), lockedBytes);
}

TEST(PrivacyClean, ChromiumHistoryEverywhereAndSiteDataOfKeptSitesStays)
{
    LinuxHome home;
    TestTree& t = home.tree;
    const std::string profile = "home/.config/chromium/Profile 1/";
    for (const std::string file : {"History", "History-journal", "Visited Links", "Top Sites",
             "Favicons", "Shortcuts", "Network Action Predictor", "Sessions/Session_1",
             "Sessions/Tabs_1", "Bookmarks", "Login Data", "Preferences"})
        t.file(profile + file, 10);
    t.file("home/.config/chromium/segmentation_platform/ukm_db", 10); // beside the profiles
    const auto f = linuxdesk::desktopFolders(home.home(), ::geteuid(), "", "", "");
    std::vector<std::string> history;
    for (const auto& c : linuxdesk::listBrowserHistory(f))
        history.push_back(c.candidate.name);
    EXPECT_EQ(history,
        (std::vector<std::string>{"Historial · History (Profile 1)",
            "Historial · History-journal (Profile 1)", "Historial · Visited Links (Profile 1)",
            "Historial · Top Sites (Profile 1)", "Historial · Favicons (Profile 1)",
            "Historial · Shortcuts (Profile 1)", "Historial · Network Action Predictor (Profile 1)",
            "Historial · Sessions (Profile 1)", "Historial · ukm_db"}));

    // An older profile keeps its cookies beside the others, with no "Network" folder.
    const std::string cookies = t.path(profile + "Cookies");
    sql(cookies,
        "CREATE TABLE cookies(host_key TEXT, name TEXT);"
        "INSERT INTO cookies VALUES('.mail.example.org','s'),('example.org','t'),"
        "('badexample.org','u'),('127.0.0.1','v');");
    for (const std::string site :
        {"https_mail.example.org_0", "http_127.0.0.1_8000", "chrome-extension_abc_0"})
        t.file(profile + "IndexedDB/" + site + ".indexeddb.leveldb/CURRENT", 16);
    t.dir(profile + "Local Storage");
    {
        leveldb::Options options;
        options.create_if_missing = true;
        leveldb::DB* raw = nullptr;
        ASSERT_TRUE(
            leveldb::DB::Open(options, t.path(profile + "Local Storage/leveldb"), &raw).ok());
        std::unique_ptr<leveldb::DB> db(raw);
        using namespace std::string_literals;
        for (const std::string& key :
            {"_https://example.org\0\1k"s, "_http://127.0.0.1:8000\0\1secreto"s,
                "META:http://127.0.0.1:8000"s, "_chrome-extension://abc\0\1k"s, "VERSION"s})
            db->Put(leveldb::WriteOptions(), key, "v");
    }
    home.tree.text("home/.config/tidvale/tidvale.toml", "keep_sites = [\"example.org\"]\n");
    home.context.settings.path = t.path("home/.config/tidvale/tidvale.toml");

    ScanService service(home.context);
    auto items = service.scanSiteData();
    EXPECT_EQ(names(items),
        (std::vector<std::string>{"Cookies (Profile 1) · se conserva 1 sitio",
            "Local Storage (Profile 1) · se conserva 1 sitio",
            "IndexedDB (Profile 1) · se conserva 1 sitio"}));
    for (auto& item : items)
        item.isSelected = true;
    for (const auto& outcome : service.deleteItems(items).outcomes)
        EXPECT_TRUE(outcome.isGone()) << outcome.message;
    EXPECT_EQ(sql(cookies, "SELECT group_concat(host_key, ' ') FROM cookies"),
        ".mail.example.org example.org");
    EXPECT_EQ(entriesOf(t.path(profile + "IndexedDB")),
        (std::vector<std::string>{"chrome-extension_abc_0.indexeddb.leveldb",
            "https_mail.example.org_0.indexeddb.leveldb"}));
    leveldb::DB* raw = nullptr;
    ASSERT_TRUE(leveldb::DB::Open({}, t.path(profile + "Local Storage/leveldb"), &raw).ok());
    std::unique_ptr<leveldb::DB> db(raw);
    std::vector<std::string> left;
    std::unique_ptr<leveldb::Iterator> it(db->NewIterator({}));
    for (it->SeekToFirst(); it->Valid(); it->Next())
        left.push_back(it->key().ToString().substr(0, 12));
    EXPECT_EQ(left, (std::vector<std::string>{"VERSION", "_chrome-exte", "_https://exa"}));
    EXPECT_EQ(home.trash->moved.size(), 2u); // the two databases' originals
}

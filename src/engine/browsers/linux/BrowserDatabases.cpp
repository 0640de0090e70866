#include "engine/browsers/linux/BrowserDatabases.h"

#include "engine/browsers/SiteKeep.h"
#include "engine/browsers/linux/EditedFile.h"
#include "engine/fs/PathText.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <functional>
#include <memory>
#include <set>

namespace tidvale::linuxdesk {
namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

Database open(const std::string& path, int flags)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    Database owned(db);
    if (db)
        sqlite3_busy_timeout(db, 0);
    return owned;
}

// SQLite's code when it failed (its message in `error`), SQLITE_OK otherwise.
int exec(sqlite3* db, const std::string& sql, std::string& error)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK)
        error = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    return rc;
}

std::string firstText(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* statement = nullptr;
    std::string text = "?";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        if (const unsigned char* value = sqlite3_column_text(statement, 0))
            text = reinterpret_cast<const char*>(value);
    sqlite3_finalize(statement);
    return text;
}

bool hasTable(sqlite3* db, const std::string& table)
{
    return firstText(
               db, "SELECT name FROM sqlite_master WHERE type='table' AND name='" + table + "'")
        == table;
}

bool isLocked(int rc)
{
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

std::string lockedText(const std::string& path)
{
    return "“" + path + "” está en uso por otro programa: se deja como está.";
}

std::string damagedText(const std::string& path, const std::string& why)
{
    return "“" + path + "” está dañada (" + why + "): se deja como está.";
}

bool exists(const std::string& path)
{
    struct stat st { };
    return lstat(path.c_str(), &st) == 0;
}

int64_t fileSize(const std::string& path)
{
    struct stat st { };
    return lstat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
}

using Edit = std::function<int(sqlite3*, std::string&)>;

// The original is only read: once SQLite granted the write lock a browser holding the
// file would refuse, a snapshot of it (through its journal, should one be there) is
// taken under a read lock. The
// rows go in one transaction on the snapshot, VACUUM then drops their bytes from the
// free pages, and only a copy that passes integrity_check replaces the original.
RemovalOutcome editDatabase(const Context& context, const ScanItem& item, const Edit& edit)
{
    const std::string& path = item.path;
    const int64_t sizeBefore = fileSize(path);
    std::string working;
    {
        Database original = open(path, SQLITE_OPEN_READWRITE);
        if (!original)
            return leftAlone(item, RemovalStatus::failed, "No se pudo abrir “" + path + "”.");
        std::string error;
        // The write lock is only asked for: a backup reads under a read lock alone.
        int rc = exec(original.get(), "BEGIN IMMEDIATE", error);
        if (rc == SQLITE_OK)
            rc = exec(original.get(), "ROLLBACK", error);
        if (rc == SQLITE_OK)
            rc = exec(original.get(), "BEGIN", error);
        if (rc != SQLITE_OK)
            return leftAlone(item, isLocked(rc) ? RemovalStatus::refused : RemovalStatus::failed,
                isLocked(rc) ? lockedText(path) : damagedText(path, error));
        const std::string check = firstText(original.get(), "PRAGMA quick_check");
        if (check != "ok")
            return leftAlone(item, RemovalStatus::failed, damagedText(path, check));
        working = newWorkingFile(path);
        Database copy = working.empty() ? nullptr : open(working, SQLITE_OPEN_READWRITE);
        sqlite3_backup* backup
            = copy ? sqlite3_backup_init(copy.get(), "main", original.get(), "main") : nullptr;
        rc = backup ? sqlite3_backup_step(backup, -1) : SQLITE_CANTOPEN;
        sqlite3_backup_finish(backup);
        exec(original.get(), "ROLLBACK", error);
        if (rc != SQLITE_DONE) {
            copy.reset();
            dropWorking(working);
            return leftAlone(item, RemovalStatus::failed,
                "No se pudo copiar “" + path + "”: " + sqlite3_errstr(rc));
        }
    }
    // With the last connection closed, SQLite folds its journal back in; one still
    // there means another program has the database open.
    if (exists(path + "-wal")) {
        dropWorking(working);
        return leftAlone(item, RemovalStatus::refused, lockedText(path));
    }
    std::string error;
    {
        Database copy = open(working, SQLITE_OPEN_READWRITE);
        int rc = copy ? exec(copy.get(), "BEGIN", error) : SQLITE_CANTOPEN;
        if (rc == SQLITE_OK)
            rc = edit(copy.get(), error);
        if (rc == SQLITE_OK)
            rc = exec(copy.get(), "COMMIT", error);
        if (rc == SQLITE_OK)
            rc = exec(copy.get(), "VACUUM", error);
        if (rc == SQLITE_OK) {
            const std::string check = firstText(copy.get(), "PRAGMA integrity_check");
            if (check != "ok") {
                rc = SQLITE_CORRUPT;
                error = check;
            }
        }
        if (rc != SQLITE_OK) {
            copy.reset();
            dropWorking(working);
            return leftAlone(item, RemovalStatus::failed,
                "No se pudo limpiar “" + path + "” (" + error + "): se deja como está.");
        }
    }
    for (const char* journal : {"-wal", "-shm", "-journal"})
        dropWorking(exists(working + journal) ? working + journal : "");
    return replaceWithEdited(context, item, working, sizeBefore);
}

// Runs each statement whose table exists, in order: the schema differs between
// versions of the browser.
int runAll(
    sqlite3* db, const std::vector<std::pair<std::string, std::string>>& steps, std::string& error)
{
    for (const auto& [table, sql] : steps) {
        if (!hasTable(db, table))
            continue;
        if (const int rc = exec(db, sql, error); rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

// The SQL function kept(host) over the given hosts, for one connection.
void addKeptFunction(sqlite3* db, const std::vector<std::string>* kept)
{
    sqlite3_create_function(
        db, "tidvale_kept", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
        const_cast<void*>(static_cast<const void*>(kept)),
        [](sqlite3_context* call, int, sqlite3_value** args) {
            const auto* sites
                = static_cast<const std::vector<std::string>*>(sqlite3_user_data(call));
            const unsigned char* host = sqlite3_value_text(args[0]);
            sqlite3_result_int(
                call, host && isKeptHost(*sites, reinterpret_cast<const char*>(host)) ? 1 : 0);
        },
        nullptr, nullptr);
}

} // namespace

bool hasFirefoxHistory(const std::string& placesPath)
{
    // Read as it is on disk, without taking a lock or writing a journal: the browser
    // may run while the Privacy screen lists.
    Database db
        = open("file:" + placesPath + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    if (!db)
        return true;
    const std::string found = firstText(db.get(),
        "SELECT (SELECT count(*) FROM moz_historyvisits) + (SELECT count(*) FROM moz_places "
        "WHERE id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk NOT NULL) AND id NOT IN "
        "(SELECT place_id FROM moz_keywords WHERE place_id NOT NULL))");
    return found != "0";
}

RemovalOutcome cleanFirefoxHistory(const Context& context, const ScanItem& item)
{
    return editDatabase(context, item, [](sqlite3* db, std::string& error) {
        const std::string unreferenced
            = "id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk NOT NULL)"
              " AND id NOT IN (SELECT place_id FROM moz_keywords WHERE place_id NOT NULL)";
        return runAll(db,
            {
                {"moz_historyvisits", "DELETE FROM moz_historyvisits"},
                {"moz_historyvisits_extra", "DELETE FROM moz_historyvisits_extra"},
                {"moz_inputhistory", "DELETE FROM moz_inputhistory"},
                {"moz_places_metadata", "DELETE FROM moz_places_metadata"},
                {"moz_places_metadata_search_queries",
                    "DELETE FROM moz_places_metadata_search_queries"},
                {"moz_previews_tombstones", "DELETE FROM moz_previews_tombstones"},
                {"moz_places", "DELETE FROM moz_places WHERE " + unreferenced},
                // A bookmark stays, but not when it was last visited nor how often.
                {"moz_places", "UPDATE moz_places SET visit_count = 0, last_visit_date = NULL"},
                {"moz_places_extra",
                    "DELETE FROM moz_places_extra WHERE place_id NOT IN (SELECT id FROM "
                    "moz_places)"},
                {"moz_annos",
                    "DELETE FROM moz_annos WHERE place_id NOT IN (SELECT id FROM moz_places)"},
                {"moz_origins",
                    "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places)"},
            },
            error);
    });
}

RemovalOutcome cleanFirefoxIcons(const Context& context, const ScanItem& item)
{
    // The pages that stay are read from places.sqlite as it is now, after its own clean.
    const std::string places = parentFolder(item.path) + "/places.sqlite";
    auto kept = std::make_shared<std::set<std::string>>();
    {
        Database db
            = open("file:" + places + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
        sqlite3_stmt* statement = nullptr;
        if (!db
            || sqlite3_prepare_v2(db.get(), "SELECT url FROM moz_places", -1, &statement, nullptr)
                != SQLITE_OK) {
            sqlite3_finalize(statement);
            return leftAlone(item, RemovalStatus::failed,
                "No se pudo leer “" + places + "”: se deja “" + item.path + "” como está.");
        }
        while (sqlite3_step(statement) == SQLITE_ROW)
            if (const unsigned char* url = sqlite3_column_text(statement, 0))
                kept->insert(reinterpret_cast<const char*>(url));
        sqlite3_finalize(statement);
    }
    return editDatabase(context, item, [kept](sqlite3* db, std::string& error) {
        sqlite3_create_function(
            db, "tidvale_kept_page", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, kept.get(),
            [](sqlite3_context* call, int, sqlite3_value** args) {
                const auto* pages
                    = static_cast<const std::set<std::string>*>(sqlite3_user_data(call));
                const unsigned char* url = sqlite3_value_text(args[0]);
                sqlite3_result_int(
                    call, url && pages->count(reinterpret_cast<const char*>(url)) ? 1 : 0);
            },
            nullptr, nullptr);
        return runAll(db,
            {
                {"moz_pages_w_icons",
                    "DELETE FROM moz_pages_w_icons WHERE NOT tidvale_kept_page(page_url)"},
                {"moz_icons_to_pages",
                    "DELETE FROM moz_icons_to_pages WHERE page_id NOT IN (SELECT id FROM "
                    "moz_pages_w_icons)"},
                {"moz_icons",
                    "DELETE FROM moz_icons WHERE id NOT IN (SELECT icon_id FROM "
                    "moz_icons_to_pages)"},
            },
            error);
    });
}

RemovalOutcome cleanCookies(
    const Context& context, const ScanItem& item, const std::vector<std::string>& keptSites)
{
    return editDatabase(context, item, [&keptSites](sqlite3* db, std::string& error) {
        addKeptFunction(db, &keptSites);
        return runAll(db,
            {
                {"moz_cookies", "DELETE FROM moz_cookies WHERE NOT tidvale_kept(host)"},
                {"cookies", "DELETE FROM cookies WHERE NOT tidvale_kept(host_key)"},
            },
            error);
    });
}

} // namespace tidvale::linuxdesk

#include "engine/browsers/linux/SiteStorage.h"

#include "engine/browsers/SiteKeep.h"
#include "engine/browsers/linux/EditedFile.h"
#include "engine/fs/FolderFd.h"
#include "engine/fs/SafeRemove.h"

#include <leveldb/db.h>
#include <leveldb/write_batch.h>

#include <memory>

namespace tidvale::linuxdesk {
namespace {

// The origin a Local Storage key belongs to: "_<origin>\0<key>", "META:<origin>",
// "METAACCESS:<origin>"; "" for the database's own keys ("VERSION").
std::string originOfLocalStorageKey(std::string_view key)
{
    if (key.starts_with('_'))
        return std::string(key.substr(1,
            key.find('\0') == std::string_view::npos ? std::string_view::npos
                                                     : key.find('\0') - 1));
    for (std::string_view prefix : {"META:", "METAACCESS:"})
        if (key.starts_with(prefix))
            return std::string(key.substr(prefix.size()));
    return "";
}

bool isRemovableOrigin(std::string_view origin, const std::vector<std::string>& keptSites)
{
    const auto host = hostOfOrigin(origin);
    return host && !isKeptHost(keptSites, *host);
}

std::unique_ptr<leveldb::DB> openLevelDb(const std::string& folder, std::string& error, bool create)
{
    leveldb::Options options;
    options.create_if_missing = create;
    options.error_if_exists = create;
    leveldb::DB* db = nullptr;
    const leveldb::Status status = leveldb::DB::Open(options, folder, &db);
    if (!status.ok())
        error = status.ToString();
    return std::unique_ptr<leveldb::DB>(db);
}

} // namespace

RemovalOutcome cleanSiteFolders(
    const ScanItem& item, OriginNaming naming, const std::vector<std::string>& keptSites)
{
    FolderFd folder(openFolderNoFollow(item.path));
    if (!folder)
        return leftAlone(item, RemovalStatus::changed, {});
    RemovalOutcome outcome{item.path, item.path, item.size, RemovalStatus::gone, {}, 0, {}, false};
    for (const auto& name : entryNames(folder.get())) {
        const auto host = naming == OriginNaming::firefox ? hostOfFirefoxOriginFolder(name)
                                                          : hostOfChromiumOriginFolder(name);
        if (!host || isKeptHost(keptSites, *host))
            continue;
        addRemoved(outcome, removeItemAt(folder.get(), name, item.path + "/" + name));
    }
    return outcome;
}

RemovalOutcome cleanLocalStorage(
    const Context& context, const ScanItem& item, const std::vector<std::string>& keptSites)
{
    // The original is read from a copy, since opening a LevelDB database writes to it;
    // what stays is written to a new database, whose files then hold nothing of what
    // went: compacting in place would keep the removed keys in the manifest's history.
    const std::string copy = newWorkingFolder(item.path);
    const std::string working = newWorkingFolder(item.path);
    std::optional<std::string> failed;
    if (copy.empty() || working.empty())
        failed = "no se pudo copiar “" + item.path + "”";
    else
        failed = copyTree(item.path, copy);
    if (!failed) {
        std::string error;
        auto from = openLevelDb(copy + "/leveldb", error, false);
        auto to = from ? openLevelDb(working + "/leveldb", error, true) : nullptr;
        if (to) {
            std::unique_ptr<leveldb::Iterator> it(from->NewIterator(leveldb::ReadOptions()));
            leveldb::WriteBatch batch;
            for (it->SeekToFirst(); it->Valid(); it->Next()) {
                const std::string origin
                    = originOfLocalStorageKey(std::string_view(it->key().data(), it->key().size()));
                if (!isRemovableOrigin(origin, keptSites))
                    batch.Put(it->key(), it->value());
            }
            leveldb::Status status = it->status();
            if (status.ok())
                status = to->Write(leveldb::WriteOptions(), &batch);
            if (!status.ok())
                error = status.ToString();
        }
        if (!error.empty())
            failed = "no se pudo limpiar “" + item.path + "” (" + error + ")";
    }
    dropWorking(copy);
    if (failed) {
        dropWorking(working);
        return leftAlone(item, RemovalStatus::failed, *failed + ": se deja como está.");
    }
    return replaceWithEdited(context, item, working, item.size);
}

std::vector<std::string> serviceWorkerOrigins(const std::string& serviceWorkerFolder)
{
    // Read from a copy: opening a LevelDB database writes to it, and a listing changes
    // nothing of the user's.
    std::vector<std::string> origins;
    const std::string database = serviceWorkerFolder + "/Database";
    const std::string copy = newWorkingFolder(database);
    std::string error;
    if (!copy.empty() && !copyTree(database, copy)) {
        if (auto db = openLevelDb(copy, error, false)) {
            std::unique_ptr<leveldb::Iterator> it(db->NewIterator(leveldb::ReadOptions()));
            const std::string prefix = "INITDATA_UNIQUE_ORIGIN:";
            for (it->Seek(prefix); it->Valid() && it->key().starts_with(prefix); it->Next())
                origins.emplace_back(
                    it->key().data() + prefix.size(), it->key().size() - prefix.size());
        }
    }
    dropWorking(copy);
    return origins;
}

bool isServiceWorkerRemovable(
    const std::string& serviceWorkerFolder, const std::vector<std::string>& keptSites)
{
    for (const auto& origin : serviceWorkerOrigins(serviceWorkerFolder))
        if (!isRemovableOrigin(origin, keptSites))
            return false;
    return true;
}

} // namespace tidvale::linuxdesk

#include "engine/junk/linux/TrashEntries.h"

#include "engine/fs/FolderFd.h"
#include "engine/junk/linux/DirectorySizes.h"
#include "engine/junk/linux/TrashInfo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <unordered_set>

namespace tidvale::linuxdesk {
namespace {

constexpr std::string_view kInfoSuffix = ".trashinfo";
// A real .trashinfo is a few hundred bytes; anything far larger is not one.
constexpr size_t kMaxInfoBytes = 64 * 1024;

bool endsWith(const std::string& s, std::string_view suffix)
{
    return s.size() > suffix.size()
        && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isAllDigits(const std::string& s)
{
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// The name the entry is shown with: the original one its .trashinfo records, else
// the entry's own.
std::string shownName(int infoFd, const std::string& infoFile, const std::string& fallback)
{
    if (infoFd >= 0) {
        if (const auto text = readPlainFileAt(infoFd, infoFile, kMaxInfoBytes)) {
            if (auto name = trashInfoName(*text))
                return *name;
        }
    }
    return fallback;
}

// Where a trash entry's path points: the trash folder, which half, and the entry name.
struct EntryPath {
    std::string trash;
    std::string sharedTrash; // `$topdir/.Trash` when the trash is `$topdir/.Trash/$uid`
    bool isInfo = false;
    bool isExpunged = false; // left by an emptying that was cut short: no record beside it
    std::string name;
};

std::optional<EntryPath> parseEntryPath(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    std::vector<std::string> parts;
    for (size_t start = 1; start <= path.size();) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return std::nullopt;
        parts.push_back(std::move(part));
        start = end + 1;
    }
    if (parts.size() < 3)
        return std::nullopt;
    const std::string& trash = parts[parts.size() - 3];
    const std::string& half = parts[parts.size() - 2];
    const std::string& entry = parts.back();
    const bool volumeShared
        = isAllDigits(trash) && parts.size() >= 4 && parts[parts.size() - 4] == ".Trash";
    const bool isTrash = trash == "Trash" || volumeShared
        || (trash.rfind(".Trash-", 0) == 0 && isAllDigits(trash.substr(7)));
    if (!isTrash || (half != "files" && half != "info" && half != "expunged"))
        return std::nullopt;
    EntryPath where;
    where.trash = path.substr(0, path.size() - half.size() - entry.size() - 2);
    if (volumeShared)
        where.sharedTrash = where.trash.substr(0, where.trash.size() - trash.size() - 1);
    where.isInfo = half == "info";
    where.isExpunged = half == "expunged";
    if (where.isInfo) {
        if (!endsWith(entry, kInfoSuffix))
            return std::nullopt;
        where.name = entry.substr(0, entry.size() - kInfoSuffix.size());
    } else {
        where.name = entry;
    }
    return where;
}

// A folder on the way to the entry that is a link would lead the removal elsewhere;
// one that is missing is left for the removal to report.
bool isLinkOrNotFolder(const std::string& path)
{
    struct stat st { };
    return ::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

} // namespace

std::vector<JunkCandidate> listTrashEntries(const std::string& folder)
{
    // The paths handed out must read back as entries in removeTrashEntry.
    std::string trashFolder = folder;
    while (trashFolder.size() > 1 && trashFolder.back() == '/')
        trashFolder.pop_back();
    std::vector<JunkCandidate> entries;
    const int trashFd = openFolderNoFollow(trashFolder);
    if (trashFd < 0)
        return entries;
    const int filesFd = openFolderNoFollowAt(trashFd, "files");
    const int infoFd = openFolderNoFollowAt(trashFd, "info");
    // GIO moves an entry here before deleting it; an emptying cut short leaves it
    // behind, invisible to every Trash window but still on the disk.
    const int expungedFd = openFolderNoFollowAt(trashFd, "expunged");
    ::close(trashFd);

    std::unordered_set<std::string> listed;
    if (filesFd >= 0) {
        for (const std::string& name : entryNames(filesFd)) {
            listed.insert(name);
            entries.push_back({shownName(infoFd, name + std::string(kInfoSuffix), name),
                trashFolder + "/files/" + name});
        }
        ::close(filesFd);
    }
    if (infoFd >= 0) {
        for (const std::string& file : entryNames(infoFd)) {
            if (!endsWith(file, kInfoSuffix))
                continue;
            const std::string name = file.substr(0, file.size() - kInfoSuffix.size());
            if (!listed.count(name))
                entries.push_back({shownName(infoFd, file, name), trashFolder + "/info/" + file});
        }
        ::close(infoFd);
    }
    if (expungedFd >= 0) {
        for (const std::string& name : entryNames(expungedFd))
            entries.push_back(
                {"Restos de un vaciado interrumpido · " + name, trashFolder + "/expunged/" + name});
        ::close(expungedFd);
    }
    return entries;
}

RemoveOutcome removeTrashEntry(const std::string& path)
{
    const auto where = parseEntryPath(path);
    if (!where)
        return {EINVAL, path};
    const std::string files = where->trash + "/files";
    const std::string info = where->trash + "/info";
    const std::string expunged = where->trash + "/expunged";
    if (isLinkOrNotFolder(where->trash)
        || (!where->sharedTrash.empty() && isLinkOrNotFolder(where->sharedTrash)))
        return {EINVAL, path};
    if (where->isExpunged)
        return isLinkOrNotFolder(expunged) ? RemoveOutcome{EINVAL, path}
                                           : removeItem(expunged + "/" + where->name);
    if (isLinkOrNotFolder(files) || isLinkOrNotFolder(info))
        return {EINVAL, path};

    const std::string infoFile = info + "/" + where->name + std::string(kInfoSuffix);
    bool removedSomething = false;
    int64_t freed = 0; // the entry's bytes, as it was listed: its record only when alone
    if (!where->isInfo) {
        // The entry first: should it fail halfway, its .trashinfo still describes
        // what is left and the entry stays listed.
        RemoveOutcome out = removeItem(files + "/" + where->name);
        if (!out.ok() && out.error != ENOENT)
            return out;
        removedSomething = out.ok();
        freed = out.freed;
    }
    RemoveOutcome out = removeItem(infoFile);
    if (!out.ok() && out.error != ENOENT)
        return {out.error, out.where, freed};
    removedSomething = removedSomething || out.ok();
    if (where->isInfo)
        freed = out.freed;
    if (!removedSomething)
        return {ENOENT, path};
    // The cache only saves other programs a measurement and they must check it against
    // the entries anyway, so a line that cannot be dropped is no reason to report the
    // entry, which is gone, as kept.
    dropDirectorySizesLine(where->trash, where->name);
    return {0, {}, freed};
}

} // namespace tidvale::linuxdesk

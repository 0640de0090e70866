#include "engine/history/Undo.h"

#include "engine/fs/OwnFiles.h"
#include "engine/fs/SafeRemove.h"
#include "engine/junk/linux/TrashEntries.h"
#include "engine/junk/linux/TrashInfo.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tidvale {
namespace {

std::string parentOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

bool exists(const std::string& path)
{
    struct stat st { };
    return ::lstat(path.c_str(), &st) == 0;
}

// Moves without ever replacing what is at `to`, even one made a moment ago.
int renameNoReplace(const std::string& from, const std::string& to)
{
#if defined(__linux__)
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system that cannot promise it: the check just made has to do.
    if (exists(to))
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
#elif defined(__APPLE__)
    return ::renamex_np(from.c_str(), to.c_str(), RENAME_EXCL) == 0 ? 0 : errno;
#else
    if (exists(to))
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
#endif
}

// Makes the missing folders of `folder`, as the user's own ones are made.
int makeFolders(const std::string& folder)
{
    if (folder == "/" || exists(folder))
        return 0;
    if (const int error = makeFolders(parentOf(folder)))
        return error;
    return ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

// Where a freedesktop trash entry came from and where its record is; nothing when
// `trashed` is not `<trash>/files/<name>` with a readable record.
struct TrashRecord {
    std::string original;
    std::string info;
};

std::optional<TrashRecord> recordOf(const std::string& trashed)
{
    const std::string files = parentOf(trashed);
    if (nameOf(files) != "files")
        return std::nullopt;
    const std::string trash = parentOf(files);
    const std::string info = trash + "/info/" + nameOf(trashed) + ".trashinfo";
    const OwnFileText text = readOwnFile(info, 64 * 1024);
    if (!text.exists || text.error)
        return std::nullopt;
    auto original = linuxdesk::trashInfoPath(text.text);
    if (!original)
        return std::nullopt;
    if (original->front() != '/') {
        // A volume's own trash records paths from the volume's top: `$top/.Trash-$uid`
        // or `$top/.Trash/$uid`.
        std::string top = parentOf(trash);
        if (nameOf(top) == ".Trash")
            top = parentOf(top);
        *original = (top == "/" ? "" : top) + "/" + *original;
    }
    return TrashRecord{*original, info};
}

std::string cannotReturn(int error)
{
    return "No se pudo devolver a su sitio " + whyNotWritten(error);
}

// Swaps the two entries in one step, whatever each is: a folder cannot be renamed over
// a folder that is not empty.
int exchange(const std::string& a, const std::string& b)
{
#if defined(__linux__)
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0 ? 0 : errno;
#elif defined(__APPLE__)
    return ::renamex_np(a.c_str(), b.c_str(), RENAME_SWAP) == 0 ? 0 : errno;
#else
    (void)a;
    (void)b;
    return ENOSYS;
#endif
}

UndoOutcome restoreEdited(const RemovalOutcome& gone, const std::optional<TrashRecord>& record)
{
    // The edited entry is Tidvale's own doing: its earlier copy takes its place, and
    // the edited one, swapped into the Trash, goes for good.
    struct stat st { };
    if (::lstat(gone.path.c_str(), &st) != 0) {
        if (::rename(gone.trashedAs.c_str(), gone.path.c_str()) != 0)
            return {gone.path, UndoStatus::failed, cannotReturn(errno)};
    } else if (S_ISDIR(st.st_mode)) {
        if (const int error = exchange(gone.trashedAs, gone.path))
            return {gone.path, UndoStatus::failed, cannotReturn(error)};
        removeItem(gone.trashedAs);
    } else if (::rename(gone.trashedAs.c_str(), gone.path.c_str()) != 0) {
        return {gone.path, UndoStatus::failed, cannotReturn(errno)};
    }
    if (record)
        linuxdesk::removeTrashEntry(record->info);
    return {gone.path, UndoStatus::restored, {}};
}

UndoOutcome restore(const RemovalOutcome& gone)
{
    if (gone.trashedAs.empty())
        return {gone.path, UndoStatus::notRecoverable,
            "Se eliminó definitivamente: no se puede recuperar."};
    if (!exists(gone.trashedAs))
        return {gone.path, UndoStatus::notInTrash,
            "Ya no está en la Papelera: se vació o se sacó de ella después."};
    const auto record = recordOf(gone.trashedAs);
    if (gone.edited)
        return restoreEdited(gone, record);
    const std::string original = record ? record->original : gone.path;
    if (exists(original))
        return {original, UndoStatus::occupied,
            "Su sitio está ocupado: sigue en la Papelera como “" + gone.trashedAs + "”."};
    if (const int error = makeFolders(parentOf(original)))
        return {original, UndoStatus::failed, cannotReturn(error)};
    if (const int error = renameNoReplace(gone.trashedAs, original))
        return {original, error == EEXIST ? UndoStatus::occupied : UndoStatus::failed,
            error == EEXIST
                ? "Su sitio está ocupado: sigue en la Papelera como “" + gone.trashedAs + "”."
                : cannotReturn(error)};
    // The item is back; a record left behind would list a ghost in every trash client.
    if (record)
        linuxdesk::removeTrashEntry(record->info);
    return {original, UndoStatus::restored, {}};
}

} // namespace

int UndoReport::count(UndoStatus status) const
{
    return static_cast<int>(std::count_if(outcomes.begin(), outcomes.end(),
        [&](const UndoOutcome& outcome) { return outcome.status == status; }));
}

UndoReport undoRemoval(const std::vector<RemovalOutcome>& outcomes)
{
    UndoReport report;
    for (const auto& outcome : outcomes)
        if (outcome.isGone() || outcome.edited)
            report.outcomes.push_back(restore(outcome));
    return report;
}

std::string undoSummary(const UndoReport& report)
{
    const int restored = report.count(UndoStatus::restored);
    const int left = static_cast<int>(report.outcomes.size()) - restored;
    if (report.outcomes.empty())
        return "No hay nada que deshacer.";
    std::string text = "↩️ " + std::to_string(restored)
        + (restored == 1 ? " elemento devuelto a su sitio" : " elementos devueltos a su sitio");
    if (left > 0)
        text += " · " + std::to_string(left)
            + (left == 1 ? " no se pudo devolver" : " no se pudieron devolver");
    return text;
}

std::string undoDetails(const UndoReport& report)
{
    std::string text;
    for (const auto& outcome : report.outcomes)
        if (outcome.status != UndoStatus::restored)
            text += outcome.path + ": " + outcome.message + "\n";
    return text;
}

} // namespace tidvale

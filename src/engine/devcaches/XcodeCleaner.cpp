#include "engine/devcaches/XcodeCleaner.h"

#include "engine/settings/KeepList.h"

#include "engine/devcaches/DeveloperPlaces.h"
#include "engine/format/ByteText.h"
#include "engine/fs/FolderGuard.h"
#include "engine/fs/SafeRemove.h"
#include "engine/fs/WritableFolders.h"
#include "engine/texts/PlatformTexts.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

namespace tidvale {
namespace {

constexpr int64_t kLargeBytes = 100'000'000;
constexpr int64_t kHugeBytes = 500'000'000;

bool stillThere(const std::string& path)
{
    struct stat st { };
    return ::lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

bool contains(const std::vector<std::string>& list, const std::string& path)
{
    return std::find(list.begin(), list.end(), path) != list.end();
}

// Deletes what the folder open as `fd` holds but the entries to keep; the folder stays.
RemoveOutcome removeAllBut(int fd, const std::string& path, const std::vector<std::string>& keep)
{
    std::vector<std::string> names;
    if (DIR* d = ::fdopendir(::dup(fd))) {
        ::rewinddir(d);
        while (dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != ".." && !contains(keep, name))
                names.push_back(name);
        }
        ::closedir(d);
    }
    RemoveOutcome all;
    for (const auto& name : names) {
        const RemoveOutcome out = removeItemAt(fd, name, path + "/" + name);
        all.freed += out.freed;
        if (!out.ok() && out.error != ENOENT && all.ok()) {
            all.error = out.error;
            all.where = out.where;
        }
    }
    return all;
}

// Why the location may not be cleaned now, looked at again right before the clean: the
// folder guard on where it leads, and its tool's marks on the folder it is now (opened
// as `fd`, never through a link). None when it may.
std::optional<std::string> refusalNow(
    const XcodeCleanItem& item, const GuardedFolders& guarded, int fd)
{
    if (!item.refusal.empty())
        return item.refusal;
    const auto entry = resolvedEntry(item.path);
    if (!entry)
        return item.path + " no se puede comprobar";
    if (auto why = guardRefusal(guarded, *entry))
        return *entry + " " + *why;
    if (fd >= 0 && !hasCacheLayout(fd, item.layout))
        return notCacheReason(item.layout);
    return std::nullopt;
}

// Removes a rebuilt location: the whole of it, or, where the tool keeps its settings
// among the cached files, everything but those. Reached without following a link, so
// a location swapped for one is not emptied.
RemoveOutcome removeLocation(const XcodeCleanItem& item, int fd)
{
    if (item.keep.empty() || item.isLink || fd < 0)
        return removeItem(item.path);
    return removeAllBut(fd, item.path, item.keep);
}

// One location, checked again right before: where it leads now must pass the folder
// guard and it must still carry its tool's marks.
RemovalOutcome cleanOne(const Context& context, const GuardedFolders& guarded,
    const XcodeCleanItem& item, const RemovalTarget& target)
{
    const int fd = item.isLink
        ? -1
        : ::open(item.path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (auto why = refusalNow(item, guarded, fd)) {
        if (fd >= 0)
            ::close(fd);
        return outcomeOf(target, RemovalStatus::refused, *why);
    }
    // Opened up even if some folder resists: the move is tried all the same, and a tree
    // left read-only is no worse off than before.
    if (!item.isRegenerable && item.readOnlyFolders && !item.isLink)
        makeFoldersWritable(item.path);
    RemovalOutcome outcome;
    if (item.isRegenerable) {
        const RemoveOutcome out = removeLocation(item, fd);
        outcome = outcomeOf(target, out.ok() ? RemovalStatus::gone : RemovalStatus::failed,
            out.ok() ? std::string() : describeRemoveError(out.error, out.where));
        outcome.freed = out.freed;
    } else {
        // What is not rebuilt goes to the Trash, and only while the path still holds the
        // location that was measured.
        outcome = trashTargets(*context.backends.trash, {target}).outcomes.front();
    }
    if (fd >= 0)
        ::close(fd);
    // A location already gone (a folder inside one removed just before) is no failure,
    // but it frees nothing more than it did.
    if (!outcome.isGone() && !stillThere(item.path)) {
        outcome.status = RemovalStatus::gone;
        outcome.message.clear();
    }
    return outcome;
}

} // namespace

std::vector<XcodeCleanItem> xcodeCleanSelection(const std::vector<XcodeCleanItem>& items)
{
    std::vector<XcodeCleanItem> selection;
    for (const auto& item : items)
        if (isCleanable(item))
            selection.push_back(item);
    return selection;
}

std::string xcodeConfirmText(
    const PlatformTexts& texts, const std::vector<XcodeCleanItem>& selection)
{
    const int64_t total = xcodeBytesOnce(selection);
    std::vector<std::string> kept;
    for (const auto& item : selection) {
        if (!item.isRegenerable)
            kept.push_back(item.name);
    }
    std::string text = "Se limpiarán " + std::to_string(selection.size()) + " categorías ("
        + formatFileBytes(total) + ").";
    if (kept.size() < selection.size())
        text += "\n\n" + texts.developerCachesRegrow;
    if (!kept.empty()) {
        std::string names;
        for (const auto& name : kept)
            names += (names.empty() ? "" : ", ") + name;
        text += "\n\n⚠️ " + names + texts.developerKeptData;
    }
    return text;
}

std::string xcodeConfirmDetails(const std::vector<XcodeCleanItem>& selection)
{
    std::string text;
    for (const auto& item : selection)
        text += (text.empty() ? "" : "\n") + item.path + " — " + formatFileBytes(item.size);
    return text;
}

RemovalReport cleanXcodeLocations(
    const Context& context, const std::vector<XcodeCleanItem>& selection, const JobControl& job)
{
    RemovalReport report;
    const GuardedFolders guarded = context.places.developer->guardedFolders(context);
    const auto keep = keptForms(keptPaths(context.settings));
    const auto total = static_cast<int64_t>(selection.size());
    job.count(0, total);
    for (const auto& item : selection) {
        const RemovalTarget target{item.path, item.path, item.listed, item.size};
        report.add(touchesKeptForm(item.path, keep) ? outcomeOf(
                       target, RemovalStatus::refused, "Está en tu lista de lo que se conserva.")
                                                    : cleanOne(context, guarded, item, target));
        job.count(static_cast<int64_t>(report.outcomes.size()), total);
    }
    return report;
}

void applyXcodeClean(std::vector<XcodeCleanItem>& items, const RemovalReport& report)
{
    for (auto& item : items) {
        if (report.isGone(item.path)) {
            item.size = 0;
            item.isSelected = false;
        }
    }
}

std::string xcodeCleanStatus(const std::vector<XcodeCleanItem>& items, const RemovalReport& report)
{
    std::string text = "✅ Liberado: " + formatFileBytes(report.freed());
    std::string names;
    for (const auto& item : items)
        for (const RemovalOutcome* outcome : report.left())
            if (outcome->key == item.path)
                names += (names.empty() ? "" : ", ") + item.name;
    if (!names.empty())
        text += " · ⚠️ No se pudo limpiar: " + names;
    return text;
}

XcodeSizeTone xcodeSizeTone(const XcodeCleanItem& item)
{
    if (!item.isAvailable)
        return XcodeSizeTone::unavailable;
    if (item.size <= 0)
        return XcodeSizeTone::empty;
    if (item.size <= kLargeBytes)
        return XcodeSizeTone::normal;
    if (item.size <= kHugeBytes)
        return XcodeSizeTone::large;
    return XcodeSizeTone::huge;
}

std::string xcodeSizeText(const XcodeCleanItem& item)
{
    switch (xcodeSizeTone(item)) {
    case XcodeSizeTone::unavailable:
        return "—";
    case XcodeSizeTone::empty:
        return "Vacío";
    default:
        return formatFileBytes(item.size);
    }
}

} // namespace tidvale

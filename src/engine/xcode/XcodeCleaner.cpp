#include "engine/xcode/XcodeCleaner.h"

#include "engine/format/ByteText.h"
#include "engine/fs/SafeRemove.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

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

} // namespace

int64_t xcodeBytesOnce(const std::vector<XcodeCleanItem>& items)
{
    int64_t total = 0;
    for (const auto& item : items) {
        const bool nested = std::any_of(items.begin(), items.end(), [&](const XcodeCleanItem& o) {
            return o.size > 0 && o.path.size() < item.path.size()
                && item.path.compare(0, o.path.size(), o.path) == 0
                && item.path[o.path.size()] == '/';
        });
        if (!nested)
            total += item.size;
    }
    return total;
}

std::vector<XcodeCleanItem> xcodeCleanSelection(const std::vector<XcodeCleanItem>& items)
{
    std::vector<XcodeCleanItem> selection;
    for (const auto& item : items)
        if (isCleanable(item))
            selection.push_back(item);
    return selection;
}

std::string xcodeConfirmText(const std::vector<XcodeCleanItem>& selection)
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
        text += "\n\nLas cachés se eliminan definitivamente; Xcode las regenerará cuando sea "
                "necesario.";
    if (!kept.empty()) {
        std::string names;
        for (const auto& name : kept)
            names += (names.empty() ? "" : ", ") + name;
        text += "\n\n⚠️ " + names
            + " contiene datos que Xcode NO regenera (p. ej. dSYMs de versiones publicadas o tu "
              "propio código). Se moverá a la Papelera.";
    }
    return text;
}

XcodeCleanOutcome cleanXcodeLocations(const std::vector<XcodeCleanItem>& selection)
{
    XcodeCleanOutcome outcome;
    for (const auto& item : selection) {
        // What Xcode does not rebuild goes to the Trash, and only while the path still
        // holds the location that was measured.
        const bool ok = item.isRegenerable
            ? removeItem(item.path).ok()
            : trashListedItems({{item.path, item.listed}}).front().outcome == TrashOutcome::moved;
        if (ok) {
            outcome.freed += item.size;
            outcome.emptied.push_back(item.path);
        } else if (stillThere(item.path)) {
            outcome.failed.push_back(item.path);
        } else {
            outcome.emptied.push_back(item.path);
        }
    }
    return outcome;
}

void applyXcodeClean(std::vector<XcodeCleanItem>& items, const XcodeCleanOutcome& outcome)
{
    for (auto& item : items) {
        if (contains(outcome.emptied, item.path)) {
            item.size = 0;
            item.isSelected = false;
        }
    }
}

std::string xcodeCleanStatus(
    const std::vector<XcodeCleanItem>& items, const XcodeCleanOutcome& outcome)
{
    std::string text = "✅ Liberado: " + formatFileBytes(outcome.freed);
    std::string names;
    for (const auto& item : items)
        if (contains(outcome.failed, item.path))
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

#include "engine/junk/JunkCleanRules.h"

#include "engine/format/ByteText.h"
#include "engine/fs/PathText.h"

#include <algorithm>
#include <set>
#include <unordered_set>

namespace tidvale {
namespace {

constexpr size_t kReportLines = 5;
constexpr size_t kDetailLines = 1000;

std::unordered_set<std::string> keptPaths(const RemovalReport& report)
{
    std::unordered_set<std::string> paths;
    for (const RemovalOutcome* outcome : report.left())
        paths.insert(outcome->key);
    return paths;
}

// The reasons a removal gives for what it left, not counting the rows that wait for
// the administrator.
bool isFailure(const RemovalOutcome& outcome)
{
    return !outcome.isGone() && outcome.status != RemovalStatus::needsAdministrator;
}

} // namespace

JunkSelection junkSelection(const std::vector<ScanItem>& items)
{
    JunkSelection selection;
    for (const auto& item : items) {
        if (item.isSelected)
            (item.requiresAdmin ? selection.admin : selection.direct).push_back(item);
    }
    return selection;
}

std::string junkConfirmMessage(const JunkSelection& selection)
{
    return "¿Eliminar " + std::to_string(selection.count()) + " elemento(s)?";
}

std::string junkConfirmInformative(const JunkSelection& selection)
{
    if (selection.admin.empty())
        return "Esta acción no se puede deshacer.";
    return std::to_string(selection.direct.size()) + " elemento(s) se eliminarán directamente.\n"
        + std::to_string(selection.admin.size())
        + " elemento(s) requieren contraseña de administrador (se pedirá a continuación).";
}

std::string removalDetails(const std::vector<ScanItem>& items)
{
    std::string text;
    for (size_t i = 0; i < items.size() && i < kDetailLines; ++i)
        text
            += (i ? "\n" : "") + singleLine(items[i].path) + " — " + formatJunkBytes(items[i].size);
    if (items.size() > kDetailLines)
        text += "\n…y " + std::to_string(items.size() - kDetailLines) + " más";
    return text;
}

std::string trashEmptyingLine(const std::vector<ScanItem>& items)
{
    int64_t bytes = 0;
    bool any = false;
    for (const auto& item : items) {
        if (item.category == ScanCategory::trash) {
            any = true;
            bytes += item.size;
        }
    }
    if (!any)
        return {};
    return "🗑️ La Papelera se vaciará definitivamente (" + formatJunkBytes(bytes)
        + "), también lo que acabes de mover a ella.";
}

std::vector<ScanItem> junkRowsAfterDirectStage(
    const std::vector<ScanItem>& items, const RemovalReport& report)
{
    const auto kept = keptPaths(report);
    std::vector<ScanItem> rows;
    for (const auto& item : items)
        if (kept.count(item.path))
            rows.push_back(item);
    return rows;
}

std::vector<ScanItem> privacyRowsAfterClean(
    const std::vector<ScanItem>& items, const RemovalReport& report)
{
    const auto kept = keptPaths(report);
    std::vector<ScanItem> rows;
    for (const auto& item : items)
        if (!item.isSelected || kept.count(item.path))
            rows.push_back(item);
    return rows;
}

std::vector<ScanItem> rowsWithout(const std::vector<ScanItem>& items, const RemovalReport& report)
{
    const std::set<std::string> gone = report.goneKeys();
    std::vector<ScanItem> rows;
    for (const auto& item : items)
        if (!gone.count(item.path))
            rows.push_back(item);
    return rows;
}

std::vector<ScanItem> itemsNeedingAdministrator(
    const std::vector<ScanItem>& items, const RemovalReport& report)
{
    std::unordered_set<std::string> keys;
    for (const auto& outcome : report.outcomes)
        if (outcome.status == RemovalStatus::needsAdministrator)
            keys.insert(outcome.key);
    std::vector<ScanItem> out;
    for (ScanItem item : items)
        if (keys.count(item.path)) {
            item.isSelected = true;
            item.requiresAdmin = true;
            out.push_back(std::move(item));
        }
    return out;
}

std::vector<std::string> junkFailureLines(const RemovalReport& report)
{
    std::vector<std::string> lines;
    for (const auto& outcome : report.outcomes)
        if (isFailure(outcome))
            lines.push_back("⚠️ " + singleLine(outcome.path) + ":\n" + outcome.message);
    return lines;
}

std::vector<std::string> adminFailureLines(const RemovalReport& report)
{
    std::vector<std::string> lines;
    for (const auto& outcome : report.outcomes)
        if (!outcome.isGone()
            && std::find(lines.begin(), lines.end(), outcome.message) == lines.end())
            lines.push_back(outcome.message);
    return lines;
}

std::string junkFailureReport(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size() && i < kReportLines; ++i)
        text += (i ? "\n\n" : "") + lines[i];
    return text;
}

std::string adminPromptText(const std::vector<ScanItem>& needsAdmin)
{
    std::string text = std::to_string(needsAdmin.size())
        + " archivo(s) del sistema no se pueden eliminar sin tu contraseña de administrador:\n\n";
    for (size_t i = 0; i < needsAdmin.size() && i < kReportLines; ++i)
        text += (i ? "\n• " : "• ") + singleLine(needsAdmin[i].name);
    if (needsAdmin.size() > kReportLines)
        text += "\n  …y " + std::to_string(needsAdmin.size() - kReportLines) + " más";
    return text;
}

std::string junkFinalStatus(int64_t freed)
{
    return freed > 0 ? "✅ Liberado: " + formatJunkBytes(freed) : "ℹ️ No se liberó espacio";
}

std::string privacyFailureText(const RemovalReport& report)
{
    std::set<std::string> messages;
    for (const auto& outcome : report.outcomes)
        if (isFailure(outcome))
            messages.insert(outcome.message);
    if (report.any(RemovalStatus::needsAdministrator))
        messages.insert("Algunos elementos requieren permisos de administrador y no se "
                        "eliminaron.");
    std::string text;
    size_t n = 0;
    for (const auto& m : messages) {
        if (n++ == kReportLines)
            break;
        text += (text.empty() ? "" : "\n") + m;
    }
    return text;
}

std::string singleLine(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7f)
            out += "\xEF\xBF\xBD"; // U+FFFD
        else
            out += static_cast<char>(c);
    }
    return out;
}

std::vector<ScanItem> outermostItems(const std::vector<ScanItem>& items)
{
    std::unordered_set<std::string> paths;
    for (const ScanItem& item : items)
        paths.insert(item.path);
    std::unordered_set<std::string> taken;
    std::vector<ScanItem> outer;
    for (const ScanItem& item : items) {
        bool nested = false;
        for (auto slash = item.path.rfind('/'); slash != std::string::npos && slash > 0 && !nested;
             slash = item.path.rfind('/', slash - 1))
            nested = paths.count(item.path.substr(0, slash)) > 0;
        if (!nested && taken.insert(item.path).second)
            outer.push_back(item);
    }
    return outer;
}

size_t leftoverCount(const std::vector<ScanItem>& items, const RemovalReport& report)
{
    std::vector<std::string> kept;
    for (const RemovalOutcome* outcome : report.left())
        kept.push_back(outcome->path);
    return static_cast<size_t>(std::count_if(items.begin(), items.end(), [&](const ScanItem& item) {
        return std::any_of(kept.begin(), kept.end(),
            [&](const std::string& path) { return isSameOrInside(item.path, path); });
    }));
}

int64_t totalSize(const std::vector<ScanItem>& items)
{
    int64_t total = 0;
    for (const ScanItem& item : outermostItems(items))
        total += item.size;
    return total;
}

} // namespace tidvale

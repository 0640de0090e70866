#include "gui/tools/smartscan/CategorySummary.h"

#include "engine/fs/PathText.h"

#include <algorithm>
#include <unordered_set>

namespace tidvale::gui {

std::vector<CategorySummary> summarizeByCategory(const std::vector<ScanItem>& items)
{
    std::vector<CategorySummary> groups;
    for (const ScanItem& item : items) {
        auto it = std::find_if(groups.begin(), groups.end(),
            [&](const CategorySummary& g) { return g.category == item.category; });
        if (it == groups.end())
            it = groups.insert(groups.end(), CategorySummary{item.category, 0, 0});
        ++it->count;
        it->size += item.size;
    }
    std::sort(groups.begin(), groups.end(), [](const CategorySummary& a, const CategorySummary& b) {
        return displayName(a.category) < displayName(b.category);
    });
    return groups;
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

size_t leftoverCount(const std::vector<ScanItem>& items, const DeleteResult& result)
{
    std::vector<std::string> kept;
    for (const auto& failure : result.failures)
        kept.push_back(failure.first);
    for (const ScanItem& item : result.needsAdmin)
        kept.push_back(item.path);
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

QString itemCountText(int count)
{
    return QString::number(count) + QStringLiteral(" elemento") + (count == 1 ? "" : "s");
}

QString cardSymbol(ScanCategory category)
{
    switch (category) {
    case ScanCategory::userCache:
        return QStringLiteral("internaldrive");
    case ScanCategory::systemCache:
        return QStringLiteral("server.rack");
    case ScanCategory::userLogs:
        return QStringLiteral("doc.text");
    case ScanCategory::systemLogs:
        return QStringLiteral("doc.text.fill");
    case ScanCategory::trash:
        return QStringLiteral("trash");
    case ScanCategory::browserSafari:
        return QStringLiteral("safari");
    case ScanCategory::browserChrome:
        return QStringLiteral("globe");
    case ScanCategory::browserFirefox:
        return QStringLiteral("flame");
    case ScanCategory::browserEdge:
        return QStringLiteral("globe.badge.chevron.backward");
    case ScanCategory::browserChromium:
        return QStringLiteral("circle.hexagongrid");
    case ScanCategory::browserBrave:
        return QStringLiteral("shield");
    }
    return QStringLiteral("questionmark");
}

} // namespace tidvale::gui

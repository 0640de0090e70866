#include "gui/tools/smartscan/CategorySummary.h"

#include <algorithm>

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
    case ScanCategory::recentDocuments:
        return QStringLiteral("doc.on.doc");
    }
    return QStringLiteral("questionmark");
}

} // namespace tidvale::gui

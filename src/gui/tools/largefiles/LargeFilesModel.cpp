#include "gui/tools/largefiles/LargeFilesModel.h"

#include "engine/format/DateText.h"
#include "engine/fs/PathText.h"
#include "gui/tools/FinderLists.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/text/DisplayText.h"

#include <algorithm>

namespace tidvale::gui {

void LargeFilesModel::setItems(std::vector<LargeFileItem> items)
{
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

void LargeFilesModel::removePaths(const std::set<std::string>& paths)
{
    if (paths.empty())
        return;
    // One reset rather than a signal per row: removing thousands of scattered rows
    // one by one would relayout the view each time.
    beginResetModel();
    std::erase_if(items_, [&](const LargeFileItem& item) { return paths.count(item.path) > 0; });
    endResetModel();
}

void LargeFilesModel::removeRowAt(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    items_.erase(items_.begin() + row);
    endRemoveRows();
}

int LargeFilesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int LargeFilesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

QVariant LargeFilesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto& item = items_[static_cast<size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case nameColumn:
            return displayText(item.name);
        case pathColumn:
            return displayText(parentFolder(item.path));
        case sizeColumn:
            return fileBytesText(item.size);
        case dateColumn:
            return displayText(
                formatShortDate(std::chrono::system_clock::to_time_t(item.modified)));
        }
        break;
    case Qt::ToolTipRole:
        return plainToolTip(displayText(item.path));
    case Qt::FontRole:
        if (column == nameColumn)
            return uiFont(12, QFont::Medium);
        if (column == sizeColumn)
            return monospacedDigitFont(12, QFont::DemiBold);
        return uiFont(12);
    case Qt::ForegroundRole:
        if (column == sizeColumn) {
            const auto tone = largeFileSizeColor(item.size);
            return tone ? systemColor(*tone) : labelColor();
        }
        return column == nameColumn ? labelColor() : secondaryLabelColor();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant LargeFilesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titles[] = {"Nombre", "Ubicación", "Tamaño", "Modificado"};
    return section >= 0 && section < columnTotal ? QString::fromUtf8(titles[section]) : QVariant();
}

} // namespace tidvale::gui

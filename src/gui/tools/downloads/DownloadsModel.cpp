#include "gui/tools/downloads/DownloadsModel.h"

#include "engine/format/DateText.h"
#include "gui/tools/FinderLists.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/text/DisplayText.h"

namespace tidvale::gui {

void DownloadsModel::setItems(std::vector<DownloadItem> items)
{
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

void DownloadsModel::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= rowCount())
        return;
    items_[static_cast<size_t>(row)].isSelected = ticked;
    const QModelIndex cell = index(row, checkColumn);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void DownloadsModel::removeRowAt(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    items_.erase(items_.begin() + row);
    endRemoveRows();
}

int DownloadsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int DownloadsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

Qt::ItemFlags DownloadsModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    auto f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    return index.column() == checkColumn ? f | Qt::ItemIsUserCheckable : f;
}

QVariant DownloadsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto& item = items_[static_cast<size_t>(index.row())];
    const int column = index.column();
    // The tick column holds only its box, drawn by the style in the list's own colours
    // like every other list's: a text colour here would dim the box with it.
    if (column == checkColumn)
        return role == Qt::CheckStateRole ? QVariant(item.isSelected ? Qt::Checked : Qt::Unchecked)
                                          : QVariant();
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case nameColumn:
            return displayText(item.name);
        case sizeColumn:
            return fileBytesText(item.size);
        case dateColumn:
            return displayText(formatShortDate(std::chrono::system_clock::to_time_t(item.date)));
        case kindColumn:
            return displayText(item.kind);
        }
        break;
    case Qt::ToolTipRole:
        return plainToolTip(displayText(item.path));
    case Qt::FontRole:
        if (column == nameColumn)
            return uiFont(12, QFont::Medium);
        if (column == sizeColumn)
            return monospacedDigitFont(12);
        return uiFont(11);
    case Qt::ForegroundRole:
        if (column == nameColumn)
            return labelColor();
        if (column == sizeColumn) {
            const auto tone = downloadSizeColor(item.size);
            return tone ? systemColor(*tone) : secondaryLabelColor();
        }
        if (column == dateColumn) {
            const auto tone = downloadDateColor(item.date, std::chrono::system_clock::now());
            return tone ? systemColor(*tone) : secondaryLabelColor();
        }
        return tertiaryLabelColor(); // the kind
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

bool DownloadsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != checkColumn || index.row() >= rowCount())
        return false;
    const bool ticked = value.value<Qt::CheckState>() == Qt::Checked;
    setTicked(index.row(), ticked);
    emit rowTicked(index.row(), ticked);
    return true;
}

QVariant DownloadsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titles[] = {"", "Nombre", "Tamaño", "Descargado", "Tipo"};
    return section >= 0 && section < columnTotal ? QString::fromUtf8(titles[section]) : QVariant();
}

} // namespace tidvale::gui

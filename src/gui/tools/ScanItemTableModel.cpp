#include "gui/tools/ScanItemTableModel.h"

#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"

#include "engine/format/ByteText.h"

namespace tidvale::gui {

ScanItemTableModel::ScanItemTableModel(QStringList titles, QObject* parent)
    : QAbstractTableModel(parent)
    , titles_(std::move(titles))
{
}

void ScanItemTableModel::setItems(std::vector<ScanItem> items)
{
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

int ScanItemTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int ScanItemTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant ScanItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= titles_.size())
        return {};
    return titles_[section];
}

QVariant ScanItemTableModel::data(const QModelIndex& index, int role) const
{
    if (!holdsRow(index))
        return {};
    const ScanItem& item = items_[static_cast<size_t>(index.row())];
    if (index.column() == checkColumn)
        return role == Qt::CheckStateRole ? QVariant(item.isSelected ? Qt::Checked : Qt::Unchecked)
                                          : QVariant();
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return cellData(item, index.column(), role);
}

bool ScanItemTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != checkColumn || !holdsRow(index))
        return false;
    items_[static_cast<size_t>(index.row())].isSelected
        = value.value<Qt::CheckState>() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags ScanItemTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == checkColumn)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool ScanItemTableModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    items_.erase(items_.begin() + row, items_.begin() + row + count);
    endRemoveRows();
    return true;
}

QVariant ScanItemTableModel::sizeCellData(const ScanItem& item, int role)
{
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(formatJunkBytes(item.size));
    case Qt::ForegroundRole:
        return secondaryLabelColor();
    case Qt::FontRole:
        return monospacedDigitFont(12);
    default:
        return {};
    }
}

} // namespace tidvale::gui

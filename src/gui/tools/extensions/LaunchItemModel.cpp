#include "gui/tools/extensions/LaunchItemModel.h"

#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/text/DisplayText.h"

namespace tidvale::gui {

int LaunchItemModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int LaunchItemModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnCount_;
}

QVariant LaunchItemModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const LaunchItem& item = items_[static_cast<size_t>(index.row())];
    if (role == Qt::ToolTipRole)
        return displayText(item.path);
    switch (index.column()) {
    case nameColumn:
        if (role == Qt::DisplayRole)
            return displayText(item.bundleID.empty() ? item.name : item.bundleID);
        if (role == Qt::FontRole)
            return uiFont(12, QFont::Medium);
        if (role == Qt::ForegroundRole)
            return labelColor();
        return {};
    case sourceColumn:
        if (role == Qt::DisplayRole)
            return displayText(item.source);
        if (role == Qt::FontRole)
            return uiFont(12);
        if (role == Qt::ForegroundRole)
            return systemColor(SystemColor::yellow);
        return {};
    case pathColumn:
        if (role == Qt::DisplayRole)
            return displayText(item.path);
        if (role == Qt::FontRole)
            return uiFont(10);
        if (role == Qt::ForegroundRole)
            return secondaryLabelColor();
        return {};
    default:
        return {};
    }
}

QVariant LaunchItemModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case nameColumn:
        return QStringLiteral("Identificador");
    case sourceColumn:
        return QStringLiteral("Tipo");
    case pathColumn:
        return QStringLiteral("Ruta");
    default:
        return {};
    }
}

void LaunchItemModel::setItems(std::vector<LaunchItem> items)
{
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

void LaunchItemModel::removeRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    items_.erase(items_.begin() + row);
    endRemoveRows();
}

} // namespace tidvale::gui

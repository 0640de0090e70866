#include "gui/tools/xcode/XcodeCleanModel.h"

#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"

#include "engine/xcode/XcodeCleaner.h"

#include <algorithm>

namespace tidvale::gui {

void XcodeCleanModel::setItems(std::vector<XcodeCleanItem> items)
{
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

bool XcodeCleanModel::anyCleanable() const
{
    return std::any_of(items_.begin(), items_.end(), isCleanable);
}

int XcodeCleanModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int XcodeCleanModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

QVariant XcodeCleanModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case name:
        return QStringLiteral("Categoría");
    case desc:
        return QStringLiteral("Descripción");
    case size:
        return QStringLiteral("Tamaño");
    default:
        return QString();
    }
}

QVariant XcodeCleanModel::data(const QModelIndex& index, int role) const
{
    if (!holdsRow(index))
        return {};
    const XcodeCleanItem& item = items_[static_cast<size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() != check)
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    switch (index.column()) {
    case check:
        if (role == Qt::CheckStateRole)
            return item.isSelected && item.isAvailable ? Qt::Checked : Qt::Unchecked;
        return {};
    case name:
        if (role == Qt::DisplayRole)
            return QString::fromStdString(item.name);
        if (role == Qt::ForegroundRole)
            return item.isAvailable ? labelColor() : tertiaryLabelColor();
        if (role == Qt::FontRole)
            return uiFont(13, QFont::Medium);
        if (role == Qt::ToolTipRole)
            return QString::fromStdString(item.path);
        return {};
    case desc:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return QString::fromStdString(item.description);
        if (role == Qt::ForegroundRole)
            return secondaryLabelColor();
        if (role == Qt::FontRole)
            return uiFont(11);
        return {};
    case size:
        return sizeData(item, role);
    default:
        return {};
    }
}

QVariant XcodeCleanModel::sizeData(const XcodeCleanItem& item, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(xcodeSizeText(item));
    case Qt::FontRole:
        return monospacedDigitFont(12, QFont::DemiBold);
    case Qt::ForegroundRole:
        switch (xcodeSizeTone(item)) {
        case XcodeSizeTone::unavailable:
        case XcodeSizeTone::empty:
            return tertiaryLabelColor();
        case XcodeSizeTone::normal:
            return labelColor();
        case XcodeSizeTone::large:
            return systemColor(SystemColor::orange);
        case XcodeSizeTone::huge:
            return systemColor(SystemColor::red);
        }
        return {};
    default:
        return {};
    }
}

bool XcodeCleanModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != check || !holdsRow(index))
        return false;
    XcodeCleanItem& item = items_[static_cast<size_t>(index.row())];
    if (!item.isAvailable)
        return false;
    item.isSelected = value.value<Qt::CheckState>() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags XcodeCleanModel::flags(const QModelIndex& index) const
{
    if (!holdsRow(index))
        return Qt::NoItemFlags;
    const bool available = items_[static_cast<size_t>(index.row())].isAvailable;
    if (index.column() == check)
        return available ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::ItemIsUserCheckable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace tidvale::gui

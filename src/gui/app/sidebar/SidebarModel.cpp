#include "gui/app/sidebar/SidebarModel.h"

namespace tidvale::gui {

SidebarModel::SidebarModel(const PlatformTexts& texts, QObject* parent)
    : QAbstractListModel(parent)
    , items_(sidebarItems(texts))
{
}

int SidebarModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

QVariant SidebarModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const SidebarItem& item = items_[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return item.title;
    case symbolRole:
        return item.icon;
    case colorRole:
        return item.color;
    case tagRole:
        return item.tag;
    default:
        return {};
    }
}

Qt::ItemFlags SidebarModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace tidvale::gui

#pragma once

#include "gui/app/sidebar/SidebarItem.h"

#include <QAbstractListModel>

namespace tidvale::gui {

// The sidebar's fixed list. Display role: title; decoration: the symbol name;
// colorRole: the tint; tagRole: the tool index.
class SidebarModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { symbolRole = Qt::UserRole + 1, colorRole, tagRole };

    explicit SidebarModel(const PlatformTexts& texts, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const std::vector<SidebarItem>& items() const { return items_; }

private:
    std::vector<SidebarItem> items_;
};

} // namespace tidvale::gui

#pragma once

#include "engine/system/SystemRecords.h"

#include <QAbstractTableModel>

#include <vector>

namespace tidvale::gui {

// The Extensiones list, in the order the service returned it. GUI thread only.
class LaunchItemModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { nameColumn, sourceColumn, pathColumn, columnCount_ };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

    void setItems(std::vector<LaunchItem> items);
    const std::vector<LaunchItem>& items() const { return items_; }
    void removeRow(int row);

private:
    std::vector<LaunchItem> items_;
};

} // namespace tidvale::gui

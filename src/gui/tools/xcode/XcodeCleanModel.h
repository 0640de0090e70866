#pragma once

#include "engine/xcode/XcodeCleanItem.h"

#include <QAbstractTableModel>

#include <vector>

namespace tidvale::gui {

// The Xcode cleaner's own copy of the eleven locations. A location that did not exist
// at the scan has a disabled tick and reads as unticked. GUI thread only.
class XcodeCleanModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { check, name, desc, size, columnTotal };

    using QAbstractTableModel::QAbstractTableModel;

    void setItems(std::vector<XcodeCleanItem> items);
    const std::vector<XcodeCleanItem>& items() const { return items_; }
    bool anyCleanable() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // A valid top-level index of an existing row.
    bool holdsRow(const QModelIndex& index) const
    {
        return index.isValid() && !index.parent().isValid() && index.model() == this
            && index.row() < static_cast<int>(items_.size());
    }

    QVariant sizeData(const XcodeCleanItem& item, int role) const;

    std::vector<XcodeCleanItem> items_;
};

} // namespace tidvale::gui

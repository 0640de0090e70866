#pragma once

#include "engine/scan/ScanItem.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace tidvale::gui {

// A screen's own copy of a junk list, shown as a table whose column 0 is the tick.
// Ticking a row changes only this copy's isSelected. The subclasses name the columns
// and say what the other columns show. GUI thread only.
class ScanItemTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int checkColumn = 0;

    // One title per column, the tick's first.
    ScanItemTableModel(QStringList titles, QObject* parent);

    void setItems(std::vector<ScanItem> items);
    const std::vector<ScanItem>& items() const { return items_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

protected:
    // Any role but the tick's, for a column other than the tick.
    virtual QVariant cellData(const ScanItem& item, int column, int role) const = 0;

    // The size column both junk screens share: the junk byte text, secondary label
    // colour, monospaced digits.
    static QVariant sizeCellData(const ScanItem& item, int role);

private:
    // A valid top-level index of an existing row.
    bool holdsRow(const QModelIndex& index) const
    {
        return index.isValid() && !index.parent().isValid() && index.model() == this
            && index.row() < static_cast<int>(items_.size());
    }

    QStringList titles_;
    std::vector<ScanItem> items_;
};

} // namespace tidvale::gui

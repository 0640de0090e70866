#pragma once

#include "engine/finders/LargeFiles.h"

#include <QAbstractTableModel>

#include <set>
#include <string>
#include <vector>

namespace tidvale::gui {

// The Large files list: one row per file, largest first, in four columns. GUI thread only.
class LargeFilesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { nameColumn, pathColumn, sizeColumn, dateColumn, columnTotal };

    using QAbstractTableModel::QAbstractTableModel;

    const std::vector<LargeFileItem>& items() const { return items_; }
    void setItems(std::vector<LargeFileItem> items);
    // Drops every record whose path is in `paths`; the others keep their order.
    void removePaths(const std::set<std::string>& paths);
    void removeRowAt(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<LargeFileItem> items_;
};

} // namespace tidvale::gui

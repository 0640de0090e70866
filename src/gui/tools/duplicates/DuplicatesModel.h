#pragma once

#include "engine/finders/Duplicates.h"

#include <QAbstractItemModel>

#include <vector>

namespace tidvale::gui {

// The Duplicates list in two levels: a row per group with its files below it, the
// first file being the copy that stays, marked "Se conserva". GUI thread only.
class DuplicatesModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { mainColumn, sizeColumn, pathColumn, columnTotal };

    using QAbstractItemModel::QAbstractItemModel;

    const std::vector<DuplicateGroup>& groups() const { return groups_; }
    void setGroups(std::vector<DuplicateGroup> groups);

    // The group a row belongs to (its own for a group row), and the file of a file row.
    const DuplicateGroup* groupAt(const QModelIndex& index) const;
    const DuplicateFile* fileAt(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // A group row's internal id is 0; a file row's is its group's row + 1.
    std::vector<DuplicateGroup> groups_;
};

} // namespace tidvale::gui

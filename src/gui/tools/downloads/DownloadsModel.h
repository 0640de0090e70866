#pragma once

#include "engine/downloads/Downloads.h"

#include <QAbstractTableModel>

#include <vector>

namespace tidvale::gui {

// The Downloads list as shown (after the age filter): a check box and four columns.
// Ticking a box changes the shown copy and asks the screen, through rowTicked, to
// record it in its full list too. GUI thread only.
class DownloadsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { checkColumn, nameColumn, sizeColumn, dateColumn, kindColumn, columnTotal };

    using QAbstractTableModel::QAbstractTableModel;

    const std::vector<DownloadItem>& items() const { return items_; }
    void setItems(std::vector<DownloadItem> items);
    void setTicked(int row, bool ticked);
    void removeRowAt(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void rowTicked(int row, bool ticked);

private:
    std::vector<DownloadItem> items_;
};

} // namespace tidvale::gui

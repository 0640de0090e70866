#pragma once

#include "engine/system/SystemRecords.h"

#include <QAbstractTableModel>
#include <QImage>
#include <QPixmap>

#include <set>
#include <string>
#include <vector>

namespace tidvale::gui {

// One listed application: the engine's record and its icon image (null: generic).
struct AppRow {
    AppInfo info;
    QImage icon;
};

// The Applications list, in the order the service returned it. GUI thread only.
class AppListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { iconColumn, nameColumn, versionColumn, sizeColumn, columnCount_ };
    // Sizes above this are shown in red.
    static constexpr int64_t largeAppBytes = 500'000'000;
    static constexpr int iconPoints = 36;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

    void setApps(std::vector<AppRow> apps);
    const std::vector<AppRow>& apps() const { return apps_; }
    // Drops every row whose path is in `paths`.
    void removePaths(const std::set<std::string>& paths);

private:
    QPixmap iconFor(int row) const;

    std::vector<AppRow> apps_;
    mutable std::vector<QPixmap> pixmaps_; // made on first paint, from the images
};

} // namespace tidvale::gui

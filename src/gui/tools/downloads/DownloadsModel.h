#pragma once

#include "engine/downloads/Downloads.h"
#include "gui/tools/RecordTableModel.h"

#include <QSortFilterProxyModel>

#include <chrono>

namespace tidvale::gui {

// The whole Downloads listing: a tick box and four columns. The age filter is a proxy
// over it, so a tick belongs to the entry whatever the filter shows.
class DownloadsModel : public RecordTableModel<DownloadItem> {
public:
    enum Column { checkColumn, nameColumn, sizeColumn, dateColumn, kindColumn, columnTotal };

    explicit DownloadsModel(QObject* parent = nullptr);
};

// The entries of a DownloadsModel older than the age the pop-up chose, in their order.
class DownloadsAgeFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    // The filter at `index` of the pop-up, measured from `now`.
    void setAge(int index, std::chrono::system_clock::time_point now);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    int index_ = 0;
    std::chrono::system_clock::time_point now_;
};

} // namespace tidvale::gui

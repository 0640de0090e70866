#pragma once

#include "engine/downloads/Downloads.h"
#include "gui/tools/ToolViewController.h"

#include <string>
#include <vector>

class QComboBox;
class QTableView;

namespace tidvale::gui {

class DownloadsAgeFilter;
class DownloadsModel;
class PrimaryButton;

// Lists the Downloads folder oldest first, narrows it to entries older than an age,
// and moves the ticked entries to the Trash after a confirmation. A tick belongs to
// the entry, so it survives a change of filter.
class DownloadsViewController : public ToolViewController {
    Q_OBJECT
public:
    using ToolViewController::ToolViewController;

    // Actions. GUI thread only.
    void loadDownloads();
    void filterChanged();
    void toggleSelectAll();
    void doTrash();
    // Ticks the shown row `row` as the user would.
    void toggleRow(int row, bool ticked);
    void menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked) override;

    // The folder listed; the real home's Downloads unless a test sets another.
    void setFolder(std::string folder) { folder_ = std::move(folder); }

    QTableView* tableView() const { return tableView_; }
    DownloadsModel* model() const { return model_; }
    PrimaryButton* trashButton() const { return trashButton_; }
    PrimaryButton* selectAllBtn() const { return selectAllBtn_; }
    QComboBox* filterPop() const { return filterPop_; }
    // Every entry of the last listing, and the ones the filter shows.
    const std::vector<DownloadItem>& allItems() const;
    std::vector<DownloadItem> items() const;

protected:
    void loadView() override;

private:
    void moveToTrash(std::vector<DownloadItem> targets, const QString& success);
    void updateTrashButton();

    QTableView* tableView_ = nullptr; // also its own scroll container
    PrimaryButton* trashButton_ = nullptr;
    PrimaryButton* selectAllBtn_ = nullptr;
    QComboBox* filterPop_ = nullptr;
    DownloadsModel* model_ = nullptr;     // every entry listed
    DownloadsAgeFilter* shown_ = nullptr; // the ones the table shows
    std::string folder_;
};

} // namespace tidvale::gui

#pragma once

#include "engine/downloads/Downloads.h"
#include "gui/tools/ToolViewController.h"

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QMenu;
class QTableView;

namespace tidvale::gui {

class ActivityIndicator;
class DownloadsModel;
class PrimaryButton;

// Lists the Downloads folder oldest first, narrows it to entries older than an age,
// and moves the ticked entries to the Trash after a confirmation. Ticks live in both
// the full list and the shown one, so they survive a change of filter.
class DownloadsViewController : public ToolViewController {
    Q_OBJECT
public:
    using ToolViewController::ToolViewController;

    // Actions. GUI thread only.
    void loadDownloads();
    void filterChanged();
    void toggleSelectAll();
    void doTrash();
    void toggleRow(int row, bool ticked);
    // Fills the context menu for the row clicked (-1: none, and the menu stays empty).
    void menuNeedsUpdate(QMenu* menu, int clickedRow);
    void showInFinder(const std::string& path);
    void openFile(const std::string& path);
    void getInfo(const std::string& path);
    void trashFromMenu(const std::string& path);

    // The folder listed; the real home's Downloads unless a test sets another.
    void setFolder(std::string folder) { folder_ = std::move(folder); }

    // Controls and state, for tests.
    QTableView* tableView() const { return tableView_; }
    DownloadsModel* model() const { return model_; }
    PrimaryButton* loadButton() const { return loadButton_; }
    PrimaryButton* trashButton() const { return trashButton_; }
    PrimaryButton* selectAllBtn() const { return selectAllBtn_; }
    ActivityIndicator* progress() const { return progress_; }
    QLabel* statusLabel() const { return statusLabel_; }
    QComboBox* filterPop() const { return filterPop_; }
    const std::vector<DownloadItem>& allItems() const { return allItems_; }
    const std::vector<DownloadItem>& items() const;
    bool isLoading() const { return loading_; }

signals:
    void loadFinished();

protected:
    void loadView() override;

private:
    void finishLoading(std::vector<DownloadItem> listed);
    void moveTicked(const std::vector<DownloadItem>& ticked);
    void recordTick(const std::string& path, bool ticked);
    void updateTrashButton();

    QTableView* tableView_ = nullptr; // also its own scroll container
    PrimaryButton* loadButton_ = nullptr;
    PrimaryButton* trashButton_ = nullptr;
    PrimaryButton* selectAllBtn_ = nullptr;
    ActivityIndicator* progress_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QComboBox* filterPop_ = nullptr;
    std::vector<DownloadItem> allItems_;
    DownloadsModel* model_ = nullptr; // holds `items`, the entries the filter shows
    std::string folder_;
    bool loading_ = false;
};

} // namespace tidvale::gui

#pragma once

#include "engine/finders/LargeFiles.h"
#include "gui/tools/ToolViewController.h"

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QMenu;
class QTableView;

namespace tidvale::gui {

class ActivityIndicator;
class LargeFilesModel;
class PrimaryButton;

// Lists every file of the personal folders at or above a chosen size, largest first,
// and moves the chosen ones to the Trash. The search runs in the background and names
// the folder it is in; nothing is ever deleted outright.
class LargeFilesViewController : public ToolViewController {
    Q_OBJECT
public:
    using ToolViewController::ToolViewController;

    // Actions. GUI thread only.
    void thresholdChanged();
    void doScan();
    void doTrash();
    // Fills the context menu for the row clicked (-1: none, and the menu stays empty).
    void menuNeedsUpdate(QMenu* menu, int clickedRow);
    void showInFinder(const std::string& path);
    void getInfo(const std::string& path);
    void trashItem(const std::string& path);

    // The folders searched; the six personal folders unless a test sets others.
    void setSearchRoots(std::vector<std::string> roots) { roots_ = std::move(roots); }

    // Controls and state, for tests.
    QTableView* tableView() const { return tableView_; }
    LargeFilesModel* model() const { return model_; }
    PrimaryButton* scanButton() const { return scanButton_; }
    PrimaryButton* trashButton() const { return trashButton_; }
    ActivityIndicator* progress() const { return progress_; }
    QLabel* statusLabel() const { return statusLabel_; }
    QComboBox* thresholdPop() const { return thresholdPop_; }
    const std::vector<LargeFileItem>& items() const;
    int64_t thresholdBytes() const { return thresholdBytes_; }
    bool isSearching() const { return searching_; }

signals:
    void scanFinished();

protected:
    void loadView() override;

private:
    void finishSearch(std::vector<LargeFileItem> found);
    void moveTargets(const std::vector<LargeFileItem>& targets);
    void updateTrashButton();

    QTableView* tableView_ = nullptr; // also its own scroll container
    PrimaryButton* scanButton_ = nullptr;
    PrimaryButton* trashButton_ = nullptr;
    ActivityIndicator* progress_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QComboBox* thresholdPop_ = nullptr;
    LargeFilesModel* model_ = nullptr; // holds `items`
    int64_t thresholdBytes_ = kLargeFileThresholds[kDefaultLargeFileThreshold].bytes;
    std::vector<std::string> roots_;
    bool searching_ = false;
};

} // namespace tidvale::gui

#pragma once

#include "engine/finders/LargeFiles.h"
#include "gui/tools/ToolViewController.h"

#include <string>
#include <vector>

class QComboBox;
class QTableView;

namespace tidvale::gui {

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
    void menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked) override;

    // The folders searched; the six personal folders unless a test sets others.
    void setSearchRoots(std::vector<std::string> roots) { roots_ = std::move(roots); }

    QTableView* tableView() const { return tableView_; }
    LargeFilesModel* model() const { return model_; }
    PrimaryButton* trashButton() const { return trashButton_; }
    QComboBox* thresholdPop() const { return thresholdPop_; }
    const std::vector<LargeFileItem>& items() const;

protected:
    void loadView() override;

private:
    void moveToTrash(std::vector<LargeFileItem> targets, const QString& success);
    void updateTrashButton();

    QTableView* tableView_ = nullptr; // also its own scroll container
    PrimaryButton* trashButton_ = nullptr;
    QComboBox* thresholdPop_ = nullptr;
    LargeFilesModel* model_ = nullptr; // holds `items`
    std::vector<std::string> roots_;
    int64_t thresholdBytes_ = kLargeFileThresholds[kDefaultLargeFileThreshold].bytes;
};

} // namespace tidvale::gui

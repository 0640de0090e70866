#pragma once

#include "engine/finders/Duplicates.h"
#include "gui/tools/ToolViewController.h"

#include <string>
#include <vector>

class QLabel;
class QMenu;
class QModelIndex;
class QTreeView;

namespace tidvale::gui {

class ActivityIndicator;
class DuplicatesModel;
class PrimaryButton;

// Shows the groups of identical files as a two-level list and moves the extra copies
// to the Trash: of every group after a confirmation, of one group, or one file. A copy
// is moved only while it and the copy that stays are still what was compared; what is
// left in place is counted on the status line.
class DuplicatesViewController : public ToolViewController {
    Q_OBJECT
public:
    using ToolViewController::ToolViewController;

    // Actions. GUI thread only.
    void doScan();
    void doClean();
    // Fills the context menu for the clicked row (invalid: none, the menu stays empty).
    void menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked);
    void cleanGroupFromMenu(const std::string& hash);
    void showInFinder(const std::string& path);
    void trashFromMenu(const std::string& path);
    void getInfoFromMenu(const std::string& path);

    // The folders searched; the six personal folders unless a test sets others.
    void setSearchRoots(std::vector<std::string> roots) { roots_ = std::move(roots); }

    // Controls and state, for tests.
    QTreeView* outlineView() const { return outlineView_; }
    DuplicatesModel* model() const { return model_; }
    PrimaryButton* scanButton() const { return scanButton_; }
    PrimaryButton* cleanButton() const { return cleanButton_; }
    ActivityIndicator* progress() const { return progress_; }
    QLabel* statusLabel() const { return statusLabel_; }
    const std::vector<DuplicateGroup>& groups() const;
    bool isSearching() const { return searching_; }

signals:
    void scanFinished();

protected:
    void loadView() override;

private:
    void finishSearch(DuplicateSearch result);
    void showGroups(std::vector<DuplicateGroup> groups);
    void showCountAndWaste();

    QTreeView* outlineView_ = nullptr; // also its own scroll container
    PrimaryButton* scanButton_ = nullptr;
    PrimaryButton* cleanButton_ = nullptr;
    ActivityIndicator* progress_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    DuplicatesModel* model_ = nullptr; // holds `groups`
    std::vector<std::string> roots_;
    bool searching_ = false;
};

} // namespace tidvale::gui

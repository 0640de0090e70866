#pragma once

#include "engine/finders/Duplicates.h"
#include "gui/tools/ToolViewController.h"

#include <string>
#include <vector>

class QKeySequence;
class QTreeView;

namespace tidvale::gui {

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
    void menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked) override;
    // The context menu's removals, by the group's hash and by the file's path.
    void cleanGroupFromMenu(const std::string& hash);
    void trashFromMenu(const std::string& path);
    // Makes the file at `path` the copy its group keeps through every removal; the
    // keyboard stays on its row. Also on `keepCopyKey` on the current file row.
    void keepFromMenu(const std::string& path);
    static QKeySequence keepCopyKey();

    // The folders searched; the six personal folders unless a test sets others.
    void setSearchRoots(std::vector<std::string> roots) { roots_ = std::move(roots); }

    QTreeView* outlineView() const { return outlineView_; }
    DuplicatesModel* model() const { return model_; }
    PrimaryButton* cleanButton() const { return cleanButton_; }
    const std::vector<DuplicateGroup>& groups() const;

protected:
    void loadView() override;

private:
    void showGroups(std::vector<DuplicateGroup> groups);
    void showCountAndWaste();

    QTreeView* outlineView_ = nullptr; // also its own scroll container
    PrimaryButton* cleanButton_ = nullptr;
    DuplicatesModel* model_ = nullptr; // holds `groups`
    std::vector<std::string> roots_;
};

} // namespace tidvale::gui

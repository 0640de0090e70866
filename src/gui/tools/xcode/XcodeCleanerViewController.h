#pragma once

#include "gui/tools/ToolViewController.h"

class QTableView;

namespace tidvale::gui {

class PrimaryButton;
class XcodeCleanModel;

// Measures the eleven locations Xcode, its simulators and Instruments keep under
// Library/Developer, and cleans the ticked ones: caches Xcode rebuilds are deleted,
// data it does not rebuild goes to the Trash.
class XcodeCleanerViewController : public ToolViewController {
    Q_OBJECT
public:
    using ToolViewController::ToolViewController;

    // The controls; each is null until the view is loaded.
    QTableView* tableView() const { return tableView_; }
    PrimaryButton* cleanButton() const { return cleanButton_; }
    XcodeCleanModel* items() const { return items_; }

    void doScan();
    void doClean();

signals:
    void cleanFinished();

protected:
    void loadView() override;

private:
    void cleanSelected();
    void updateCleanButton();

    QTableView* tableView_ = nullptr;
    PrimaryButton* cleanButton_ = nullptr;
    XcodeCleanModel* items_ = nullptr; // the screen's own copy of the list
};

} // namespace tidvale::gui

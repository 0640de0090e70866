#pragma once

#include "gui/tools/ToolViewController.h"

class QLabel;
class QTableView;

namespace tidvale::gui {

class ActivityIndicator;
class PrimaryButton;
class XcodeCleanModel;

// Measures the eleven locations Xcode, its simulators and Instruments keep under
// Library/Developer, and cleans the ticked ones: caches Xcode rebuilds are deleted,
// data it does not rebuild goes to the Trash.
class XcodeCleanerViewController : public ToolViewController {
    Q_OBJECT
public:
    explicit XcodeCleanerViewController(QWidget* parent = nullptr);

    // The controls; each is null until the view is loaded.
    QTableView* tableView() const { return tableView_; }
    PrimaryButton* scanButton() const { return scanButton_; }
    PrimaryButton* cleanButton() const { return cleanButton_; }
    ActivityIndicator* progress() const { return progress_; }
    QLabel* statusLabel() const { return statusLabel_; }
    XcodeCleanModel* items() const { return items_; }

public slots:
    void doScan();
    void doClean();

signals:
    void scanFinished();
    void cleanFinished();

protected:
    void loadView() override;

private:
    QTableView* tableView_ = nullptr;
    PrimaryButton* scanButton_ = nullptr;
    PrimaryButton* cleanButton_ = nullptr;
    ActivityIndicator* progress_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    XcodeCleanModel* items_ = nullptr; // the screen's own copy of the list

    void cleanSelected();
};

} // namespace tidvale::gui

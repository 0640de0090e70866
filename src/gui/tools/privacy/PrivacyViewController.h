#pragma once

#include "gui/tools/ToolViewController.h"

class QTableView;

namespace tidvale::gui {

class PrimaryButton;
class PrivacyModel;

// Lists the caches of the four browsers and Safari's history files, and deletes the
// ticked ones after a confirmation. A running browser's data is left alone.
class PrivacyViewController : public ToolViewController {
    Q_OBJECT
public:
    using ToolViewController::ToolViewController;

    // The controls; each is null until the view is loaded.
    QTableView* tableView() const { return tableView_; }
    PrimaryButton* cleanButton() const { return cleanButton_; }
    PrivacyModel* items() const { return items_; }

    void doScan();
    void doClean();

signals:
    void cleanFinished();

protected:
    void loadView() override;

private:
    void removeSelected();

    QTableView* tableView_ = nullptr;
    PrimaryButton* cleanButton_ = nullptr;
    PrivacyModel* items_ = nullptr; // the screen's own copy of the list
};

} // namespace tidvale::gui

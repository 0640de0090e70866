#pragma once

#include "gui/tools/ToolViewController.h"

class QLabel;
class QTableView;

namespace tidvale::gui {

class ActivityIndicator;
class PrimaryButton;
class PrivacyModel;

// Lists the caches of the four browsers and Safari's history files, and deletes the
// ticked ones after a confirmation. A running browser's data is left alone.
class PrivacyViewController : public ToolViewController {
    Q_OBJECT
public:
    explicit PrivacyViewController(QWidget* parent = nullptr);

    // The controls; each is null until the view is loaded.
    QTableView* tableView() const { return tableView_; }
    PrimaryButton* scanButton() const { return scanButton_; }
    PrimaryButton* cleanButton() const { return cleanButton_; }
    QLabel* totalLabel() const { return totalLabel_; }
    ActivityIndicator* progress() const { return progress_; }
    PrivacyModel* items() const { return items_; }

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
    QLabel* totalLabel_ = nullptr;
    ActivityIndicator* progress_ = nullptr;
    PrivacyModel* items_ = nullptr; // the screen's own copy of the list

    void removeSelected();
};

} // namespace tidvale::gui

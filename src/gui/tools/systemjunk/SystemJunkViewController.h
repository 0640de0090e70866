#pragma once

#include "gui/tools/ToolViewController.h"

#include "engine/scan/ScanItem.h"

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QMenu;
class QTableView;

namespace tidvale::gui {

class ActivityIndicator;
class PrimaryButton;
class SystemJunkModel;

// Lists the junk of the user's and the machine's caches and logs and of the Trash,
// and cleans the ticked rows in two stages: what the user may delete directly, then,
// after a second prompt, what needs an administrator password.
class SystemJunkViewController : public ToolViewController {
    Q_OBJECT
public:
    explicit SystemJunkViewController(QWidget* parent = nullptr);

    // The controls; each is null until the view is loaded.
    QTableView* tableView() const { return tableView_; }
    PrimaryButton* scanButton() const { return scanButton_; }
    PrimaryButton* cleanButton() const { return cleanButton_; }
    QLabel* totalLabel() const { return totalLabel_; }
    ActivityIndicator* progress() const { return progress_; }
    SystemJunkModel* items() const { return items_; }

    // Fills `menu` for the row the user clicked (negative: no row).
    void menuNeedsUpdate(QMenu* menu, int clickedRow);

public slots:
    void doScan();
    void doClean();
    // The path's bytes as they are on disk: a name that is not valid UTF-8 must still
    // reach the right file.
    void showInFinder(const QByteArray& path);
    void trashFromMenu(const QByteArray& path);

signals:
    void scanFinished();
    // The clean is over: the status line shows its outcome.
    void cleanFinished();

protected:
    void loadView() override;

private:
    QTableView* tableView_ = nullptr;
    PrimaryButton* scanButton_ = nullptr;
    PrimaryButton* cleanButton_ = nullptr;
    QLabel* totalLabel_ = nullptr;
    ActivityIndicator* progress_ = nullptr;
    SystemJunkModel* items_ = nullptr; // the screen's own copy of the list

    void runDirectStage();
    void askForAdministrator(std::vector<ScanItem> needsAdmin);
    void runAdministratorStage(std::vector<ScanItem> needsAdmin);
    // Shows the failure report when the screen can show it, then goes on with `next`.
    void reportFailures(const std::vector<std::string>& lines, std::function<void()> next);
    void finishClean();
    void updateCleanButton();
    void openContextMenu(const QPoint& pos);

    // GUI thread only.
    bool scanning_ = false;
    bool administratorRunning_ = false;
    int64_t freed_ = 0; // the running clean's freed bytes, both stages
};

} // namespace tidvale::gui

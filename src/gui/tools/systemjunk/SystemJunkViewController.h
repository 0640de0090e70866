#pragma once

#include "gui/tools/ToolViewController.h"

#include "engine/fs/ListedItem.h"
#include "engine/records/ScanItem.h"
#include "gui/text/ByteTexts.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class QTableView;

namespace tidvale::gui {

class PrimaryButton;
class SystemJunkModel;

// Lists the junk of the user's and the machine's caches and logs and of the Trash,
// and cleans the ticked rows in two stages: what the user may delete directly, then,
// after a second prompt, what needs an administrator password.
class SystemJunkViewController : public ToolViewController {
    Q_OBJECT
public:
    using ToolViewController::ToolViewController;

    // The controls; each is null until the view is loaded.
    QTableView* tableView() const { return tableView_; }
    PrimaryButton* cleanButton() const { return cleanButton_; }
    SystemJunkModel* items() const { return items_; }

    void doScan();
    void doClean();
    void menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked) override;

signals:
    // The clean is over: the status line shows its outcome.
    void cleanFinished();

protected:
    void loadView() override;
    QString bytesText(int64_t bytes) const override { return junkBytesText(bytes); }

private:
    void runDirectStage();
    void askForAdministrator(std::vector<ScanItem> needsAdmin);
    void runAdministratorStage(std::vector<ScanItem> needsAdmin);
    // Shows the failure report when the screen can show it, then goes on with `next`.
    void reportFailures(const std::vector<std::string>& lines, std::function<void()> next);
    void finishClean();
    void updateCleanButton();
    void trashFromMenu(const std::string& path);

    QTableView* tableView_ = nullptr;
    PrimaryButton* cleanButton_ = nullptr;
    SystemJunkModel* items_ = nullptr; // the screen's own copy of the list

    // GUI thread only.
    bool administratorRunning_ = false;
    int64_t freed_ = 0; // the running clean's freed bytes, both stages
    // What each listed path held just after the scan: the context menu moves only that.
    std::map<std::string, ListedStamp> listed_;
};

} // namespace tidvale::gui

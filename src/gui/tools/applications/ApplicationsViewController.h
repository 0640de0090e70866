#pragma once

#include "engine/system/SystemRecords.h"
#include "gui/tools/ToolViewController.h"

#include <string>
#include <vector>

class QTableView;

namespace tidvale {
class SystemInfoService;
}

namespace tidvale::gui {

class AppListModel;
class PrimaryButton;

// Lists the applications of both Applications folders, largest first, and moves the
// ones the user picks to the Trash.
class ApplicationsViewController : public ToolViewController {
    Q_OBJECT
public:
    explicit ApplicationsViewController(QWidget* parent = nullptr);

    QTableView* tableView() const { return tableView_; }
    PrimaryButton* uninstallButton() const { return uninstallButton_; }
    AppListModel* apps() const { return apps_; }

    void loadApps();
    void uninstallSelected();
    void menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked) override;

protected:
    void loadView() override;

private:
    void updateUninstallButton();
    void moveToTrash(const std::vector<AppInfo>& targets);
    void trashApp(const std::string& path);

    QTableView* tableView_ = nullptr;
    PrimaryButton* uninstallButton_ = nullptr;
    AppListModel* apps_;
    const SystemInfoService& sysInfo_;
};

} // namespace tidvale::gui

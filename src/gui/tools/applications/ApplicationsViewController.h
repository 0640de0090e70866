#pragma once

#include "engine/fs/ListedItem.h"
#include "gui/tools/ToolViewController.h"

#include <string>

class QLabel;
class QTableView;

namespace tidvale {
class SystemInfoService;
}

namespace tidvale::gui {

class ActivityIndicator;
class AppListModel;
class PrimaryButton;

// Lists the applications of both Applications folders, largest first, and moves the
// ones the user picks to the Trash.
class ApplicationsViewController : public ToolViewController {
    Q_OBJECT
public:
    explicit ApplicationsViewController(QWidget* parent = nullptr);

    QTableView* tableView() const { return tableView_; }
    PrimaryButton* scanButton() const { return scanButton_; }
    PrimaryButton* uninstallButton() const { return uninstallButton_; }
    ActivityIndicator* progress() const { return progress_; }
    QLabel* statusLabel() const { return statusLabel_; }
    AppListModel* apps() const { return apps_; }
    bool isLoading() const { return loading_; }

    void loadApps();
    void uninstallSelected();
    // The context menu's actions, by bundle path.
    void showAppInFinder(const std::string& path);
    void launchApp(const std::string& path);
    void trashApp(const std::string& path);

protected:
    void loadView() override;

private:
    void showContextMenu(const QPoint& pos);
    void updateUninstallButton();
    void moveToTrash(const std::vector<ListedItem>& targets);

    QTableView* tableView_ = nullptr;
    PrimaryButton* scanButton_ = nullptr;
    PrimaryButton* uninstallButton_ = nullptr;
    ActivityIndicator* progress_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    AppListModel* apps_;
    const SystemInfoService& sysInfo_;
    bool loading_ = false; // GUI thread only
};

} // namespace tidvale::gui

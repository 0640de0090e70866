#pragma once

#include "engine/apps/AppUninstall.h"
#include "gui/tools/ToolViewController.h"

#include <string>
#include <vector>

class QTableView;

namespace tidvale::gui {

class AppListModel;
class PrimaryButton;

// Lists the applications of both Applications folders, largest first, and moves the
// ones the user picks to the Trash. On a Linux desktop it lists the menu's
// applications and uninstalls each the way it was installed: a package through the
// package manager, a Flatpak with flatpak, an AppImage into the Trash.
class ApplicationsViewController : public ToolViewController {
    Q_OBJECT
public:
    explicit ApplicationsViewController(const ScreenServices& services, QWidget* parent = nullptr);

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
    void linuxMenu(QMenu* menu, const AppInfo& app);
    std::vector<AppInfo> listedApps() const;
    void uninstallApps(const std::vector<AppInfo>& chosen);
    void confirmUninstall(
        const UninstallPlan& plan, const platform::PackageRemovalPreview& preview);
    void runUninstall(
        const UninstallPlan& plan, const std::vector<platform::DebianPackage>& others);

    QTableView* tableView_ = nullptr;
    PrimaryButton* uninstallButton_ = nullptr;
    AppListModel* apps_;
};

} // namespace tidvale::gui

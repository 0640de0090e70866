#pragma once

#include "engine/records/LaunchItem.h"
#include "gui/tools/ToolViewController.h"

#include <string>

class QTableView;

namespace tidvale::gui {

class LaunchItemModel;
class PrimaryButton;

// Lists the launch agents and daemons of the user's and the machine's launch folders
// and deletes the property list of the one the user picks. On a Linux desktop it
// lists what starts with the session, switches the picked item off the way its kind
// asks, and turns on again one that is switched off ("Activar").
class ExtensionsViewController : public ToolViewController {
    Q_OBJECT
public:
    explicit ExtensionsViewController(const ScreenServices& services, QWidget* parent = nullptr);

    QTableView* tableView() const { return tableView_; }
    PrimaryButton* removeButton() const { return removeButton_; }
    LaunchItemModel* items() const { return items_; }

    void loadItems();
    void removeSelected();

protected:
    void loadView() override;

private:
    void updateRemoveButton();
    const LaunchItem* selectedItem() const;
    void removeItem(int row, const LaunchItem& item);
    void enableItem(const LaunchItem& item);
    void reselect(const std::string& path);

    QTableView* tableView_ = nullptr;
    PrimaryButton* removeButton_ = nullptr;
    LaunchItemModel* items_;
};

} // namespace tidvale::gui

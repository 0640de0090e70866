#pragma once

#include "engine/records/SystemFigures.h"
#include "engine/usage/UsageTree.h"
#include "gui/tools/RecordTableModel.h"
#include "gui/tools/ToolViewController.h"

#include <memory>
#include <optional>

class QLabel;
class QSplitter;
class QTableView;
class QTimer;

namespace tidvale::gui {

class DiskMapView;
class PrimaryButton;
class UsageBarView;

// One row of the list beside the map: a child of the folder at its centre, or what
// the folder holds in pieces too small to list (id kNoUsage).
struct UsageRow {
    UsageId id = kNoUsage;
    std::string path;
    std::string name;
    int64_t bytes = 0;
    double share = 0;
    uint32_t items = 0;
    uint8_t flags = 0;
};

// How full the volume holding the home folder is. The figures are read when the
// screen is first built and on "Actualizar", which rebuilds the whole screen.
//
// Under them, where the space went: a map of a folder (the home, or the whole volume
// for the administrator) drawn while the walk runs, with the folder's children as a
// list beside it, so that everything the map shows can be reached by keyboard.
class DiskSpaceViewController : public ToolViewController {
    Q_OBJECT
public:
    using ToolViewController::ToolViewController;

    const std::optional<DiskInfo>& diskInfo() const { return diskInfo_; }
    QLabel* percentLabel() const { return percentLabel_; }
    QLabel* totalValue() const { return totalValue_; }
    QLabel* usedValue() const { return usedValue_; }
    QLabel* freeValue() const { return freeValue_; }
    // The blocks kept for the administrator, where the system names them; else null.
    QLabel* reservedValue() const { return reservedValue_; }
    UsageBarView* usageBar() const { return usageBar_; }
    PrimaryButton* finderButton() const { return finderButton_; }
    PrimaryButton* refreshButton() const { return refreshButton_; }

    void openInFinder();
    void refreshDisk();

    // The map: walks `mapFolder()` ("Detener" stops it), and moves its centre.
    void doMap();
    void chooseFolder();
    void setMapFolder(std::string folder);
    const std::string& mapFolder() const { return mapFolder_; }
    void zoomTo(UsageId id);
    void zoomOut();
    UsageId centre() const { return centre_; }
    const std::shared_ptr<UsageTree>& usageTree() const { return tree_; }
    DiskMapView* mapView() const { return mapView_; }
    QTableView* childList() const { return childList_; }
    RecordTableModel<UsageRow>* childModel() const { return childModel_; }
    QLabel* breadcrumb() const { return breadcrumb_; }
    // The actions on an entry of the map or the list.
    void fillEntryMenu(QMenu* menu, UsageId id);
    void trashEntry(UsageId id);

signals:
    // "Buscar … aquí": the screen of `tool` should search `folder`.
    void searchHereRequested(int tool, const QString& folder);

protected:
    void loadView() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The figures under the header, in a scrolling column; an empty widget when the
    // volume could not be read.
    QWidget* buildFigures();
    QWidget* buildMap();
    // Draws the map and the list again from the tree as it is now.
    void showMap();
    void sortRows(int column, Qt::SortOrder order);

    std::optional<DiskInfo> diskInfo_;
    QLabel* percentLabel_ = nullptr;
    QLabel* totalValue_ = nullptr;
    QLabel* usedValue_ = nullptr;
    QLabel* freeValue_ = nullptr;
    QLabel* reservedValue_ = nullptr;
    UsageBarView* usageBar_ = nullptr;
    PrimaryButton* finderButton_ = nullptr;
    PrimaryButton* refreshButton_ = nullptr;

    // The map's part of the screen, kept across "Actualizar". GUI thread only.
    QWidget* mapSection_ = nullptr;
    DiskMapView* mapView_ = nullptr;
    QTableView* childList_ = nullptr;
    RecordTableModel<UsageRow>* childModel_ = nullptr;
    QLabel* breadcrumb_ = nullptr;
    QSplitter* split_ = nullptr;
    PrimaryButton* chooseButton_ = nullptr;
    QLabel* mapStatus_ = nullptr;
    QTimer* fillTimer_ = nullptr;
    std::string mapFolder_;
    std::shared_ptr<UsageTree> tree_; // shared with the walk while it runs
    UsageId centre_ = kUsageRoot;
    int sortColumn_ = 1;
    Qt::SortOrder sortOrder_ = Qt::DescendingOrder;
};

} // namespace tidvale::gui

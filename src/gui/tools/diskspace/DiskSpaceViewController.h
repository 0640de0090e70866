#pragma once

#include "engine/records/SystemFigures.h"
#include "gui/tools/ToolViewController.h"

#include <optional>

class QLabel;

namespace tidvale::gui {

class PrimaryButton;
class UsageBarView;

// How full the volume holding the home folder is. The figures are read when the
// screen is first built and on "Actualizar", which rebuilds the whole screen.
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

protected:
    void loadView() override;

private:
    // The figures under the header, in a scrolling column; an empty widget when the
    // volume could not be read.
    QWidget* buildFigures();

    std::optional<DiskInfo> diskInfo_;
    QLabel* percentLabel_ = nullptr;
    QLabel* totalValue_ = nullptr;
    QLabel* usedValue_ = nullptr;
    QLabel* freeValue_ = nullptr;
    QLabel* reservedValue_ = nullptr;
    UsageBarView* usageBar_ = nullptr;
    PrimaryButton* finderButton_ = nullptr;
    PrimaryButton* refreshButton_ = nullptr;
};

} // namespace tidvale::gui

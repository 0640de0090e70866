#pragma once

#include "gui/tools/ToolViewController.h"

#include <QPointer>
#include <QTimer>

class QGridLayout;
class QLabel;
class QProgressBar;

namespace tidvale::gui {

class PrimaryButton;

// The machine's memory figures, refreshed every three seconds while the screen is in
// view, and the optimise button that reports how much free memory grew.
class MemoryViewController : public ToolViewController {
    Q_OBJECT
public:
    static constexpr int refreshMilliseconds = 3000;

    using ToolViewController::ToolViewController;

    QTimer* refreshTimer() const { return refreshTimer_; }
    QLabel* totalLabel() const { return totalLabel_; }
    QLabel* usedLabel() const { return usedLabel_; }
    QLabel* freeLabel() const { return freeLabel_; }
    QLabel* activeLabel() const { return activeLabel_; }
    QLabel* inactiveLabel() const { return inactiveLabel_; }
    QLabel* wiredLabel() const { return wiredLabel_; }
    QLabel* compressedLabel() const { return compressedLabel_; }
    QProgressBar* progressBar() const { return progressBar_; }
    PrimaryButton* optimizeBtn() const { return optimizeBtn_; }
    bool isOptimizing() const { return isOptimizing_; }
    // The bar's value as a fraction of full (the bar itself counts in ten-thousandths).
    double progressValue() const;

    void refresh();
    void optimizeMemory();

protected:
    void loadView() override;
    void viewDidAppear() override;
    void viewDidDisappear() override;

private:
    void startTimer();
    QLabel* addFigure(QGridLayout* grid, int row, const QString& name);

    // A child of the screen, so it goes with it; its ticks are delivered to the screen
    // only while the screen exists.
    QPointer<QTimer> refreshTimer_;
    QLabel* totalLabel_ = nullptr;
    QLabel* usedLabel_ = nullptr;
    QLabel* freeLabel_ = nullptr;
    QLabel* activeLabel_ = nullptr;
    QLabel* inactiveLabel_ = nullptr;
    QLabel* wiredLabel_ = nullptr;
    QLabel* compressedLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    PrimaryButton* optimizeBtn_ = nullptr;
    bool isOptimizing_ = false; // GUI thread only
};

} // namespace tidvale::gui

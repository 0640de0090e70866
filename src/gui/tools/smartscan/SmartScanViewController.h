#pragma once

#include "engine/scan/ScanItem.h"
#include "gui/tools/ToolViewController.h"

#include <vector>

class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace tidvale::gui {

class ActivityIndicator;
class PrimaryButton;
class ResultCardView;
class ScanButton;

// One press scans every junk category and the browser caches, shows one card per
// category, and a second button removes all of it after one confirmation. What it
// may not remove (a running browser's data, items that need an administrator) it only
// counts, pointing the user to System Junk and Privacy.
class SmartScanViewController : public ToolViewController {
    Q_OBJECT
public:
    using ToolViewController::ToolViewController;

    void startScan();
    void cleanAll();

    // Controls and state, for tests. GUI thread only.
    ScanButton* scanButton() const { return scanButton_; }
    QLabel* statusLabel() const { return statusLabel_; }
    ActivityIndicator* progressBar() const { return progressBar_; }
    QWidget* contentStack() const { return contentStack_; }
    const std::vector<ResultCardView*>& resultCards() const { return resultCards_; }
    PrimaryButton* cleanButton() const { return cleanButton_; }
    const std::vector<ScanItem>& allItems() const { return allItems_; }
    bool isScanning() const { return isScanning_; }

signals:
    // Every text the status line shows, in order (progress, totals, completion).
    void statusTextChanged(const QString& text);

protected:
    void loadView() override;

private:
    void setStatus(const QString& text);
    void showResults(std::vector<ScanItem> items);
    void clean();
    void clearContent();
    QLabel* addMessage(const QString& text, int points, QFont::Weight weight, const QColor& color);

    QScrollArea* scrollView_ = nullptr;
    QWidget* contentStack_ = nullptr;
    QVBoxLayout* contentLayout_ = nullptr;
    ScanButton* scanButton_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    ActivityIndicator* progressBar_ = nullptr;
    std::vector<ResultCardView*> resultCards_;
    PrimaryButton* cleanButton_ = nullptr;
    std::vector<ScanItem> allItems_;
    bool isScanning_ = false;
};

} // namespace tidvale::gui

#pragma once

#include "engine/records/ScanItem.h"
#include "gui/tools/ToolViewController.h"

#include <QFont>

#include <vector>

class QHBoxLayout;
class QLabel;
class QVBoxLayout;

namespace tidvale::gui {

class PrimaryButton;
class ResultCardView;

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
    QWidget* contentStack() const { return contentStack_; }
    const std::vector<ResultCardView*>& resultCards() const { return resultCards_; }
    // "Limpiar Todo", under the cards and always in view; null when there is nothing to
    // clean.
    PrimaryButton* cleanButton() const { return cleanButton_; }
    const std::vector<ScanItem>& allItems() const { return allItems_; }

protected:
    void loadView() override;

private:
    void showResults(std::vector<ScanItem> items, std::vector<ScanItem> privacy = {});
    void clean();
    void clearContent();
    void setContentHidden(bool hidden);
    QLabel* addMessage(const QString& text, int points, QFont::Weight weight, const QColor& color);

    QWidget* contentStack_ = nullptr;
    QVBoxLayout* contentLayout_ = nullptr;
    QHBoxLayout* footer_ = nullptr;
    std::vector<ResultCardView*> resultCards_;
    PrimaryButton* cleanButton_ = nullptr;
    std::vector<ScanItem> allItems_;
};

} // namespace tidvale::gui

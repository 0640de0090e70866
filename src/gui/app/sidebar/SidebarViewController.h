#pragma once

#include "engine/texts/PlatformTexts.h"

#include <QWidget>

class QListView;
class QLabel;

namespace tidvale::gui {

class SidebarCell;
class SidebarModel;

// The dark left column: the application's mark, the eleven tools and the version.
// Choosing a row emits didSelect(tag) before the highlight moves, so the content
// container switches screens in the same step. The container is connected to the
// signal, which holds it no longer than it lives; with nobody connected, rows are
// still highlighted. The system's `texts` name the computer and the developer tool.
class SidebarViewController : public QWidget {
    Q_OBJECT
public:
    explicit SidebarViewController(const PlatformTexts& texts, QWidget* parent = nullptr);

    // Selects `row` alone and reports its tag, as a click on it does.
    void selectItem(int row);

    QListView* tableView() const { return tableView_; }
    SidebarModel* model() const { return model_; }
    int selectedRow() const;

signals:
    void didSelect(int tag);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SidebarModel* model_;
    QListView* tableView_;
    SidebarCell* cell_;
};

} // namespace tidvale::gui

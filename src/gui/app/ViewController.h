#pragma once

#include <QWidget>

namespace tidvale::gui {

class SidebarViewController;
class ContentContainerViewController;

// The main window: the sidebar, 220 points wide, a thin divider and the content pane,
// which takes every change of width. The panes sit in a plain row rather than a
// draggable splitter: the sidebar's width is fixed, so there is nothing to drag.
// It is created hidden; show it with showMainWindow().
class ViewController : public QWidget {
    Q_OBJECT
public:
    static constexpr int sidebarWidth = 220;

    explicit ViewController(QWidget* parent = nullptr);

    QWidget* splitView() const { return splitView_; }
    SidebarViewController* sidebarVC() const { return sidebarVC_; }
    ContentContainerViewController* contentVC() const { return contentVC_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* splitView_;
    SidebarViewController* sidebarVC_;
    ContentContainerViewController* contentVC_;
    bool appeared_ = false;
};

// Titles, sizes and centres the window on its screen, then shows it and brings it to
// the front.
void showMainWindow(ViewController& window);

} // namespace tidvale::gui

#pragma once

#include "gui/tools/ScreenServices.h"

#include <QWidget>

namespace tidvale::gui {

class SidebarViewController;
class ContentContainerViewController;

// The main window: the sidebar, 220 points wide, a thin divider and the content pane,
// which takes every change of width. The panes sit in a plain row rather than a
// draggable splitter: the sidebar's width is fixed, so there is nothing to drag.
// It is created hidden; show it with showMainWindow(). The screens are built on
// `services`, which must outlive the window.
class ViewController : public QWidget {
    Q_OBJECT
public:
    static constexpr int sidebarWidth = 220;
    static constexpr QSize firstSize{920, 640};
    static constexpr QSize smallestSize{760, 500};

    explicit ViewController(const ScreenServices& services, QWidget* parent = nullptr);

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

// Where the window first appears on a screen whose free area is `available`: 920 by 640
// where that fits, less where it does not (a small screen, a large scale factor), never
// smaller than the minimum; the frame, with a title bar `titleBar` high, centred.
struct WindowPlacement {
    QSize size;      // of the window's contents
    QPoint position; // of its frame
};
WindowPlacement placeWindow(const QRect& available, int titleBar);

// Titles, sizes and centres the window on its screen, then shows it and brings it to
// the front.
void showMainWindow(ViewController& window);

} // namespace tidvale::gui

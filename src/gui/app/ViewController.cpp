#include "gui/app/ViewController.h"

#include "gui/app/AppMenu.h"
#include "gui/app/HistoryWindow.h"
#include "gui/app/PreferencesWindow.h"
#include "gui/app/container/ContentContainerViewController.h"
#include "gui/app/sidebar/SidebarModel.h"
#include "gui/app/sidebar/SidebarViewController.h"
#include "gui/jobs/RemovalLog.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace tidvale::gui {

ViewController::ViewController(const ScreenServices& services, QWidget* parent)
    : QWidget(parent)
    , splitView_(new QWidget(this))
    , sidebarVC_(new SidebarViewController(*services.context.places.texts))
    , contentVC_(new ContentContainerViewController(services))
{
    setWindowTitle(QStringLiteral("Tidvale"));
    setMinimumSize(smallestSize);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitView_);
    auto* panes = new QHBoxLayout(splitView_);
    panes->setContentsMargins(0, 0, 0, 0);
    panes->setSpacing(0);
    auto* divider = new QFrame(splitView_);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setFixedWidth(1);
    divider->setStyleSheet(QStringLiteral("color: rgba(0, 0, 0, 60);"));
    sidebarVC_->setFixedWidth(sidebarWidth);
    contentVC_->setMinimumWidth(200);
    panes->addWidget(sidebarVC_, 0);
    panes->addWidget(divider, 0);
    panes->addWidget(contentVC_, 1);
    connect(sidebarVC_, &SidebarViewController::didSelect, contentVC_,
        &ContentContainerViewController::sidebarDidSelect);

    const Context* context = &services.context;
    QStringList tools;
    const SidebarModel* sidebarItems = sidebarVC_->model();
    for (int row = 0; row < sidebarItems->rowCount(); ++row)
        tools << sidebarItems->index(row).data(Qt::DisplayRole).toString();
    RemovalLog* removals = &services.removals;
    AppMenuActions actions;
    actions.openPreferences = [this, context] { showPreferences(this, *context); };
    actions.openHistory = [this, context] { showHistory(this, *context); };
    actions.canUndoRemoval = [removals] { return removals->canUndo(); };
    actions.undoRemoval = [this, removals] {
        const UndoReport report = removals->undoLast();
        if (ToolViewController* screen = contentVC_->currentChild())
            screen->showUndo(report);
    };
    layout->setMenuBar(
        makeAppMenuBar(this, actions, tools, [this](int index) { sidebarVC_->selectItem(index); }));
}

void ViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The first tool comes up with the window. Later appearances (restoring a
    // minimised window) keep the tool the user was on.
    if (!appeared_) {
        appeared_ = true;
        sidebarVC_->selectItem(0);
    }
}

WindowPlacement placeWindow(const QRect& available, int titleBar)
{
    const QSize room(available.width(), available.height() - titleBar);
    const QSize size
        = ViewController::firstSize.boundedTo(room).expandedTo(ViewController::smallestSize);
    QRect frame(QPoint(), QSize(size.width(), size.height() + titleBar));
    frame.moveCenter(available.center());
    // A window larger than the area, at the minimum size, keeps its title bar on screen.
    frame.moveTop(std::max(frame.top(), available.top()));
    frame.moveLeft(std::max(frame.left(), available.left()));
    return {size, frame.topLeft()};
}

void showMainWindow(ViewController& window)
{
    window.setWindowTitle(QStringLiteral("Tidvale"));
    window.setMinimumSize(ViewController::smallestSize);
    window.resize(ViewController::firstSize);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        // The window manager's title bar is not known before the window is shown: the
        // style's own title bar height stands in for it.
        const int titleBar = std::max(window.style()->pixelMetric(QStyle::PM_TitleBarHeight), 30);
        const WindowPlacement place = placeWindow(screen->availableGeometry(), titleBar);
        window.resize(place.size);
        window.move(place.position);
    }
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace tidvale::gui

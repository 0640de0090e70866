#include "gui/app/ViewController.h"

#include "gui/app/AppMenu.h"
#include "gui/app/container/ContentContainerViewController.h"
#include "gui/app/sidebar/SidebarViewController.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

namespace tidvale::gui {

ViewController::ViewController(QWidget* parent)
    : QWidget(parent)
    , splitView_(new QWidget(this))
    , sidebarVC_(new SidebarViewController)
    , contentVC_(new ContentContainerViewController)
{
    setWindowTitle(QStringLiteral("Tidvale"));
    setMinimumSize(760, 500);

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

    layout->setMenuBar(makeAppMenuBar(this));
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

void showMainWindow(ViewController& window)
{
    window.setWindowTitle(QStringLiteral("Tidvale"));
    window.setMinimumSize(760, 500);
    window.resize(920, 640);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), window.size());
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace tidvale::gui

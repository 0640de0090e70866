#include "gui/tools/ToolViewController.h"

#include "gui/style/Colors.h"

#include <QPainter>

namespace tidvale::gui {

ToolViewController::ToolViewController(QWidget* parent)
    : QWidget(parent)
{
}

void ToolViewController::ensureViewLoaded()
{
    if (loaded_)
        return;
    loaded_ = true;
    loadView();
}

void ToolViewController::showEvent(QShowEvent* event)
{
    ensureViewLoaded();
    QWidget::showEvent(event);
    viewDidAppear();
}

void ToolViewController::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    viewDidDisappear();
}

void ToolViewController::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), windowBackgroundColor(this));
}

} // namespace tidvale::gui

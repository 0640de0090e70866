#include "gui/style/FocusRing.h"

#include <QVariant>
#include <QWidget>

namespace tidvale::gui {
namespace {

const char* const kByKeyboard = "tidvaleFocusByKeyboard";

} // namespace

bool showsFocusRing(const QWidget* widget)
{
    return widget->hasFocus() && widget->property(kByKeyboard).value<bool>();
}

void noteFocusIn(QWidget* widget, Qt::FocusReason reason)
{
    // The window coming back (after an alert, another application) keeps what the
    // widget showed before.
    if (reason == Qt::ActiveWindowFocusReason && widget->property(kByKeyboard).isValid())
        return;
    widget->setProperty(kByKeyboard, reason != Qt::MouseFocusReason);
    widget->update();
}

void noteKeyPress(QWidget* widget)
{
    if (!widget->property(kByKeyboard).value<bool>()) {
        widget->setProperty(kByKeyboard, true);
        widget->update();
    }
}

} // namespace tidvale::gui

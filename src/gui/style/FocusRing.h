#pragma once

#include <Qt>

class QWidget;

namespace tidvale::gui {

// Whether `widget` shows its focus ring now: it has the keyboard focus, and it got it
// from the keyboard (Tab, a shortcut, the window opening) or has been used by keys
// since. A click gives the focus without a ring, so a mouse user sees no outline left
// behind on what was clicked.
bool showsFocusRing(const QWidget* widget);

// Kept up to date by the widgets that draw their own ring, from their focusInEvent and
// keyPressEvent.
void noteFocusIn(QWidget* widget, Qt::FocusReason reason);
void noteKeyPress(QWidget* widget);

} // namespace tidvale::gui

#pragma once

#include <QFont>

namespace tidvale::gui {

// A system font `points` tall. Sizes are in device-independent pixels, the unit of the
// layout, so a 13-point title keeps its proportion to the 46-point rows on every screen
// density instead of growing with the X11 font DPI.
QFont uiFont(int points, QFont::Weight weight = QFont::Normal);

// The same with digits of equal width, for size columns that must line up.
QFont monospacedDigitFont(int points, QFont::Weight weight = QFont::Normal);

} // namespace tidvale::gui

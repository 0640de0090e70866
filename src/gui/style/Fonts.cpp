#include "gui/style/Fonts.h"

#include <QApplication>

namespace tidvale::gui {

QFont uiFont(int points, QFont::Weight weight)
{
    QFont f = QApplication::font();
    f.setPixelSize(points);
    f.setWeight(weight);
    return f;
}

QFont monospacedDigitFont(int points, QFont::Weight weight)
{
    // The common sans fonts (DejaVu, Noto, San Francisco) draw digits of equal
    // width by default; Qt 6.4 offers no way to ask for them explicitly.
    return uiFont(points, weight);
}

} // namespace tidvale::gui

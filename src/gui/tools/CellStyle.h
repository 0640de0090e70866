#pragma once

// Colours and fonts of the list cells, until the shared widget helpers land.
#include "engine/core/SystemColor.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QPalette>

namespace tidvale::gui {

inline QColor systemColor(SystemColor c)
{
    const Rgb rgb = rgbOf(c);
    return QColor(rgb.r, rgb.g, rgb.b);
}

inline QColor labelColor()
{
    return QApplication::palette().color(QPalette::Text);
}

inline QColor secondaryLabelColor()
{
    QColor c = labelColor();
    c.setAlphaF(0.55f);
    return c;
}

inline QColor tertiaryLabelColor()
{
    QColor c = labelColor();
    c.setAlphaF(0.30f);
    return c;
}

inline QFont uiFont(int points, QFont::Weight weight = QFont::Normal)
{
    QFont f = QApplication::font();
    f.setPixelSize(points);
    f.setWeight(weight);
    return f;
}

inline QFont monospacedDigitFont(int points, QFont::Weight weight = QFont::Normal)
{
    return uiFont(points, weight);
}

} // namespace tidvale::gui

#include "gui/style/Colors.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace tidvale::gui {
namespace {

QPalette paletteOf(const QWidget* w)
{
    return w ? w->palette() : QApplication::palette();
}

} // namespace

QColor systemColor(SystemColor c)
{
    const Rgb v = rgbOf(c);
    return QColor(v.r, v.g, v.b);
}

QColor labelColor(const QWidget* w)
{
    return paletteOf(w).color(QPalette::WindowText);
}

QColor secondaryLabelColor(const QWidget* w)
{
    return withOpacity(labelColor(w), 0.55);
}

QColor tertiaryLabelColor(const QWidget* w)
{
    return withOpacity(labelColor(w), 0.30);
}

QColor separatorColor(const QWidget* w)
{
    return withOpacity(labelColor(w), 0.15);
}

QColor windowBackgroundColor(const QWidget* w)
{
    return paletteOf(w).color(QPalette::Window);
}

QColor controlBackgroundColor(const QWidget* w)
{
    return paletteOf(w).color(QPalette::Base);
}

QColor accentGreen()
{
    return QColor::fromRgbF(0.15f, 0.83f, 0.4f);
}

QColor xcodeBrown()
{
    return QColor::fromRgbF(0.6f, 0.4f, 0.2f);
}

QColor usageLevelColor(UsageLevel level, const QColor& normal)
{
    switch (level) {
    case UsageLevel::critical:
        return systemColor(SystemColor::red);
    case UsageLevel::warning:
        return systemColor(SystemColor::orange);
    case UsageLevel::normal:
        break;
    }
    return normal;
}

QColor withOpacity(QColor c, double opacity)
{
    c.setAlphaF(static_cast<float>(c.alphaF() * opacity));
    return c;
}

} // namespace tidvale::gui

#include "gui/style/Colors.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

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

double contrastRatio(const QColor& a, const QColor& b)
{
    auto luminance = [](const QColor& c) {
        auto channel = [](float v) {
            return v <= 0.03928f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF())
            + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor focusRingColor(const QColor& background, const QColor& preferred)
{
    QColor opaque = preferred;
    opaque.setAlpha(255);
    if (contrastRatio(background, opaque) >= 3.0)
        return opaque;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(background, black) >= contrastRatio(background, white) ? black : white;
}

QColor withOpacity(QColor c, double opacity)
{
    c.setAlphaF(static_cast<float>(c.alphaF() * opacity));
    return c;
}

} // namespace tidvale::gui

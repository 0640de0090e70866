#pragma once

#include "engine/core/SystemColor.h"
#include "engine/system/Usage.h"

#include <QColor>

class QWidget;

namespace tidvale::gui {

// The platform's named colours as fixed sRGB values (their light-appearance values).
QColor systemColor(SystemColor c);

// Colours that follow the widget palette, so light and dark appearances both read well.
// `w` picks the palette; without one the application's palette is used.
QColor labelColor(const QWidget* w = nullptr);
QColor secondaryLabelColor(const QWidget* w = nullptr); // text at 55 %
QColor tertiaryLabelColor(const QWidget* w = nullptr);  // text at 30 %
QColor separatorColor(const QWidget* w = nullptr);
QColor windowBackgroundColor(const QWidget* w = nullptr);
QColor controlBackgroundColor(const QWidget* w = nullptr);

// Smart Scan's green, also the application's mark in the sidebar.
QColor accentGreen();
// The Xcode cleaner's brown (red 0.6, green 0.4, blue 0.2).
QColor xcodeBrown();

// How full memory or a volume is: red when critical, orange as a warning, else `normal`.
QColor usageLevelColor(UsageLevel level, const QColor& normal);

// `c` with its alpha multiplied by `opacity`.
QColor withOpacity(QColor c, double opacity);

// The contrast ratio of two opaque colours as accessibility guidelines measure it
// (1 to 21).
double contrastRatio(const QColor& a, const QColor& b);

// The keyboard focus ring: `preferred` where it stands out at least 3:1 against
// `background`, else black or white, whichever stands out more.
QColor focusRingColor(const QColor& background, const QColor& preferred);

// Width of every focus ring the application draws itself, in points.
constexpr qreal focusRingWidth = 2.5;

} // namespace tidvale::gui

#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace tidvale::gui {

// A plain-text label (file names never turn into markup) in the system font at
// `points` with `weight`, drawn in `color` (e.g. secondaryLabelColor()).
QLabel* makeLabel(const QString& text, int points, QFont::Weight weight, const QColor& color,
    QWidget* parent = nullptr);

// Draws `label`'s text in `color` from now on.
void setTextColor(QLabel* label, const QColor& color);

} // namespace tidvale::gui

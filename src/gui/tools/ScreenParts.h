#pragma once

#include "engine/system/Usage.h"

#include <QColor>

class QFrame;
class QLabel;
class QScrollArea;
class QTableView;
class QWidget;

namespace tidvale::gui {

class ActivityIndicator;
class PrimaryButton;

// Pieces the system tool screens (Memoria, Aplicaciones, Extensiones, Espacio en
// Disco) build alike.

// The list screens: `header`, then a toolbar with the two buttons, the spinner and the
// status line, then a table filling the rest, all laid out on `screen`. Returns the
// table, whole-row selection, rows `rowHeight` high, alternating backgrounds.
QTableView* layOutListScreen(QWidget* screen, QWidget* header, PrimaryButton* first,
    PrimaryButton* second, ActivityIndicator* progress, QLabel* status, int rowHeight);

// A one-line status text, 12 points, secondary label colour, elided rather than
// pushing the window wider.
QLabel* makeStatusLabel(QWidget* parent);

// A one-pixel horizontal rule in the separator colour.
QFrame* makeSeparatorLine(const QWidget* colourSource);

// A borderless vertical scroll area showing `column` on the screen's background.
QScrollArea* makeScrollColumn(QWidget* column);

// Red when critical, orange as a warning, else `normal`.
QColor usageLevelColor(UsageLevel level, const QColor& normal);

} // namespace tidvale::gui

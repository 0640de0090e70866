#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <initializer_list>

class QAbstractItemModel;
class QLabel;
class QTableView;
class QVBoxLayout;

namespace tidvale::gui {

class ActivityIndicator;
class PrimaryButton;

struct CleanerHeader {
    QString title;
    QString subtitle;
    QString symbol;
    QColor color; // the header's symbol and the scan button
};

// The controls every cleaner screen shares, laid out on the screen.
struct CleanerControls {
    PrimaryButton* scanButton;
    PrimaryButton* cleanButton; // red, disabled until there is something to clean
    ActivityIndicator* progress;
    QLabel* statusLabel; // one line, secondary label colour, empty at first
    QVBoxLayout* body;   // under the toolbar row, for the list and what follows it
};

// Lays out `screen`: the screen header, then a toolbar row with the scan and clean
// buttons, the spinner and the status line, then the body.
CleanerControls layOutCleanerScreen(QWidget* screen, const CleanerHeader& header,
    const QString& scanTitle, const QString& cleanTitle);

// A cleaner list over `model`: fixed rows of `rowHeight`, alternating backgrounds, a
// vertical scroller only, the given column widths, and the column `stretch` taking
// the room left. Rows are never measured one by one, so a list of any length fills
// and scrolls at once. The style's own text margin gives the cells their inset.
QTableView* makeCleanerList(QAbstractItemModel* model, int rowHeight,
    std::initializer_list<int> widths, int stretch, QWidget* parent = nullptr);

} // namespace tidvale::gui

#pragma once

#include <QWidget>

#include <initializer_list>

class QAbstractItemModel;
class QTableView;

namespace tidvale::gui {

// A cleaner list over `model`: fixed rows of `rowHeight`, alternating backgrounds, a
// vertical scroller only, the given column widths, and the column `stretch` taking
// the room left. Rows are never measured one by one, so a list of any length fills
// and scrolls at once. The style's own text margin gives the cells their inset.
QTableView* makeCleanerList(QAbstractItemModel* model, int rowHeight,
    std::initializer_list<int> widths, int stretch, QWidget* parent = nullptr);

} // namespace tidvale::gui

#pragma once

#include <QAbstractItemView>
#include <QStyledItemDelegate>

#include <vector>

class QTableView;
class QTreeView;

namespace tidvale::gui {

// How a list looks: every screen's lists are made from one of these.
struct ListLook {
    int rowHeight = 44;
    std::vector<int> widths; // per column, in points
    int stretch = -1;        // the column that takes the room left; -1: the last one
    QAbstractItemView::SelectionMode selection = QAbstractItemView::SingleSelection;
    Qt::TextElideMode elide = Qt::ElideRight;
    int middleElided = -1; // a column of paths, shortened in the middle
    bool headerShown = true;
};

// Draws cells one line high, shortened with `elide`, and gives every row `rowHeight`.
class ListCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ListCellDelegate(Qt::TextElideMode elide, int rowHeight, QObject* parent);
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    Qt::TextElideMode elide_;
    int rowHeight_;
};

// A list over `model`: alternating rows, no grid, one line per cell, whole-row
// selection, no editing, the given column widths with the stretch column giving way
// when the window narrows. Rows all have the same height and are never measured one
// by one, so a list of a hundred thousand rows fills and scrolls at once.
QTableView* makeTableList(
    QAbstractItemModel* model, const ListLook& look, QWidget* parent = nullptr);
// The same as a two-level tree, 20 points of indentation per level.
QTreeView* makeTreeList(QAbstractItemModel* model, const ListLook& look, QWidget* parent = nullptr);

} // namespace tidvale::gui

#pragma once

// Pieces the three file-list screens (Large files, Duplicates, Downloads) share: the
// look of their lists, their status line and their context menus.
#include <QColor>
#include <QStyledItemDelegate>

#include <functional>
#include <string>

class QAbstractItemView;
class QHBoxLayout;
class QLabel;
class QMenu;
class QModelIndex;
class QPoint;

namespace tidvale::gui {

class ActivityIndicator;

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

// Alternating rows, no grid, one line per cell, rows of `rowHeight`.
void styleList(QAbstractItemView* view, int rowHeight);

// The line under the buttons: the activity indicator (hidden until work starts) and the
// status label, which gets the whole width so long texts are never cut short.
QHBoxLayout* makeStatusRow(ActivityIndicator*& progress, QLabel*& status, QWidget* parent);

// Opens a context menu on `view` at `pos` (viewport coordinates) filled by `fill` with
// the row under the pointer (invalid when none); an empty menu is not shown.
void popUpContextMenu(QAbstractItemView* view, const QPoint& pos,
    const std::function<void(QMenu*, const QModelIndex&)>& fill);
void addMenuItem(
    QMenu* menu, const QString& title, const QString& symbol, std::function<void()> action);

} // namespace tidvale::gui

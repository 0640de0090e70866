#pragma once

#include "gui/tools/ItemLists.h"

#include <QStyledItemDelegate>

namespace tidvale::gui {

// Draws the icon 36 points square, centred in its cell, scaled to fit.
class CentredIconDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(
        QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The name, and under it in small secondary text why the row cannot be uninstalled
// here, when it cannot: the user sees it before choosing the row, not after.
class AppNameDelegate : public ListCellDelegate {
public:
    AppNameDelegate(int rowHeight, QObject* parent);
    void paint(
        QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace tidvale::gui

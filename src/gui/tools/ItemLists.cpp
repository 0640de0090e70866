#include "gui/tools/ItemLists.h"

#include "gui/style/Colors.h"
#include "gui/style/FocusRing.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QTableView>
#include <QTreeView>

#include <algorithm>

namespace tidvale::gui {
namespace {

// What every list does with the keyboard beyond Qt's own: Tab and Shift+Tab leave it
// (the arrows move inside), and so do Ctrl+Tab and Ctrl+Shift+Tab; Shift+F10 and the
// Menu key open the context menu of the current row, where the row is; Space ticks the
// current row's box, whichever of its cells is current. It draws a ring around the
// current row while the list has the keyboard.
template <class View> class KeyboardList : public View {
public:
    using View::View;

protected:
    bool event(QEvent* e) override
    {
        // The Menu key arrives as a context menu event aimed at the list's middle.
        if (e->type() == QEvent::ContextMenu
            && static_cast<QContextMenuEvent*>(e)->reason() == QContextMenuEvent::Keyboard) {
            openMenuAtCurrentRow();
            return true;
        }
        return View::event(e);
    }

    void keyPressEvent(QKeyEvent* e) override
    {
        noteKeyPress(this);
        const auto mods = e->modifiers() & ~Qt::KeypadModifier;
        if ((e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab)
            && (mods & Qt::ControlModifier)) {
            const bool back = e->key() == Qt::Key_Backtab || (mods & Qt::ShiftModifier);
            View::focusNextPrevChild(!back);
            return;
        }
        if (e->key() == Qt::Key_F10 && mods == Qt::ShiftModifier) {
            openMenuAtCurrentRow();
            return;
        }
        if (e->key() == Qt::Key_Space && mods == Qt::NoModifier && toggleTick())
            return;
        View::keyPressEvent(e);
    }

    void paintEvent(QPaintEvent* e) override
    {
        View::paintEvent(e);
        const QModelIndex current = this->currentIndex();
        if (!showsFocusRing(this) || !current.isValid())
            return;
        const QRect row = rowRect(current);
        if (row.isEmpty())
            return;
        const QPalette& pal = this->palette();
        const bool selected
            = this->selectionModel()->isRowSelected(current.row(), current.parent());
        const QColor fill = selected ? pal.color(QPalette::Highlight)
            : (this->alternatingRowColors() && current.row() % 2)
            ? pal.color(QPalette::AlternateBase)
            : pal.color(QPalette::Base);
        QPainter p(this->viewport());
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(focusRingColor(fill,
                          pal.color(selected ? QPalette::HighlightedText : QPalette::Highlight)),
            focusRingWidth));
        const qreal inset = focusRingWidth / 2 + 1;
        p.drawRoundedRect(QRectF(row).adjusted(inset, inset, -inset, -inset), 4, 4);
    }

    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override
    {
        View::currentChanged(current, previous);
        // The ring spans the row: both rows are drawn again, not only the cells.
        for (const QModelIndex& i : {current, previous})
            if (i.isValid())
                this->viewport()->update(rowRect(i).adjusted(-2, -2, 2, 2));
    }

    void focusInEvent(QFocusEvent* e) override
    {
        noteFocusIn(this, e->reason());
        View::focusInEvent(e);
        this->viewport()->update();
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        View::focusOutEvent(e);
        this->viewport()->update();
    }

private:
    QRect rowRect(const QModelIndex& index) const
    {
        QRect row = this->visualRect(index);
        if (row.isEmpty())
            return row;
        row.setLeft(0);
        row.setRight(this->viewport()->width() - 1);
        return row;
    }

    void openMenuAtCurrentRow()
    {
        const QModelIndex current = this->currentIndex();
        // With no current row the point lies outside every row: the menu stays empty.
        const QPoint at = current.isValid() ? rowRect(current).center() : QPoint(-1, -1);
        emit this->customContextMenuRequested(at);
    }

    bool toggleTick()
    {
        const QModelIndex box = this->currentIndex().siblingAtColumn(0);
        if (!box.isValid() || !(box.flags() & Qt::ItemIsUserCheckable)
            || !(box.flags() & Qt::ItemIsEnabled))
            return false;
        const bool on = box.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        return this->model()->setData(box, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
};

void styleList(QAbstractItemView* view, QAbstractItemModel* model, const ListLook& look)
{
    view->setModel(model);
    // Tab leaves the list for the next control; the arrows move from row to row.
    view->setTabKeyNavigation(false);
    view->setAlternatingRowColors(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(look.selection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTextElideMode(look.elide);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setItemDelegate(new ListCellDelegate(look.elide, look.rowHeight, view));
    if (look.middleElided >= 0)
        view->setItemDelegateForColumn(
            look.middleElided, new ListCellDelegate(Qt::ElideMiddle, look.rowHeight, view));
}

void sizeColumns(QHeaderView* header, const ListLook& look)
{
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(24);
    const int stretch = look.stretch >= 0 ? look.stretch : static_cast<int>(look.widths.size()) - 1;
    for (size_t c = 0; c < look.widths.size(); ++c) {
        const int column = static_cast<int>(c);
        header->setSectionResizeMode(
            column, column == stretch ? QHeaderView::Stretch : QHeaderView::Interactive);
        header->resizeSection(column, look.widths[c]);
    }
}

} // namespace

ListCellDelegate::ListCellDelegate(Qt::TextElideMode elide, int rowHeight, QObject* parent)
    : QStyledItemDelegate(parent)
    , elide_(elide)
    , rowHeight_(rowHeight)
{
}

QSize ListCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), rowHeight_};
}

void ListCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->textElideMode = elide_;
    option->features &= ~QStyleOptionViewItem::WrapText;
    // The list rings the whole current row; a cell's own focus frame would double it.
    option->state &= ~QStyle::State_HasFocus;
}

QTableView* makeTableList(QAbstractItemModel* model, const ListLook& look, QWidget* parent)
{
    auto* view = new KeyboardList<QTableView>(parent);
    styleList(view, model, look);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(look.rowHeight);
    view->verticalHeader()->setDefaultSectionSize(look.rowHeight);
    view->horizontalHeader()->setVisible(look.headerShown);
    sizeColumns(view->horizontalHeader(), look);
    return view;
}

QTreeView* makeTreeList(QAbstractItemModel* model, const ListLook& look, QWidget* parent)
{
    auto* view = new KeyboardList<QTreeView>(parent);
    styleList(view, model, look);
    view->setUniformRowHeights(true);
    view->setWordWrap(false);
    view->setIndentation(20);
    view->setHeaderHidden(!look.headerShown);
    sizeColumns(view->header(), look);
    return view;
}

} // namespace tidvale::gui

#include "gui/tools/ItemLists.h"

#include <QHeaderView>
#include <QTableView>
#include <QTreeView>

#include <algorithm>

namespace tidvale::gui {
namespace {

void styleList(QAbstractItemView* view, QAbstractItemModel* model, const ListLook& look)
{
    view->setModel(model);
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
}

QTableView* makeTableList(QAbstractItemModel* model, const ListLook& look, QWidget* parent)
{
    auto* view = new QTableView(parent);
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
    auto* view = new QTreeView(parent);
    styleList(view, model, look);
    view->setUniformRowHeights(true);
    view->setWordWrap(false);
    view->setIndentation(20);
    view->setHeaderHidden(!look.headerShown);
    sizeColumns(view->header(), look);
    return view;
}

} // namespace tidvale::gui

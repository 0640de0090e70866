#include "gui/tools/FinderLists.h"

#include "gui/widgets/ActivityIndicator.h"
#include "gui/style/Colors.h"
#include "gui/widgets/Labels.h"
#include "gui/style/Symbols.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTreeView>

namespace tidvale::gui {

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

void styleList(QAbstractItemView* view, int rowHeight)
{
    view->setAlternatingRowColors(true);
    view->setTextElideMode(Qt::ElideRight);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFrameShape(QFrame::NoFrame);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    // Fixed row heights let a list of a hundred thousand rows lay out and scroll at
    // once: the view never asks each row for its size.
    if (auto* table = qobject_cast<QTableView*>(view)) {
        table->setShowGrid(false);
        table->setWordWrap(false);
        table->verticalHeader()->hide();
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->verticalHeader()->setDefaultSectionSize(rowHeight);
        table->horizontalHeader()->setHighlightSections(false);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
    }
    if (auto* tree = qobject_cast<QTreeView*>(view)) {
        tree->setUniformRowHeights(true);
        tree->setWordWrap(false);
        tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    }
}

QHBoxLayout* makeStatusRow(ActivityIndicator*& progress, QLabel*& status, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(20, 0, 20, 8);
    row->setSpacing(6);
    progress = new ActivityIndicator(parent);
    row->addWidget(progress);
    status = makeLabel(QString(), 12, QFont::Normal, secondaryLabelColor(parent), parent);
    status->setMinimumHeight(20);
    row->addWidget(status, 1);
    return row;
}

void popUpContextMenu(QAbstractItemView* view, const QPoint& pos,
    const std::function<void(QMenu*, const QModelIndex&)>& fill)
{
    auto* menu = new QMenu(view);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    fill(menu, view->indexAt(pos));
    if (menu->isEmpty()) {
        delete menu;
        return;
    }
    menu->popup(view->viewport()->mapToGlobal(pos));
}

void addMenuItem(
    QMenu* menu, const QString& title, const QString& symbol, std::function<void()> action)
{
    QAction* item = menu->addAction(symbolIcon(symbol, labelColor(menu)), title);
    QObject::connect(item, &QAction::triggered, menu, [action = std::move(action)] { action(); });
}

} // namespace tidvale::gui

#include "gui/tools/ListSetup.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace tidvale::gui {

QTableView* makeCleanerList(QAbstractItemModel* model, int rowHeight,
    std::initializer_list<int> widths, int stretch, QWidget* parent)
{
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setAlternatingRowColors(true);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideRight);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(rowHeight);
    view->verticalHeader()->setMinimumSectionSize(rowHeight);
    QHeaderView* header = view->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStretchLastSection(false);
    int column = 0;
    for (int width : widths) {
        header->setSectionResizeMode(
            column, column == stretch ? QHeaderView::Stretch : QHeaderView::Interactive);
        header->resizeSection(column, width);
        header->setMinimumSectionSize(std::min(header->minimumSectionSize(), width));
        ++column;
    }
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    return view;
}

} // namespace tidvale::gui

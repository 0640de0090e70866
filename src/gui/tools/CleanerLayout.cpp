#include "gui/tools/CleanerLayout.h"

#include "gui/widgets/ActivityIndicator.h"
#include "gui/style/Colors.h"
#include "gui/widgets/Labels.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ScreenHeader.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace tidvale::gui {

CleanerControls layOutCleanerScreen(QWidget* screen, const CleanerHeader& header,
    const QString& scanTitle, const QString& cleanTitle)
{
    auto* layout = new QVBoxLayout(screen);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(
        makeScreenHeader(header.title, header.subtitle, header.symbol, header.color, screen));

    CleanerControls c{};
    c.body = new QVBoxLayout;
    c.body->setContentsMargins(20, 12, 20, 12);
    c.body->setSpacing(10);
    layout->addLayout(c.body, 1);

    auto* toolbar = new QHBoxLayout;
    toolbar->setSpacing(10);
    c.scanButton = new PrimaryButton(scanTitle, header.color, screen);
    c.cleanButton = new PrimaryButton(cleanTitle, systemColor(SystemColor::red), screen);
    c.cleanButton->setEnabled(false);
    c.progress = new ActivityIndicator(screen);
    c.statusLabel = makeLabel({}, 12, QFont::Normal, secondaryLabelColor(screen), screen);
    toolbar->addWidget(c.scanButton);
    toolbar->addWidget(c.cleanButton);
    toolbar->addWidget(c.progress);
    toolbar->addWidget(c.statusLabel, 1);
    c.body->addLayout(toolbar);
    return c;
}

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

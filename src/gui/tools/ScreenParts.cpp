#include "gui/tools/ScreenParts.h"

#include "gui/widgets/ActivityIndicator.h"
#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/widgets/Labels.h"
#include "gui/widgets/PrimaryButton.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QTableView>
#include <QVBoxLayout>

namespace tidvale::gui {

QTableView* layOutListScreen(QWidget* screen, QWidget* header, PrimaryButton* first,
    PrimaryButton* second, ActivityIndicator* progress, QLabel* status, int rowHeight)
{
    auto* layout = new QVBoxLayout(screen);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);

    auto* toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(20, 12, 20, 8);
    toolbar->setSpacing(10);
    toolbar->addWidget(first);
    toolbar->addWidget(second);
    toolbar->addWidget(progress);
    toolbar->addWidget(status, 1);
    layout->addLayout(toolbar);

    auto* table = new QTableView(screen);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->setStretchLastSection(true);
    auto* tableBox = new QVBoxLayout;
    tableBox->setContentsMargins(20, 0, 20, 20);
    tableBox->addWidget(table);
    layout->addLayout(tableBox, 1);
    return table;
}

QLabel* makeStatusLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setFont(uiFont(12));
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(40);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextColor(label, secondaryLabelColor(parent));
    return label;
}

QFrame* makeSeparatorLine(const QWidget* colourSource)
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(
        QStringLiteral("color: %1").arg(separatorColor(colourSource).name(QColor::HexArgb)));
    return line;
}

QScrollArea* makeScrollColumn(QWidget* column)
{
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    column->setAutoFillBackground(false);
    scroll->setWidget(column);
    return scroll;
}

QColor usageLevelColor(UsageLevel level, const QColor& normal)
{
    switch (level) {
    case UsageLevel::critical:
        return systemColor(SystemColor::red);
    case UsageLevel::warning:
        return systemColor(SystemColor::orange);
    case UsageLevel::normal:
        break;
    }
    return normal;
}

} // namespace tidvale::gui

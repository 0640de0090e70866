#include "gui/app/sidebar/SidebarViewController.h"

#include "gui/app/sidebar/SidebarCell.h"
#include "gui/app/sidebar/SidebarModel.h"
#include "gui/style/Colors.h"
#include "gui/style/FocusRing.h"
#include "gui/style/Symbols.h"
#include "gui/widgets/Labels.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPainter>

namespace tidvale::gui {
namespace {

const QColor kBackground = QColor::fromRgbF(0.11f, 0.11f, 0.17f);

// Tells the sidebar of a row about to be selected, whatever selects it (click, keys,
// selectItem), before the view repaints the new highlight.
class ChoosingSelectionModel final : public QItemSelectionModel {
public:
    ChoosingSelectionModel(QAbstractItemModel* model, SidebarViewController* sidebar)
        : QItemSelectionModel(model, sidebar)
        , sidebar_(sidebar)
    {
    }

    using QItemSelectionModel::select;
    void select(const QItemSelection& selection, SelectionFlags command) override
    {
        if ((command & Select) && !selection.isEmpty()) {
            const QModelIndexList rows = selection.indexes();
            if (!rows.isEmpty())
                emit sidebar_->didSelect(rows.first().data(SidebarModel::tagRole).toInt());
        }
        QItemSelectionModel::select(selection, command);
    }

private:
    SidebarViewController* sidebar_;
};

QLabel* whiteLabel(
    const QString& text, int points, QFont::Weight weight, double opacity, QWidget* parent)
{
    return makeLabel(text, points, weight, withOpacity(Qt::white, opacity), parent);
}

} // namespace

SidebarViewController::SidebarViewController(const PlatformTexts& texts, QWidget* parent)
    : QWidget(parent)
    , model_(new SidebarModel(texts, this))
    , tableView_(new QListView(this))
    , cell_(new SidebarCell(tableView_))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* header = new QWidget(this);
    header->setFixedHeight(90);
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(16, 0, 8, 0);
    headerRow->setSpacing(10);
    auto* mark = new QLabel(header);
    mark->setFixedSize(40, 40);
    mark->setAlignment(Qt::AlignCenter);
    mark->setPixmap(
        symbolPixmap(QStringLiteral("bolt.shield.fill"), 32, accentGreen(), devicePixelRatioF()));
    auto* names = new QVBoxLayout;
    names->setSpacing(1);
    names->addStretch(1);
    names->addWidget(whiteLabel(QStringLiteral("Tidvale"), 18, QFont::Bold, 1.0, header));
    names->addWidget(
        whiteLabel(QString::fromStdString(texts.sidebarSubtitle), 11, QFont::Normal, 0.5, header));
    names->addStretch(1);
    headerRow->addWidget(mark);
    headerRow->addLayout(names, 1);
    layout->addWidget(header);

    auto* separatorView = new QFrame(this);
    separatorView->setFixedHeight(1);
    separatorView->setAutoFillBackground(true);
    QPalette sep = separatorView->palette();
    sep.setColor(QPalette::Window, withOpacity(Qt::white, 0.1));
    separatorView->setPalette(sep);
    layout->addWidget(separatorView);
    layout->addSpacing(6);

    tableView_->setModel(model_);
    tableView_->setSelectionModel(new ChoosingSelectionModel(model_, this));
    tableView_->setItemDelegate(cell_);
    tableView_->viewport()->installEventFilter(this);
    tableView_->installEventFilter(this);
    tableView_->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableView_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    tableView_->setFrameShape(QFrame::NoFrame);
    // Reachable from the keyboard (arrow keys choose tools); the cell rings the current
    // row while the list has the keyboard.
    tableView_->setFocusPolicy(Qt::StrongFocus);
    tableView_->setUniformItemSizes(true);
    tableView_->setMouseTracking(false);
    tableView_->viewport()->setAutoFillBackground(false);
    tableView_->setAutoFillBackground(false);
    tableView_->setStyleSheet(QStringLiteral("QListView { background: transparent; }"));
    tableView_->setAccessibleName(QStringLiteral("Herramientas"));
    layout->addWidget(tableView_, 1);
    layout->addSpacing(4);

    auto* footer = whiteLabel(QStringLiteral("Tidvale v1.0"), 10, QFont::Normal, 0.35, this);
    footer->setAlignment(Qt::AlignCenter);
    footer->setFixedHeight(28);
    layout->addWidget(footer);
}

void SidebarViewController::selectItem(int row)
{
    const QModelIndex index = model_->index(row, 0);
    if (!index.isValid())
        return;
    tableView_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

int SidebarViewController::selectedRow() const
{
    const QModelIndexList rows = tableView_->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

bool SidebarViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tableView_ && event->type() == QEvent::FocusIn)
        noteFocusIn(tableView_, static_cast<QFocusEvent*>(event)->reason());
    if (watched == tableView_ && event->type() == QEvent::KeyPress)
        noteKeyPress(tableView_);
    if (watched == tableView_->viewport() && event->type() == QEvent::Resize) {
        const int rows = model_->rowCount();
        cell_->setRowHeight(tableView_->viewport()->height() / rows - SidebarCell::rowGap);
    }
    return QWidget::eventFilter(watched, event);
}

void SidebarViewController::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kBackground);
}

} // namespace tidvale::gui

#include "gui/app/sidebar/SidebarCell.h"

#include "gui/app/sidebar/SidebarModel.h"
#include "gui/style/Colors.h"
#include "gui/style/FocusRing.h"
#include "gui/style/Fonts.h"
#include "gui/style/Symbols.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tidvale::gui {

void SidebarRowView::paintSelection(QPainter& painter, const QRect& rowRect)
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rowRect).adjusted(6, 0, -6, 0), 8, 8);
    painter.fillPath(shape, withOpacity(Qt::white, 0.12));
}

void SidebarCell::setRowHeight(int height)
{
    height = std::clamp(height, minimumRowHeight, static_cast<int>(rowHeight));
    if (height == rowHeight_)
        return;
    rowHeight_ = height;
    emit sizeHintChanged(QModelIndex());
}

QSize SidebarCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), rowHeight_ + rowGap);
}

void SidebarCell::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    // The gap between rows is split above and below so the highlight stays centred.
    const QRect row(
        option.rect.left(), option.rect.top() + rowGap / 2, option.rect.width(), rowHeight_);
    if (option.state & QStyle::State_Selected)
        SidebarRowView::paintSelection(*painter, row);
    // The keyboard's row while the sidebar has it: white on the column's fixed dark
    // background, whatever the palette.
    if ((option.state & QStyle::State_HasFocus) && option.widget && showsFocusRing(option.widget)) {
        const qreal inset = focusRingWidth / 2;
        QPainterPath ring;
        ring.addRoundedRect(QRectF(row).adjusted(6 + inset, inset, -6 - inset, -inset), 8, 8);
        painter->setPen(QPen(Qt::white, focusRingWidth));
        painter->drawPath(ring);
        painter->setPen(Qt::NoPen);
    }

    const QColor color = index.data(SidebarModel::colorRole).value<QColor>();
    const QRectF iconBg(row.left() + 16, row.center().y() - 13.5, 28, 28);
    QPainterPath square;
    square.addRoundedRect(iconBg, 8, 8);
    painter->fillPath(square, withOpacity(color, 0.25));
    const QString symbol = index.data(SidebarModel::symbolRole).toString();
    const int side = 13;
    const QPixmap glyph = symbolPixmap(symbol, side, color, painter->device()->devicePixelRatioF());
    painter->drawPixmap(
        QPointF(iconBg.center().x() - side / 2.0, iconBg.center().y() - side / 2.0), glyph);

    painter->setPen(Qt::white);
    painter->setFont(uiFont(13, QFont::Medium));
    const QRect text(static_cast<int>(iconBg.right()) + 10, row.top(),
        row.right() - static_cast<int>(iconBg.right()) - 16, row.height());
    painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
        painter->fontMetrics().elidedText(
            index.data(Qt::DisplayRole).toString(), Qt::ElideRight, text.width()));
    painter->restore();
}

} // namespace tidvale::gui

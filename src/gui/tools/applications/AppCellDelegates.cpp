#include "gui/tools/applications/AppCellDelegates.h"

#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/tools/applications/AppListModel.h"

#include <QApplication>
#include <QPainter>

namespace tidvale::gui {
namespace {

QStyle* styleOf(const QStyleOptionViewItem& option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

// `text` broken at spaces into at most `most` lines of `width`, the last one cut short
// with an ellipsis when the text goes on.
QStringList reasonLines(const QString& text, const QFontMetrics& metrics, int width, int most)
{
    QStringList lines;
    QString rest = text;
    while (!rest.isEmpty() && static_cast<int>(lines.size()) < most - 1
        && metrics.horizontalAdvance(rest) > width) {
        int cut = static_cast<int>(rest.size());
        while (cut > 0 && metrics.horizontalAdvance(rest.left(cut)) > width)
            cut = static_cast<int>(rest.lastIndexOf(QLatin1Char(' '), cut - 1));
        if (cut <= 0)
            break; // one word wider than the cell: the ellipsis cuts it
        lines << rest.left(cut);
        rest = rest.mid(cut + 1);
    }
    if (!rest.isEmpty())
        lines << metrics.elidedText(rest, Qt::ElideRight, width);
    return lines;
}

} // namespace

void CentredIconDelegate::paint(
    QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // Only the row's background (selection, alternating colour) comes from the
    // style; the icon is drawn here, where its size is ours to choose.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    styleOf(option)->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, p, option.widget);
    const auto pixmap = index.data(Qt::DecorationRole).value<QPixmap>();
    if (pixmap.isNull())
        return;
    const int side
        = std::min({AppListModel::iconPoints, option.rect.width(), option.rect.height()});
    QSize size = pixmap.size().scaled(side, side, Qt::KeepAspectRatio);
    QRect target(QPoint(), size);
    target.moveCenter(option.rect.center());
    p->save();
    p->setRenderHint(QPainter::SmoothPixmapTransform);
    p->drawPixmap(target, pixmap);
    p->restore();
}

AppNameDelegate::AppNameDelegate(int rowHeight, QObject* parent)
    : ListCellDelegate(Qt::ElideRight, rowHeight, parent)
{
}

void AppNameDelegate::paint(
    QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString reason = index.data(AppListModel::reasonRole).toString();
    if (reason.isEmpty()) {
        ListCellDelegate::paint(p, option, index);
        return;
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString name = cell.text;
    cell.text.clear();
    QStyle* style = styleOf(option);
    style->drawControl(QStyle::CE_ItemViewItem, &cell, p, option.widget);

    const bool selected = cell.state & QStyle::State_Selected;
    const QPalette::ColorGroup group
        = cell.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QColor nameColor
        = cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor reasonColor
        = selected ? withOpacity(nameColor, 0.8) : secondaryLabelColor(option.widget);
    const QFont reasonFont = uiFont(11);
    const QFontMetrics nameMetrics(cell.font);
    const QFontMetrics reasonMetrics(reasonFont);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    const QRect text = option.rect.adjusted(margin, 0, -margin, 0);
    // The reason's end says what is missing, so it takes a second line before it is cut.
    const int lineSpace = reasonMetrics.lineSpacing();
    const int roomForTwo = nameMetrics.height() + 2 + 2 * lineSpace;
    const QStringList lines = reasonLines(
        reason.simplified(), reasonMetrics, text.width(), roomForTwo <= text.height() ? 2 : 1);
    const int height = nameMetrics.height() + 2 + static_cast<int>(lines.size()) * lineSpace;
    int top = text.top() + (text.height() - height) / 2;

    p->save();
    p->setFont(cell.font);
    p->setPen(nameColor);
    p->drawText(QRect(text.left(), top, text.width(), nameMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        nameMetrics.elidedText(name, Qt::ElideRight, text.width()));
    top += nameMetrics.height() + 2;
    p->setFont(reasonFont);
    p->setPen(reasonColor);
    for (const QString& line : lines) {
        p->drawText(QRect(text.left(), top, text.width(), lineSpace),
            Qt::AlignLeft | Qt::AlignVCenter, line);
        top += lineSpace;
    }
    p->restore();
}

} // namespace tidvale::gui

#include "gui/widgets/WrappingRow.h"

#include <QWidget>

#include <algorithm>

namespace tidvale::gui {

WrappingRow::WrappingRow(QWidget* parent)
    : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
}

WrappingRow::~WrappingRow()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void WrappingRow::setSpacings(int horizontal, int vertical)
{
    horizontal_ = horizontal;
    vertical_ = vertical;
    invalidate();
}

void WrappingRow::addWidget(QWidget* widget, bool fill)
{
    addChildWidget(widget);
    entries_.push_back({new QWidgetItem(widget), fill});
    invalidate();
}

void WrappingRow::addItem(QLayoutItem* item)
{
    entries_.push_back({item, false});
    invalidate();
}

QLayoutItem* WrappingRow::itemAt(int index) const
{
    return index >= 0 && index < count() ? entries_[static_cast<size_t>(index)].item : nullptr;
}

QLayoutItem* WrappingRow::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = entries_[static_cast<size_t>(index)].item;
    entries_.erase(entries_.begin() + index);
    invalidate();
    return item;
}

int WrappingRow::count() const
{
    return static_cast<int>(entries_.size());
}

QSize WrappingRow::sizeHint() const
{
    // One line holding everything.
    int width = 0;
    int height = 0;
    for (const Entry& e : entries_) {
        if (e.item->isEmpty())
            continue;
        const QSize hint = e.item->sizeHint();
        width += (width > 0 ? horizontal_ : 0) + hint.width();
        height = std::max(height, hint.height());
    }
    const QMargins m = contentsMargins();
    return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

QSize WrappingRow::minimumSize() const
{
    // The widest single item: everything else can go to lines of its own.
    QSize size;
    for (const Entry& e : entries_)
        if (!e.item->isEmpty())
            size = size.expandedTo(e.fill ? e.item->minimumSize() : e.item->sizeHint());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

int WrappingRow::heightForWidth(int width) const
{
    return arrange(QRect(0, 0, width, 0), false);
}

void WrappingRow::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int WrappingRow::arrange(const QRect& rect, bool place) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    struct Placed {
        QLayoutItem* item;
        int x;
        int width;
        int height;
    };
    std::vector<Placed> line;
    int y = area.top();
    int x = area.left();
    auto finishLine = [&] {
        if (line.empty())
            return;
        int lineHeight = 0;
        for (const Placed& p : line)
            lineHeight = std::max(lineHeight, p.height);
        if (place)
            for (const Placed& p : line)
                p.item->setGeometry(QRect(p.x, y + (lineHeight - p.height) / 2, p.width, p.height));
        y += lineHeight + vertical_;
        line.clear();
        x = area.left();
    };
    for (const Entry& e : entries_) {
        if (e.item->isEmpty())
            continue;
        const QSize hint = e.item->sizeHint();
        const int needed = e.fill ? e.item->minimumSize().width() : hint.width();
        if (!line.empty() && x + horizontal_ + needed > area.right() + 1)
            finishLine();
        const int left = line.empty() ? x : x + horizontal_;
        const int width = e.fill ? std::max(needed, area.right() + 1 - left)
                                 : std::min(hint.width(), area.width());
        // A wrapping text grows downwards rather than being cut at the side.
        const int height
            = e.item->hasHeightForWidth() ? e.item->heightForWidth(width) : hint.height();
        line.push_back({e.item, left, width, height});
        x = left + width;
    }
    finishLine();
    const int used = y > area.top() ? y - vertical_ - area.top() : 0;
    const QMargins m = contentsMargins();
    return used + m.top() + m.bottom();
}

} // namespace tidvale::gui

#pragma once

#include <QStyledItemDelegate>

namespace tidvale::gui {

// Draws one sidebar row: the selection (SidebarRowView) under the cell's tinted icon
// square and title. Rows are 46 points high with 4 points between them; when the
// window is too short to show all eleven, the sidebar makes them lower (down to 28
// points) rather than hide the last tools below an edge without a scroll bar.
class SidebarCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int rowHeight = 46;
    static constexpr int rowGap = 4;
    static constexpr int minimumRowHeight = 28;

    // The height of a row; the pitch is this plus rowGap.
    int rowHeightNow() const { return rowHeight_; }
    void setRowHeight(int height);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int rowHeight_ = rowHeight;
};

// The selected row's highlight: its bounds inset by 6 points horizontally, rounded
// with radius 8, white at 12 %.
struct SidebarRowView {
    static void paintSelection(QPainter& painter, const QRect& rowRect);
};

} // namespace tidvale::gui

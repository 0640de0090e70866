#pragma once

#include <QLayout>

#include <vector>

namespace tidvale::gui {

// Lays its items out left to right at their preferred widths and starts a new line
// where the next one would not fit, so that a toolbar keeps every button whole in a
// narrow window instead of cutting their titles. An item added with `fill` takes the
// rest of its line, and a line of its own when less than its minimum width is left:
// a status text gets the room the buttons leave. Items are centred in their line's
// height; hidden widgets take no room.
class WrappingRow : public QLayout {
public:
    explicit WrappingRow(QWidget* parent = nullptr);
    ~WrappingRow() override;

    void setSpacings(int horizontal, int vertical);
    void addWidget(QWidget* widget, bool fill = false);

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;
    Qt::Orientations expandingDirections() const override { return {}; }

private:
    // Places the items in `rect` (only measures when `place` is false); returns the
    // height used.
    int arrange(const QRect& rect, bool place) const;

    struct Entry {
        QLayoutItem* item;
        bool fill;
    };
    std::vector<Entry> entries_;
    int horizontal_ = 10;
    int vertical_ = 8;
};

} // namespace tidvale::gui

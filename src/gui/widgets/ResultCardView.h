#pragma once

#include <QWidget>

class QLabel;

namespace tidvale::gui {

// One result line of Smart Scan: an icon, a title with a count under it, and a size on
// the right, on a rounded card 60 points high. The screen fills the four parts.
class ResultCardView : public QWidget {
    Q_OBJECT
public:
    explicit ResultCardView(QWidget* parent = nullptr);

    QLabel* iconView() const { return iconView_; }
    QLabel* titleLabel() const { return titleLabel_; }
    QLabel* countLabel() const { return countLabel_; }
    QLabel* sizeLabel() const { return sizeLabel_; }

    // Shows `symbol` tinted with `tint` in the icon square, at 16 points.
    void setSymbol(const QString& symbol, const QColor& tint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyColors();

    QLabel* iconView_;
    QLabel* titleLabel_;
    QLabel* countLabel_;
    QLabel* sizeLabel_;
};

} // namespace tidvale::gui

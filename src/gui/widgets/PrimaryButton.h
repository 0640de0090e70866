#pragma once

#include <QColor>
#include <QPushButton>

namespace tidvale::gui {

// The filled action button of every screen: a rounded rectangle in `bgColor` with a
// white semibold title. Disabled, the fill fades to 40 % so the state is visible
// without a second colour. Size it with setFixedSize or let the layout use sizeHint.
class PrimaryButton : public QPushButton {
    Q_OBJECT
public:
    PrimaryButton(const QString& title, const QColor& bgColor, QWidget* parent = nullptr);

    QColor bgColor() const { return bgColor_; }
    // For a button whose action changes with what is selected.
    void setBgColor(const QColor& color)
    {
        bgColor_ = color;
        update();
    }
    qreal cornerRadius() const { return 8; }
    // The colour the button is filled with now.
    QColor currentFill() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor bgColor_;
};

} // namespace tidvale::gui

#pragma once

#include <QAbstractButton>

namespace tidvale::gui {

// Smart Scan's round button: a 120-point disc in the accent green with a soft glow of
// the same colour and a white magnifier. Dimmed while disabled.
class ScanButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int diameter = 120;
    static constexpr int glow = 14; // room around the disc for the glow

    explicit ScanButton(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {diameter + 2 * glow, diameter + 2 * glow}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace tidvale::gui

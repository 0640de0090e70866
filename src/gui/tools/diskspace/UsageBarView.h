#pragma once

#include <QColor>
#include <QWidget>

class QPropertyAnimation;

namespace tidvale::gui {

// A rounded track with a fill from its leading edge. The fill is a fraction of the
// track, so it keeps its proportion when the window is resized.
class UsageBarView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qreal fillFraction READ fillFraction WRITE setFillFraction)
public:
    static constexpr int startDelayMs = 100;
    static constexpr int animationMs = 800;

    explicit UsageBarView(const QColor& fill, QWidget* parent = nullptr);

    qreal fillFraction() const { return fillFraction_; }
    void setFillFraction(qreal f);
    // Starts the fill at max(0.01, fraction) after a short delay, then animates it to
    // `fraction`.
    void animateTo(qreal fraction);
    qreal targetFraction() const { return target_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    qreal fillFraction_ = 0;
    qreal target_ = 0;
};

} // namespace tidvale::gui

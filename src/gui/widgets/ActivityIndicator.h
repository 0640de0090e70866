#pragma once

#include <QWidget>

class QTimer;

namespace tidvale::gui {

// The small spinning indicator screens show while they work. It starts hidden;
// startAnimation() shows it and spins, stopAnimation() stops and hides it.
class ActivityIndicator : public QWidget {
    Q_OBJECT
public:
    explicit ActivityIndicator(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const;

    QSize sizeHint() const override { return {20, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer* timer_;
    int step_ = 0;
};

} // namespace tidvale::gui

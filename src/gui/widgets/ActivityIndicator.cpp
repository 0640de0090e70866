#include "gui/widgets/ActivityIndicator.h"

#include "gui/style/Colors.h"

#include <QPainter>
#include <QTimer>

namespace tidvale::gui {
namespace {
constexpr int kSpokes = 12;
}

ActivityIndicator::ActivityIndicator(QWidget* parent)
    : QWidget(parent)
    , timer_(new QTimer(this))
{
    setFixedSize(sizeHint());
    timer_->setInterval(80);
    connect(timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % kSpokes;
        update();
    });
    hide();
}

void ActivityIndicator::startAnimation()
{
    show();
    timer_->start();
}

void ActivityIndicator::stopAnimation()
{
    timer_->stop();
    hide();
}

bool ActivityIndicator::isAnimating() const
{
    return timer_->isActive();
}

void ActivityIndicator::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(width() / 2.0, height() / 2.0);
    const qreal r = std::min(width(), height()) / 2.0;
    const QColor base = labelColor(this);
    for (int i = 0; i < kSpokes; ++i) {
        // The spoke at the current step is darkest; the trail fades behind it.
        const int age = (step_ - i + kSpokes) % kSpokes;
        p.setPen(QPen(withOpacity(base, 1.0 - age * 0.07), r * 0.18, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, -r * 0.45), QPointF(0, -r * 0.9));
        p.rotate(360.0 / kSpokes);
    }
}

} // namespace tidvale::gui

#include "gui/tools/diskspace/UsageBarView.h"

#include "gui/style/Colors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QTimer>

namespace tidvale::gui {

UsageBarView::UsageBarView(const QColor& fill, QWidget* parent)
    : QWidget(parent)
    , fill_(fill)
{
}

void UsageBarView::setFillFraction(qreal f)
{
    fillFraction_ = std::clamp<qreal>(f, 0, 1);
    update();
}

void UsageBarView::animateTo(qreal fraction)
{
    target_ = std::clamp<qreal>(fraction, 0, 1);
    QTimer::singleShot(startDelayMs, this, [this] {
        // A volume with next to nothing used still shows a sliver of fill at first.
        setFillFraction(std::max<qreal>(0.01, target_));
        auto* animation = new QPropertyAnimation(this, "fillFraction", this);
        animation->setDuration(animationMs);
        animation->setEasingCurve(QEasingCurve::InOutQuad);
        animation->setStartValue(fillFraction_);
        animation->setEndValue(target_);
        animation->start(QAbstractAnimation::DeleteWhenStopped);
    });
}

void UsageBarView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = rect();
    const qreal radius = std::min<qreal>(10, track.height() / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(separatorColor(this));
    p.drawRoundedRect(track, radius, radius);
    const qreal width = track.width() * fillFraction_;
    if (width <= 0)
        return;
    // Clipped to the track so a thin fill keeps the track's rounded leading edge.
    QPainterPath clip;
    clip.addRoundedRect(track, radius, radius);
    p.setClipPath(clip);
    p.setBrush(fill_);
    p.drawRoundedRect(QRectF(track.left(), track.top(), width, track.height()), radius, radius);
}

} // namespace tidvale::gui

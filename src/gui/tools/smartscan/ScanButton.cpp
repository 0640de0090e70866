#include "gui/tools/smartscan/ScanButton.h"

#include "gui/style/Colors.h"
#include "gui/style/FocusRing.h"
#include "gui/style/Symbols.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QRadialGradient>

namespace tidvale::gui {

ScanButton::ScanButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(QStringLiteral("Escanear"));
    setAccessibleDescription(QStringLiteral("Busca archivos innecesarios en todas las categorías"));
    setFocusPolicy(Qt::StrongFocus);
}

void ScanButton::focusInEvent(QFocusEvent* event)
{
    noteFocusIn(this, event->reason());
    QAbstractButton::focusInEvent(event);
}

void ScanButton::keyPressEvent(QKeyEvent* event)
{
    noteKeyPress(this);
    // Enter presses the disc, as Space does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isEnabled()) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

bool ScanButton::hitButton(const QPoint& pos) const
{
    const QPointF d = QPointF(pos) - QRectF(rect()).center();
    return d.x() * d.x() + d.y() * d.y() <= (diameter / 2.0) * (diameter / 2.0);
}

void ScanButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(isEnabled() ? 1.0 : 0.5);
    const QPointF c = QRectF(rect()).center();
    const qreal r = diameter / 2.0;

    QRadialGradient halo(c, r + glow);
    const QColor green = accentGreen();
    halo.setColorAt(r / (r + glow), withOpacity(green, 0.45));
    halo.setColorAt(1.0, withOpacity(green, 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, r + glow, r + glow);

    p.setBrush(isDown() ? green.darker(112) : green);
    p.drawEllipse(c, r, r);
    if (showsFocusRing(this)) {
        // Around the disc, in the window's text colour, where the glow fades into the
        // window's background.
        const qreal ring = r + 4 + focusRingWidth / 2;
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(labelColor(this), focusRingWidth));
        p.drawEllipse(c, ring, ring);
        p.setPen(Qt::NoPen);
    }

    const int glyph = 48;
    // A title is set only while a scan runs: the disc then stops it.
    if (!text().isEmpty()) {
        const qreal side = glyph * 0.75;
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(c.x() - side / 2, c.y() - side / 2, side, side), 6, 6);
        return;
    }
    p.drawPixmap(QPointF(c.x() - glyph / 2.0, c.y() - glyph / 2.0),
        symbolPixmap(QStringLiteral("magnifyingglass"), glyph, Qt::white, devicePixelRatioF()));
}

} // namespace tidvale::gui

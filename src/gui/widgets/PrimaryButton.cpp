#include "gui/widgets/PrimaryButton.h"

#include "gui/style/Colors.h"
#include "gui/style/FocusRing.h"
#include "gui/style/Fonts.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace tidvale::gui {

PrimaryButton::PrimaryButton(const QString& title, const QColor& bgColor, QWidget* parent)
    : QPushButton(title, parent)
    , bgColor_(bgColor)
{
    setFont(uiFont(13, QFont::DemiBold));
    setCursor(Qt::PointingHandCursor);
    setFlat(true);
    // Enter presses the focused button, as Space does, also outside a dialog.
    setAutoDefault(true);
}

QColor PrimaryButton::currentFill() const
{
    return isEnabled() ? bgColor_ : withOpacity(bgColor_, 0.4);
}

QSize PrimaryButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text()) + 32, 32);
}

void PrimaryButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QPushButton::changeEvent(event);
}

void PrimaryButton::focusInEvent(QFocusEvent* event)
{
    noteFocusIn(this, event->reason());
    QPushButton::focusInEvent(event);
}

void PrimaryButton::keyPressEvent(QKeyEvent* event)
{
    noteKeyPress(this);
    QPushButton::keyPressEvent(event);
}

void PrimaryButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius(), cornerRadius());
    QColor fill = currentFill();
    if (isDown())
        fill = fill.darker(115);
    p.fillPath(shape, fill);
    if (showsFocusRing(this)) {
        // Inside the fill, in whichever of white and black stands out on it: the fills
        // run from yellow to indigo, and a ring outside would meet any background.
        const qreal inset = 2 + focusRingWidth / 2;
        QPainterPath ring;
        ring.addRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset),
            cornerRadius() - 2, cornerRadius() - 2);
        p.setPen(QPen(focusRingColor(bgColor_, Qt::white), focusRingWidth));
        p.drawPath(ring);
    }
    p.setPen(Qt::white);
    p.setFont(font());
    p.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignCenter | Qt::TextSingleLine,
        fontMetrics().elidedText(text(), Qt::ElideRight, width() - 16));
}

} // namespace tidvale::gui

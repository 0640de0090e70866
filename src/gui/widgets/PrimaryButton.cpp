#include "gui/widgets/PrimaryButton.h"

#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"

#include <QEvent>
#include <QFontMetrics>
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
    if (hasFocus()) {
        p.setPen(QPen(withOpacity(Qt::white, 0.6), 1.5));
        p.drawPath(shape);
    }
    p.setPen(Qt::white);
    p.setFont(font());
    p.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignCenter | Qt::TextSingleLine,
        fontMetrics().elidedText(text(), Qt::ElideRight, width() - 16));
}

} // namespace tidvale::gui

#include "gui/style/SymbolShapes.h"

#include <QPainter>
#include <QPainterPath>

namespace tidvale::gui {
namespace {

// Shapes are drawn on a 24 x 24 grid scaled into the target square.
QPainterPath shieldPath()
{
    QPainterPath s;
    s.moveTo(12, 1.5);
    s.lineTo(21, 5);
    s.cubicTo(21, 13, 17.5, 19.5, 12, 22.5);
    s.cubicTo(6.5, 19.5, 3, 13, 3, 5);
    s.closeSubpath();
    return s;
}

QPainterPath boltPath()
{
    QPainterPath b;
    b.moveTo(13.5, 4.5);
    b.lineTo(7.5, 13.5);
    b.lineTo(11.5, 13.5);
    b.lineTo(10.5, 19.5);
    b.lineTo(16.5, 10.5);
    b.lineTo(12.5, 10.5);
    b.closeSubpath();
    return b;
}

void fillAndCut(QPainter& p, const QPainterPath& outer, const QPainterPath& cut)
{
    p.fillPath(outer.subtracted(cut), p.brush());
}

} // namespace

void drawShape(QPainter& p, const QRectF& rect, Shape shape, const QColor& color)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(rect.topLeft());
    p.scale(rect.width() / 24.0, rect.height() / 24.0);
    const QPen line(color, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    switch (shape) {
    case Shape::dot:
        p.drawEllipse(QRectF(7, 7, 10, 10));
        break;
    case Shape::magnifier:
        p.setPen(QPen(color, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3, 3, 13, 13));
        p.drawLine(QPointF(14.5, 14.5), QPointF(21, 21));
        break;
    case Shape::boltShield:
        fillAndCut(p, shieldPath(), boltPath());
        break;
    case Shape::shield: {
        QPainterPath lock;
        lock.addRoundedRect(QRectF(8.5, 10.5, 7, 6), 1, 1);
        fillAndCut(p, shieldPath(), lock);
        break;
    }
    case Shape::trash:
        p.drawRoundedRect(QRectF(4, 4.5, 16, 2.5), 1, 1);
        p.drawRect(QRectF(9.5, 2.5, 5, 2));
        p.drawRoundedRect(QRectF(5.5, 8, 13, 14), 2, 2);
        break;
    case Shape::appSquare:
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 5, 5);
        break;
    case Shape::puzzle: {
        QPainterPath piece;
        piece.addRoundedRect(QRectF(3, 7, 14, 14), 2, 2);
        piece.addEllipse(QRectF(7, 2.5, 6, 6));
        piece.addEllipse(QRectF(14.5, 11, 6, 6));
        p.fillPath(piece.simplified(), color);
        break;
    }
    case Shape::chip:
        p.drawRoundedRect(QRectF(6, 6, 12, 12), 2, 2);
        p.setPen(line);
        for (int i = 0; i < 3; ++i) {
            const qreal at = 8.5 + i * 3.5;
            p.drawLine(QPointF(at, 2.5), QPointF(at, 5));
            p.drawLine(QPointF(at, 19), QPointF(at, 21.5));
            p.drawLine(QPointF(2.5, at), QPointF(5, at));
            p.drawLine(QPointF(19, at), QPointF(21.5, at));
        }
        break;
    case Shape::drive: {
        QPainterPath body;
        body.addRoundedRect(QRectF(2, 7, 20, 10), 3, 3);
        QPainterPath light;
        light.addEllipse(QRectF(16, 10.5, 3, 3));
        fillAndCut(p, body, light);
        break;
    }
    case Shape::driveOutline:
        p.setPen(line);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 7.5, 18, 9), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QRectF(15.5, 10.75, 2.5, 2.5));
        break;
    case Shape::documentOutline: {
        QPainterPath page;
        page.moveTo(6, 3);
        page.lineTo(13.5, 3);
        page.lineTo(18, 7.5);
        page.lineTo(18, 21);
        page.lineTo(6, 21);
        page.closeSubpath();
        p.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(page);
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(9, 11 + i * 3), QPointF(15, 11 + i * 3));
        break;
    }
    case Shape::documents:
        p.setPen(line);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 2, 12, 15), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRoundedRect(QRectF(8, 7, 13, 15), 2, 2);
        break;
    case Shape::document: {
        QPainterPath page;
        page.moveTo(5, 2);
        page.lineTo(14, 2);
        page.lineTo(19, 7);
        page.lineTo(19, 22);
        page.lineTo(5, 22);
        page.closeSubpath();
        QPainterPath lines;
        for (int i = 0; i < 3; ++i)
            lines.addRect(QRectF(8, 11 + i * 3.5, 8, 1.5));
        fillAndCut(p, page, lines);
        break;
    }
    case Shape::hammer: {
        // A hammer leaning right: the head across the top of a diagonal handle.
        p.translate(12, 12);
        p.rotate(40);
        QPainterPath head;
        head.moveTo(-8, -10);
        head.lineTo(5, -10);
        head.lineTo(8, -7);
        head.lineTo(5, -4);
        head.lineTo(-8, -4);
        head.closeSubpath();
        p.fillPath(head, color);
        p.drawRoundedRect(QRectF(-1.9, -4.5, 3.8, 15.5), 1.6, 1.6);
        break;
    }
    case Shape::arrowDown:
        p.setPen(QPen(color, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(12, 4), QPointF(12, 19));
        p.drawLine(QPointF(6, 13), QPointF(12, 19));
        p.drawLine(QPointF(18, 13), QPointF(12, 19));
        break;
    case Shape::arrowUpRight:
        p.setPen(line);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 4, 4);
        p.drawLine(QPointF(9, 15), QPointF(15, 9));
        p.drawLine(QPointF(10, 9), QPointF(15, 9));
        p.drawLine(QPointF(15, 9), QPointF(15, 14));
        break;
    case Shape::server:
        for (int i = 0; i < 3; ++i)
            p.drawRoundedRect(QRectF(3, 3 + i * 6.5, 18, 5), 1.5, 1.5);
        break;
    case Shape::globe:
        p.setPen(line);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.drawEllipse(QRectF(8, 3, 8, 18));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        break;
    case Shape::flame: {
        // An outer flame with a second tongue on the left and a hollow core.
        QPainterPath f;
        f.moveTo(12, 1.5);
        f.cubicTo(13, 6, 19, 9, 19, 15);
        f.cubicTo(19, 19.5, 15.9, 22.5, 12, 22.5);
        f.cubicTo(8.1, 22.5, 5, 19.5, 5, 15.5);
        f.cubicTo(5, 12.5, 6.5, 10.5, 8, 8.5);
        f.cubicTo(8, 10.5, 9, 12, 10, 12.5);
        f.cubicTo(9.5, 8.5, 10.5, 5, 12, 1.5);
        QPainterPath core;
        core.moveTo(12, 12.5);
        core.cubicTo(13, 15, 15, 16, 15, 18);
        core.cubicTo(15, 19.8, 13.6, 21, 12, 21);
        core.cubicTo(10.4, 21, 9, 19.8, 9, 18);
        core.cubicTo(9, 16, 11, 15, 12, 12.5);
        fillAndCut(p, f, core);
        break;
    }
    case Shape::folder: {
        QPainterPath f;
        f.moveTo(2, 6);
        f.lineTo(9, 6);
        f.lineTo(11, 8);
        f.lineTo(22, 8);
        f.lineTo(22, 20);
        f.lineTo(2, 20);
        f.closeSubpath();
        p.fillPath(f, color);
        break;
    }
    case Shape::info:
        p.setPen(line);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QRectF(10.75, 6.5, 2.5, 2.5));
        p.drawRect(QRectF(10.9, 10.5, 2.2, 7));
        break;
    case Shape::play: {
        QPainterPath t;
        t.moveTo(8, 5);
        t.lineTo(19, 12);
        t.lineTo(8, 19);
        t.closeSubpath();
        p.fillPath(t, color);
        break;
    }
    }
    p.restore();
}

} // namespace tidvale::gui

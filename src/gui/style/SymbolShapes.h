#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace tidvale::gui {

// Simple glyphs drawn in code: the application's mark, shapes the icon theme has no
// fitting picture for, and the stand-in for every symbol when no theme is installed.
enum class Shape {
    dot,
    magnifier,
    boltShield,
    shield,
    trash,
    appSquare,
    puzzle,
    chip,
    drive,
    driveOutline,
    document,
    documentOutline,
    documents,
    hammer,
    arrowDown,
    arrowUpRight,
    server,
    globe,
    flame,
    folder,
    info,
    play,
};

void drawShape(QPainter& p, const QRectF& rect, Shape shape, const QColor& color);

} // namespace tidvale::gui

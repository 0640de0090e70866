#include "gui/tools/diskspace/DiskMapView.h"

#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/text/ByteTexts.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <array>
#include <cmath>
#include <numbers>

namespace tidvale::gui {
namespace {

// One hue per child of the centre, each at least 3:1 against its background: darker
// shades on the light window, lighter ones on the dark window. Deeper rings move
// further from the background, never towards it.
constexpr std::array<QRgb, 8> kLight{
    0x0a63c9, 0xb3261e, 0x1e7b34, 0x8e44ad, 0xb35900, 0x00777f, 0xc2185b, 0x5b5bd6};
constexpr std::array<QRgb, 8> kDark{
    0x4da3ff, 0xff6b61, 0x4cd964, 0xc58af0, 0xffa64d, 0x40c8c8, 0xff7aa8, 0x8e8cf5};
constexpr QRgb kOthersLight = 0x767676;
constexpr QRgb kOthersDark = 0x9a9a9a;

bool isDark(const QWidget* w)
{
    return windowBackgroundColor(w).lightness() < 128;
}

} // namespace

DiskMapView::DiskMapView(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(220, 220);
    setAccessibleName(QStringLiteral("Mapa del espacio"));
}

void DiskMapView::setPieces(std::vector<UsagePiece> pieces, QString centreName, int64_t centreBytes)
{
    const UsageId focused = focused_ >= 0 ? pieces_[static_cast<size_t>(focused_)].id : kNoUsage;
    pieces_ = std::move(pieces);
    centreName_ = std::move(centreName);
    centreBytes_ = centreBytes;
    hovered_ = -1;
    focused_ = -1;
    if (focused != kNoUsage)
        focusPiece(focused);
    update();
}

void DiskMapView::focusPiece(UsageId id)
{
    for (size_t i = 0; i < pieces_.size(); ++i)
        if (pieces_[i].id == id) {
            setFocused(static_cast<int>(i), false);
            return;
        }
}

DiskMapView::Geometry DiskMapView::geometry() const
{
    const qreal radius = std::min(width(), height()) / 2.0 - 4;
    const qreal hole = radius * 0.3;
    return {QRectF(rect()).center(), hole, (radius - hole) / rings};
}

int DiskMapView::pieceAt(QPointF at) const
{
    const Geometry g = geometry();
    const QPointF d = at - g.centre;
    const qreal r = std::hypot(d.x(), d.y());
    if (r < g.hole)
        return -2;
    const int depth = static_cast<int>((r - g.hole) / g.ring) + 1;
    // Clockwise from twelve o'clock, as the pieces are laid out.
    double turn = std::atan2(d.x(), -d.y()) / (2 * std::numbers::pi);
    if (turn < 0)
        turn += 1;
    for (size_t i = 0; i < pieces_.size(); ++i) {
        const UsagePiece& p = pieces_[i];
        if (p.depth == depth && turn >= p.start && turn < p.start + p.span)
            return static_cast<int>(i);
    }
    return -1;
}

QColor DiskMapView::colorOf(const UsagePiece& piece) const
{
    const bool dark = isDark(this);
    if (piece.id == kNoUsage || (piece.flags & (usageUnreadable | usageOtherVolume)))
        return QColor(dark ? kOthersDark : kOthersLight);
    const auto& palette = dark ? kDark : kLight;
    QColor c(palette[static_cast<size_t>(piece.branch) % palette.size()]);
    const int step = (piece.depth - 1) * 10;
    return dark ? c.lighter(100 + step) : c.darker(100 + step);
}

QString DiskMapView::pieceText(int index) const
{
    if (index < 0 || index >= static_cast<int>(pieces_.size()))
        return {};
    const UsagePiece& p = pieces_[static_cast<size_t>(index)];
    const QString name = p.id == kNoUsage
        ? QStringLiteral("Otros (%1 elementos pequeños)").arg(p.items)
        : QString::fromStdString(p.name);
    QString text = QStringLiteral("%1\n%2 · %3 %")
                       .arg(name, fileBytesText(p.bytes),
                           QLocale(QLocale::Spanish).toString(p.span * 100, 'f', 1));
    if (p.flags & usageUnreadable)
        text += QStringLiteral("\nSin permiso de lectura: tamaño incompleto");
    if (p.flags & usageOtherVolume)
        text += QStringLiteral("\nOtro volumen: no se mide");
    return text;
}

void DiskMapView::paintEvent(QPaintEvent*)
{
    if (centreName_.isEmpty())
        return; // nothing mapped yet
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Geometry g = geometry();
    const QColor background = windowBackgroundColor(this);
    for (size_t i = 0; i < pieces_.size(); ++i) {
        const UsagePiece& p = pieces_[i];
        const qreal inner = g.hole + (p.depth - 1) * g.ring;
        const qreal outer = inner + g.ring;
        const QRectF outerBox(g.centre.x() - outer, g.centre.y() - outer, 2 * outer, 2 * outer);
        const QRectF innerBox(g.centre.x() - inner, g.centre.y() - inner, 2 * inner, 2 * inner);
        // Qt counts degrees anticlockwise from three o'clock.
        const qreal start = 90 - p.start * 360;
        const qreal sweep = -p.span * 360;
        QPainterPath path;
        path.arcMoveTo(outerBox, start);
        path.arcTo(outerBox, start, sweep);
        path.arcTo(innerBox, start + sweep, -sweep);
        path.closeSubpath();
        QColor fill = colorOf(p);
        const bool lit = static_cast<int>(i) == hovered_ || static_cast<int>(i) == focused_;
        if (lit)
            fill = isDark(this) ? fill.lighter(125) : fill.darker(125);
        painter.setPen(QPen(background, 1));
        painter.setBrush(fill);
        painter.drawPath(path);
        if (p.flags & usageUnreadable) {
            painter.setBrush(QBrush(background, Qt::BDiagPattern));
            painter.drawPath(path);
        }
        if (static_cast<int>(i) == focused_ && hasFocus()) {
            painter.setPen(QPen(labelColor(this), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        }
    }
    // The centre names the folder shown and what it holds; a click on it goes back up.
    painter.setPen(Qt::NoPen);
    painter.setBrush(controlBackgroundColor(this));
    painter.drawEllipse(g.centre, g.hole - 2, g.hole - 2);
    const QRectF label(
        g.centre.x() - g.hole * 0.9, g.centre.y() - g.hole * 0.6, g.hole * 1.8, g.hole * 1.2);
    painter.setPen(labelColor(this));
    painter.setFont(uiFont(11, QFont::DemiBold));
    const QFontMetrics metrics(painter.font());
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
        metrics.elidedText(centreName_, Qt::ElideMiddle, static_cast<int>(label.width())));
    painter.setFont(monospacedDigitFont(11));
    painter.setPen(secondaryLabelColor(this));
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignBottom, fileBytesText(centreBytes_));
}

void DiskMapView::showTip(int index, QPoint globalPos)
{
    if (index < 0)
        QToolTip::hideText();
    else
        QToolTip::showText(globalPos, pieceText(index), this);
}

void DiskMapView::mouseMoveEvent(QMouseEvent* event)
{
    const int at = pieceAt(event->position());
    if (at != hovered_) {
        hovered_ = at;
        update();
    }
    showTip(at, event->globalPosition().toPoint());
}

void DiskMapView::leaveEvent(QEvent*)
{
    hovered_ = -1;
    update();
}

void DiskMapView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int at = pieceAt(event->position());
    if (at == -2)
        emit zoomOutRequested();
    else if (at >= 0) {
        setFocused(at, true);
        const UsagePiece& p = pieces_[static_cast<size_t>(at)];
        if (p.id != kNoUsage && (p.flags & usageFolder))
            emit zoomRequested(p.id);
    }
}

void DiskMapView::contextMenuEvent(QContextMenuEvent* event)
{
    const int at = event->reason() == QContextMenuEvent::Mouse ? pieceAt(event->pos()) : focused_;
    if (at >= 0 && pieces_[static_cast<size_t>(at)].id != kNoUsage)
        emit menuRequested(pieces_[static_cast<size_t>(at)].id, event->globalPos());
}

void DiskMapView::setFocused(int index, bool tell)
{
    focused_ = index;
    update();
    if (index < 0)
        return;
    const UsagePiece& p = pieces_[static_cast<size_t>(index)];
    setAccessibleDescription(pieceText(index));
    if (hasFocus()) {
        const Geometry g = geometry();
        const double mid = 2 * std::numbers::pi * (p.start + p.span / 2);
        const qreal r = g.hole + (p.depth - 0.5) * g.ring;
        const QPointF at = g.centre + QPointF(std::sin(mid) * r, -std::cos(mid) * r);
        showTip(index, mapToGlobal(at.toPoint()));
    }
    if (tell && p.id != kNoUsage)
        emit pieceFocused(p.id);
}

void DiskMapView::keyPressEvent(QKeyEvent* event)
{
    const int n = static_cast<int>(pieces_.size());
    if (n == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    const UsagePiece* current = focused_ >= 0 ? &pieces_[static_cast<size_t>(focused_)] : nullptr;
    // The piece of `depth` that covers `turn`, for moving a ring in or out.
    auto covering = [&](int depth, double turn) {
        for (int i = 0; i < n; ++i) {
            const UsagePiece& p = pieces_[static_cast<size_t>(i)];
            if (p.depth == depth && turn >= p.start && turn < p.start + p.span + 1e-12)
                return i;
        }
        return -1;
    };
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Left: {
        const int step = event->key() == Qt::Key_Right ? 1 : -1;
        const int depth = current ? current->depth : 1;
        for (int k = 1; k <= n; ++k) {
            const int i = ((focused_ < 0 ? -step : focused_) + step * k + n * 2) % n;
            if (pieces_[static_cast<size_t>(i)].depth == depth) {
                setFocused(i, true);
                break;
            }
        }
        return;
    }
    case Qt::Key_Down:
    case Qt::Key_Up: {
        if (!current) {
            setFocused(0, true);
            return;
        }
        const int depth = current->depth + (event->key() == Qt::Key_Down ? 1 : -1);
        if (const int i = covering(depth, current->start + current->span / 2); i >= 0)
            setFocused(i, true);
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (current && current->id != kNoUsage && (current->flags & usageFolder))
            emit zoomRequested(current->id);
        return;
    case Qt::Key_Backspace:
        emit zoomOutRequested();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace tidvale::gui

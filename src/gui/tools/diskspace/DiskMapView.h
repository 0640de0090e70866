#pragma once

#include "engine/usage/UsageTree.h"

#include <QString>
#include <QWidget>

#include <vector>

namespace tidvale::gui {

// The rings of a folder: the centre is the folder, each ring one level deeper, each
// arc's angle its share of the centre's bytes. Rings rather than nested rectangles:
// the depth of a folder reads at a glance as its distance from the centre, an arc
// keeps its place and shape while the walk fills in (a rectangle layout reflows whole
// rows as sizes change), and the small pieces that must be folded stay at the outer
// end of each folder's run instead of cutting slivers across the picture.
//
// Hover and keyboard focus (←/→ between the pieces, ↑/↓ a ring in or out) show the
// piece's name, size and share; a click or Intro on a folder asks to make it the
// centre, a click on the centre or Retroceso asks to go back up. GUI thread only.
class DiskMapView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rings = 4;

    explicit DiskMapView(QWidget* parent = nullptr);

    // What to draw: the pieces of the rings around a centre named `centreName` that
    // holds `centreBytes`. Keeps the focused piece when it is still there.
    void setPieces(std::vector<UsagePiece> pieces, QString centreName, int64_t centreBytes);
    const std::vector<UsagePiece>& pieces() const { return pieces_; }
    // The piece at a point of the widget, or -1 (the centre: -2).
    int pieceAt(QPointF at) const;
    int focusedPiece() const { return focused_; }
    void focusPiece(UsageId id);
    // The text a hover or focus shows for a piece: name, size and share.
    QString pieceText(int index) const;

signals:
    void zoomRequested(UsageId id);
    void zoomOutRequested();
    void menuRequested(UsageId id, QPoint globalPos);
    void pieceFocused(UsageId id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Geometry {
        QPointF centre;
        qreal hole;
        qreal ring;
    };
    Geometry geometry() const;
    QColor colorOf(const UsagePiece& piece) const;
    void setFocused(int index, bool tell);
    void showTip(int index, QPoint globalPos);

    std::vector<UsagePiece> pieces_;
    QString centreName_;
    int64_t centreBytes_ = 0;
    int hovered_ = -1;
    int focused_ = -1;
};

} // namespace tidvale::gui

#include "gui/style/Symbols.h"

#include "gui/style/SymbolShapes.h"

#include <QFileInfo>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>

#include <array>

namespace tidvale::gui {
namespace {

// How a theme glyph is framed to read like the symbol: ".circle.fill" names are a
// tinted disc with the glyph cut out in white, ".circle" names a ring around it.
enum class Frame { none, filledCircle, ring };

struct Artwork {
    const char* name;
    const char* themeIcon; // Breeze name; nullptr where the drawn shape reads better
    Frame frame;
    Shape shape; // drawn when the theme is missing
};

constexpr std::array kArtwork{
    Artwork{"magnifyingglass", "edit-find", Frame::none, Shape::magnifier},
    Artwork{"magnifyingglass.circle.fill", "edit-find", Frame::filledCircle, Shape::magnifier},
    Artwork{"bolt.shield.fill", nullptr, Frame::none, Shape::boltShield},
    Artwork{"trash", "edit-delete", Frame::none, Shape::trash},
    Artwork{"trash.fill", "edit-delete", Frame::none, Shape::trash},
    Artwork{"lock.shield.fill", nullptr, Frame::none, Shape::shield},
    Artwork{"app.fill", nullptr, Frame::none, Shape::appSquare},
    Artwork{"puzzlepiece.fill", nullptr, Frame::none, Shape::puzzle},
    Artwork{"memorychip.fill", nullptr, Frame::none, Shape::chip},
    Artwork{"externaldrive.fill", nullptr, Frame::none, Shape::drive},
    Artwork{"internaldrive", nullptr, Frame::none, Shape::driveOutline},
    Artwork{"internaldrive.fill", nullptr, Frame::none, Shape::drive},
    Artwork{"doc.zipper", "archive-insert", Frame::none, Shape::document},
    Artwork{"doc.on.doc", "edit-copy", Frame::none, Shape::documents},
    Artwork{"doc.on.doc.fill", "edit-copy", Frame::none, Shape::documents},
    Artwork{"doc.text", nullptr, Frame::none, Shape::documentOutline},
    Artwork{"doc.text.fill", nullptr, Frame::none, Shape::document},
    Artwork{"hammer.fill", nullptr, Frame::none, Shape::hammer},
    Artwork{"arrow.down.circle.fill", "go-down", Frame::filledCircle, Shape::arrowDown},
    Artwork{"arrow.up.right.square", "window-new", Frame::none, Shape::arrowUpRight},
    Artwork{"server.rack", "network-server", Frame::none, Shape::server},
    Artwork{"safari", "compass", Frame::none, Shape::globe},
    Artwork{"globe", "globe", Frame::none, Shape::globe},
    Artwork{"globe.badge.chevron.backward", "map-globe", Frame::none, Shape::globe},
    Artwork{"flame", nullptr, Frame::none, Shape::flame},
    Artwork{"circle.hexagongrid", "globe", Frame::none, Shape::globe},
    Artwork{"shield", nullptr, Frame::none, Shape::shield},
    Artwork{"folder", "document-open-folder", Frame::none, Shape::folder},
    Artwork{"info.circle", "help-about", Frame::none, Shape::info},
    Artwork{"play.circle", "media-playback-start", Frame::ring, Shape::play},
};

const Artwork* artworkFor(const QString& name)
{
    for (const auto& a : kArtwork)
        if (name == QLatin1String(a.name))
            return &a;
    return nullptr;
}

// Where icon themes live: Qt's own theme paths (empty without a desktop platform
// theme) and the icons folder of each XDG data folder.
QStringList iconFolders()
{
    QStringList folders = QIcon::themeSearchPaths();
    for (const QString& data :
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + QStringLiteral("/icons");
    folders.removeDuplicates();
    return folders;
}

// The SVG file of a Breeze icon, looked up once per name, preferring the small,
// single-colour sizes.
QString themeFile(const char* icon)
{
    static QHash<QString, QString> cache;
    const QString key = QString::fromLatin1(icon);
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QString found;
    static const char* const contexts[]
        = {"actions", "places", "devices", "status", "preferences", "mimetypes", "apps"};
    static const QStringList folders = iconFolders();
    for (const QString& base : folders) {
        for (const char* context : contexts) {
            for (const char* size : {"22", "24", "16", "32"}) {
                const QString file
                    = QStringLiteral("%1/breeze/%2/%3/%4.svg")
                          .arg(base, QLatin1String(context), QLatin1String(size), key);
                if (QFileInfo::exists(file)) {
                    found = file;
                    break;
                }
            }
            if (!found.isEmpty())
                break;
        }
        if (!found.isEmpty())
            break;
    }
    cache.insert(key, found);
    return found;
}

bool hasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 0)
                return true;
    }
    return false;
}

// Paints the glyph's silhouette in `color` into `rect` of `p`.
void paintGlyph(QPainter& p, const QRectF& rect, const Artwork* art, const QColor& color)
{
    const QString file = art && art->themeIcon ? themeFile(art->themeIcon) : QString();
    if (!file.isEmpty()) {
        const qreal dpr = p.device()->devicePixelRatioF();
        QImage layer((rect.size() * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        {
            QPainter lp(&layer);
            QIcon(file).paint(&lp, layer.rect());
            // Breeze glyphs carry their own colours; keep only their shape.
            lp.setCompositionMode(QPainter::CompositionMode_SourceIn);
            lp.fillRect(layer.rect(), color);
        }
        // A theme file Qt cannot render (no SVG support) must not leave a blank.
        if (hasInk(layer)) {
            layer.setDevicePixelRatio(dpr);
            p.drawImage(rect.topLeft(), layer);
            return;
        }
    }
    drawShape(p, rect, art ? art->shape : Shape::dot, color);
}

void paintSymbol(QPainter& p, const QRectF& rect, const QString& name, const QColor& tint)
{
    const Artwork* art = artworkFor(name);
    const qreal side = std::min(rect.width(), rect.height());
    const QRectF square(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const Frame frame = art ? art->frame : Frame::none;
    if (frame == Frame::none) {
        paintGlyph(p, square, art, tint);
    } else {
        const qreal inset = side * 0.06;
        const QRectF disc = square.adjusted(inset, inset, -inset, -inset);
        if (frame == Frame::filledCircle) {
            p.setPen(Qt::NoPen);
            p.setBrush(tint);
            p.drawEllipse(disc);
        } else {
            p.setPen(QPen(tint, std::max<qreal>(1.0, side * 0.08)));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(disc.adjusted(side * 0.04, side * 0.04, -side * 0.04, -side * 0.04));
        }
        const qreal g = side * 0.5;
        const QRectF glyph(square.center().x() - g / 2, square.center().y() - g / 2, g, g);
        paintGlyph(p, glyph, art, frame == Frame::filledCircle ? QColor(Qt::white) : tint);
    }
    p.restore();
}

class SymbolIconEngine final : public QIconEngine {
public:
    SymbolIconEngine(QString name, QColor tint)
        : name_(std::move(name))
        , tint_(std::move(tint))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        QColor c = tint_;
        if (mode == QIcon::Disabled)
            c.setAlphaF(c.alphaF() * 0.4f);
        paintSymbol(*painter, rect, name_, c);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

    QIconEngine* clone() const override { return new SymbolIconEngine(name_, tint_); }
    QString key() const override { return QStringLiteral("tidvale-symbol"); }
    QString iconName() override { return name_; }

private:
    QString name_;
    QColor tint_;
};

} // namespace

QIcon symbolIcon(const QString& name, const QColor& tint)
{
    return QIcon(new SymbolIconEngine(name, tint));
}

QPixmap symbolPixmap(const QString& name, int points, const QColor& tint, qreal devicePixelRatio)
{
    const int px = qRound(points * devicePixelRatio);
    QPixmap pm(px, px);
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paintSymbol(p, QRectF(0, 0, points, points), name, tint);
    return pm;
}

QStringList knownSymbols()
{
    QStringList names;
    for (const auto& a : kArtwork)
        names << QString::fromLatin1(a.name);
    return names;
}

bool symbolUsesThemeArtwork(const QString& name)
{
    const Artwork* art = artworkFor(name);
    return art && art->themeIcon && !themeFile(art->themeIcon).isEmpty();
}

} // namespace tidvale::gui

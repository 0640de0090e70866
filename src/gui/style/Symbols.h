#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace tidvale::gui {

// Symbol images by their symbol names ("trash.fill", "magnifyingglass.circle.fill"),
// drawn as one-colour glyphs in `tint` at any size. The artwork comes from the Breeze
// icon theme when it is installed and is drawn in code otherwise, so no name ever
// shows a blank square; an unknown name gets a neutral dot.
QIcon symbolIcon(const QString& name, const QColor& tint);

// The glyph for a square of `points` device-independent pixels at `devicePixelRatio`.
QPixmap symbolPixmap(
    const QString& name, int points, const QColor& tint, qreal devicePixelRatio = 1.0);

// Every name the application uses; each has artwork of its own.
QStringList knownSymbols();

// Whether a name's glyph comes from the icon theme (false: drawn in code).
bool symbolUsesThemeArtwork(const QString& name);

} // namespace tidvale::gui

#pragma once

#include <QIcon>
#include <QImage>

#include <string>

namespace tidvale::gui {

// The image of a bundle's own icon file (.icns, .png...) at about `pixels` square,
// or a null image when it cannot be read. Safe on a worker thread: it makes no pixmap.
QImage loadAppIconImage(const std::string& iconFile, int pixels);

// The icon shown for an application whose own icon file could not be read: the
// system's icon for the bundle where the platform has one (macOS), else a generic
// application icon; never blank. GUI thread only.
QIcon fallbackAppIcon(const std::string& bundlePath);

} // namespace tidvale::gui

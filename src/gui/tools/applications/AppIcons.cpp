#include "gui/tools/applications/AppIcons.h"

#include "gui/style/Colors.h"
#include "gui/style/Symbols.h"

#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QImageReader>

namespace tidvale::gui {

QImage loadAppIconImage(const std::string& iconFile, int pixels)
{
    if (iconFile.empty())
        return {};
    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(iconFile)));
    // An .icns holds the icon at several sizes, largest often 1024 pixels: decode only
    // the smallest one that is still sharp at the size shown.
    int best = -1;
    QSize bestSize;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QSize size = reader.size();
        if (!size.isValid())
            continue;
        const bool bigEnough = size.width() >= pixels;
        const bool bestBigEnough = bestSize.isValid() && bestSize.width() >= pixels;
        if (best < 0 || (bigEnough && (!bestBigEnough || size.width() < bestSize.width()))
            || (!bigEnough && !bestBigEnough && size.width() > bestSize.width())) {
            best = i;
            bestSize = size;
        }
    }
    if (best > 0)
        reader.jumpToImage(best);
    else if (best < 0)
        reader.setFileName(reader.fileName()); // start again at the first image
    QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QIcon fallbackAppIcon(const std::string& bundlePath)
{
#ifdef Q_OS_MACOS
    // The workspace's icon, which also covers bundles whose icon lives in an asset
    // catalog rather than an .icns file.
    const QIcon workspace = QFileIconProvider().icon(
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(bundlePath))));
    if (!workspace.isNull())
        return workspace;
#else
    (void)bundlePath;
#endif
    static const QIcon generic = [] {
        QIcon themed = QIcon::fromTheme(QStringLiteral("application-x-executable"));
        return themed.isNull()
            ? symbolIcon(QStringLiteral("app.fill"), systemColor(SystemColor::gray))
            : themed;
    }();
    return generic;
}

} // namespace tidvale::gui

#include "gui/tools/applications/AppListModel.h"

#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"
#include "gui/tools/applications/AppIcons.h"

namespace tidvale::gui {
namespace {

constexpr int kIconPixels = AppListModel::iconPoints * 2;

QVariant iconOf(const AppRow& app)
{
    if (!app.pixmap.isNull())
        return app.pixmap;
    // A menu entry names its icon in the desktop's theme (looked up here, on the GUI
    // thread, where icons may be made), or gives a file that was read with the list.
    if (!app.info.iconName.empty()) {
        const QIcon themed = QIcon::fromTheme(displayText(app.info.iconName));
        if (!themed.isNull())
            app.pixmap = themed.pixmap(kIconPixels, kIconPixels);
    }
    if (app.pixmap.isNull())
        app.pixmap = app.icon.isNull()
            ? fallbackAppIcon(app.info.path).pixmap(kIconPixels, kIconPixels)
            : QPixmap::fromImage(app.icon);
    return app.pixmap;
}

// The path, and why the row cannot go when it cannot: the name cell has room for
// only the start of a long reason.
QVariant toolTipOf(const AppRow& app)
{
    QString tip = displayText(app.info.path);
    if (!app.info.removable && !app.info.notRemovableReason.empty())
        tip += QStringLiteral("\n") + displayText(app.info.notRemovableReason);
    return plainToolTip(tip);
}

} // namespace

AppListModel::AppListModel(QObject* parent)
    : RecordTableModel(
        {
            {QString(), {}, {}, {}, {}, iconOf},
            {QStringLiteral("Aplicación"), [](const AppRow& a) { return displayText(a.info.name); },
                {13, QFont::Medium}},
            {QStringLiteral("Versión"),
                [](const AppRow& a) {
                    return a.info.version.empty() ? QStringLiteral("-")
                                                  : displayText(a.info.version);
                },
                {11, QFont::Normal, Tone::secondary}},
            {QStringLiteral("Tamaño"), [](const AppRow& a) { return fileBytesText(a.info.size); },
                {12, QFont::Normal, Tone::secondary, true},
                [](const AppRow& a) {
                    return a.info.size > largeAppBytes ? QVariant(systemColor(SystemColor::red))
                                                       : QVariant();
                }},
        },
        toolTipOf, parent)
{
}

QVariant AppListModel::data(const QModelIndex& index, int role) const
{
    if (role != reasonRole)
        return RecordTableModel::data(index, role);
    if (!index.isValid() || index.model() != this || index.row() >= rowCount())
        return {};
    const AppInfo& app = items()[static_cast<size_t>(index.row())].info;
    if (app.removable)
        return QString();
    const QString reason = displayText(app.notRemovableReason);
    if (!sharedCause_.isEmpty() && reason.endsWith(sharedCause_) && reason != sharedCause_)
        return reason.chopped(sharedCause_.size()).trimmed();
    return reason;
}

void AppListModel::setSharedCause(const QString& cause)
{
    sharedCause_ = cause;
    if (rowCount() > 0)
        emit dataChanged(index(0, nameColumn), index(rowCount() - 1, nameColumn), {reasonRole});
}

} // namespace tidvale::gui

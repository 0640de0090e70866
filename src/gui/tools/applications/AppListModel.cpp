#include "gui/tools/applications/AppListModel.h"

#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"
#include "gui/tools/applications/AppIcons.h"

namespace tidvale::gui {
namespace {

QVariant iconOf(const AppRow& app)
{
    if (app.pixmap.isNull())
        app.pixmap = app.icon.isNull()
            ? fallbackAppIcon(app.info.path)
                  .pixmap(AppListModel::iconPoints * 2, AppListModel::iconPoints * 2)
            : QPixmap::fromImage(app.icon);
    return app.pixmap;
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
        [](const AppRow& a) { return plainToolTip(displayText(a.info.path)); }, parent)
{
}

} // namespace tidvale::gui

#include "gui/tools/extensions/LaunchItemModel.h"

#include "gui/style/Colors.h"
#include "gui/text/DisplayText.h"

namespace tidvale::gui {

LaunchItemModel::LaunchItemModel(QObject* parent)
    : RecordTableModel(
        {
            {QStringLiteral("Identificador"),
                [](const LaunchItem& i) {
                    return displayText(i.bundleID.empty() ? i.name : i.bundleID);
                },
                {12, QFont::Medium}},
            {QStringLiteral("Tipo"), [](const LaunchItem& i) { return displayText(i.source); },
                {12}, [](const LaunchItem&) { return systemColor(SystemColor::yellow); }},
            {QStringLiteral("Ruta"), [](const LaunchItem& i) { return displayText(i.path); },
                {10, QFont::Normal, Tone::secondary}},
        },
        [](const LaunchItem& i) { return plainToolTip(displayText(i.path)); }, parent)
{
}

} // namespace tidvale::gui

#include "gui/tools/systemjunk/SystemJunkModel.h"

#include "engine/junk/JunkCleanRules.h"
#include "gui/style/Colors.h"
#include "gui/text/DisplayText.h"

namespace tidvale::gui {

SystemJunkModel::SystemJunkModel(QObject* parent)
    : ScanItemModel(scanItemTick(),
        {
            {QStringLiteral("Nombre"),
                [](const ScanItem& i) {
                    const QString text = displayText(singleLine(i.name));
                    return i.requiresAdmin ? QStringLiteral("🔒 ") + text : text;
                },
                {13},
                [](const ScanItem& i) {
                    return i.requiresAdmin ? QVariant(systemColor(SystemColor::orange))
                                           : QVariant();
                },
                [](const ScanItem& i) { return plainToolTip(displayText(i.path)); }},
            {QStringLiteral("Categoría"),
                [](const ScanItem& i) { return QString::fromUtf8(displayName(i.category)); }, {11},
                [](const ScanItem& i) { return systemColor(colorOf(i.category)); }},
            junkSizeColumn(),
        },
        {}, parent)
{
}

} // namespace tidvale::gui

#include "gui/tools/privacy/PrivacyModel.h"

#include "engine/junk/JunkCleanRules.h"
#include "gui/style/Colors.h"
#include "gui/text/DisplayText.h"

namespace tidvale::gui {

PrivacyModel::PrivacyModel(QObject* parent)
    : ScanItemModel(scanItemTick(),
        {
            {QStringLiteral("Navegador"),
                [](const ScanItem& i) { return QString::fromUtf8(displayName(i.category)); },
                {12, QFont::Bold},
                [](const ScanItem& i) { return systemColor(colorOf(i.category)); }},
            {QStringLiteral("Archivo"),
                [](const ScanItem& i) { return displayText(singleLine(i.name)); }, {12}, {},
                [](const ScanItem& i) { return plainToolTip(displayText(i.path)); }},
            junkSizeColumn(),
        },
        {}, parent)
{
}

} // namespace tidvale::gui

#include "gui/tools/ScanItemColumns.h"

#include "gui/text/ByteTexts.h"

namespace tidvale::gui {

ScanItemModel::Tick scanItemTick()
{
    return {[](const ScanItem& i) { return i.isSelected; },
        [](ScanItem& i, bool on) { i.isSelected = on; }};
}

ScanItemModel::Column junkSizeColumn()
{
    return {QStringLiteral("Tamaño"), [](const ScanItem& i) { return junkBytesText(i.size); },
        {12, QFont::Normal, Tone::secondary, true}};
}

} // namespace tidvale::gui

#include "gui/tools/RecordTableModel.h"

#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"

namespace tidvale::gui {

QVariant RecordTableModelBase::lookFont(const CellLook& look)
{
    return look.digits ? monospacedDigitFont(look.points, look.weight)
                       : uiFont(look.points, look.weight);
}

QVariant RecordTableModelBase::toneColor(Tone tone)
{
    switch (tone) {
    case Tone::secondary:
        return secondaryLabelColor();
    case Tone::tertiary:
        return tertiaryLabelColor();
    case Tone::label:
        break;
    }
    return labelColor();
}

} // namespace tidvale::gui

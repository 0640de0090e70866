#include "gui/tools/xcode/XcodeCleanModel.h"

#include "engine/devcaches/XcodeCleaner.h"
#include "gui/style/Colors.h"
#include "gui/text/DisplayText.h"

#include <algorithm>

namespace tidvale::gui {
namespace {

QVariant sizeColor(const XcodeCleanItem& item)
{
    switch (xcodeSizeTone(item)) {
    case XcodeSizeTone::unavailable:
    case XcodeSizeTone::empty:
        return tertiaryLabelColor();
    case XcodeSizeTone::normal:
        return labelColor();
    case XcodeSizeTone::large:
        return systemColor(SystemColor::orange);
    case XcodeSizeTone::huge:
        return systemColor(SystemColor::red);
    }
    return {};
}

} // namespace

XcodeCleanModel::XcodeCleanModel(QObject* parent)
    : RecordTableModel({[](const XcodeCleanItem& i) { return i.isSelected && i.isAvailable; },
                           [](XcodeCleanItem& i, bool on) { i.isSelected = on; },
                           [](const XcodeCleanItem& i) { return i.isAvailable; }},
        {
            {QStringLiteral("Categoría"),
                [](const XcodeCleanItem& i) { return displayText(i.name); }, {13, QFont::Medium},
                [](const XcodeCleanItem& i) {
                    return i.isAvailable ? labelColor() : tertiaryLabelColor();
                },
                [](const XcodeCleanItem& i) { return plainToolTip(displayText(i.path)); }},
            {QStringLiteral("Descripción"),
                [](const XcodeCleanItem& i) { return displayText(i.description); },
                {11, QFont::Normal, Tone::secondary}, {},
                [](const XcodeCleanItem& i) { return displayText(i.description); }},
            {QStringLiteral("Tamaño"),
                [](const XcodeCleanItem& i) { return displayText(xcodeSizeText(i)); },
                {12, QFont::DemiBold, Tone::label, true}, sizeColor},
        },
        {}, parent)
{
}

bool XcodeCleanModel::anyCleanable() const
{
    return std::any_of(items().begin(), items().end(), isCleanable);
}

} // namespace tidvale::gui

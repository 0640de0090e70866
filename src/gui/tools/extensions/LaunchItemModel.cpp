#include "gui/tools/extensions/LaunchItemModel.h"

#include "gui/style/Colors.h"
#include "gui/text/DisplayText.h"

namespace tidvale::gui {
namespace {

// An entry that will not start (hidden, or not for this desktop) reads as such. The
// Mac's launch items are always listed as enabled.
QVariant dimmedWhenDisabled(const LaunchItem& i)
{
    return i.isEnabled ? QVariant() : QVariant(tertiaryLabelColor());
}

} // namespace

LaunchItemModel::LaunchItemModel(QObject* parent)
    : RecordTableModel(
        {
            {QStringLiteral("Identificador"),
                [](const LaunchItem& i) {
                    return displayText(i.bundleID.empty() ? i.name : i.bundleID);
                },
                {12, QFont::Medium}, dimmedWhenDisabled},
            {QStringLiteral("Tipo"),
                [](const LaunchItem& i) {
                    return displayText(i.source)
                        + (i.isEnabled ? QString() : QStringLiteral(" · desactivado"));
                },
                {12},
                [](const LaunchItem& i) {
                    return i.isEnabled ? QVariant(systemColor(SystemColor::yellow))
                                       : dimmedWhenDisabled(i);
                }},
            {QStringLiteral("Ruta"), [](const LaunchItem& i) { return displayText(i.path); },
                {10, QFont::Normal, Tone::secondary}, dimmedWhenDisabled},
        },
        [](const LaunchItem& i) { return plainToolTip(displayText(i.path)); }, parent)
{
}

} // namespace tidvale::gui

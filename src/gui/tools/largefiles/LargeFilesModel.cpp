#include "gui/tools/largefiles/LargeFilesModel.h"

#include "engine/format/DateText.h"
#include "engine/fs/PathText.h"
#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"

namespace tidvale::gui {

LargeFilesModel::LargeFilesModel(QObject* parent)
    : RecordTableModel(
        {
            {QStringLiteral("Nombre"), [](const LargeFileItem& i) { return displayText(i.name); },
                {12, QFont::Medium}},
            {QStringLiteral("Ubicación"),
                [](const LargeFileItem& i) { return displayText(parentFolder(i.path)); },
                {12, QFont::Normal, Tone::secondary}},
            {QStringLiteral("Tamaño"), [](const LargeFileItem& i) { return fileBytesText(i.size); },
                {12, QFont::DemiBold, Tone::label, true},
                [](const LargeFileItem& i) {
                    const auto tone = largeFileSizeColor(i.size);
                    return tone ? QVariant(systemColor(*tone)) : QVariant();
                }},
            {QStringLiteral("Modificado"),
                [](const LargeFileItem& i) {
                    return displayText(
                        formatShortDate(std::chrono::system_clock::to_time_t(i.modified)));
                },
                {12, QFont::Normal, Tone::secondary}},
        },
        [](const LargeFileItem& i) { return plainToolTip(displayText(i.path)); }, parent)
{
}

} // namespace tidvale::gui

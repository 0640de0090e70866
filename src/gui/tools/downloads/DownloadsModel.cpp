#include "gui/tools/downloads/DownloadsModel.h"

#include "engine/format/DateText.h"
#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"

namespace tidvale::gui {
namespace {

QVariant toneOrSecondary(std::optional<SystemColor> tone)
{
    return tone ? systemColor(*tone) : secondaryLabelColor();
}

} // namespace

DownloadsModel::DownloadsModel(QObject* parent)
    : RecordTableModel(
        {[](const DownloadItem& i) { return i.isSelected; },
            [](DownloadItem& i, bool on) { i.isSelected = on; }},
        {
            {QStringLiteral("Nombre"), [](const DownloadItem& i) { return displayText(i.name); },
                {12, QFont::Medium}},
            {QStringLiteral("Tamaño"), [](const DownloadItem& i) { return fileBytesText(i.size); },
                {12, QFont::Normal, Tone::secondary, true},
                [](const DownloadItem& i) { return toneOrSecondary(downloadSizeColor(i.size)); }},
            {QStringLiteral("Descargado"),
                [](const DownloadItem& i) {
                    return displayText(
                        formatShortDate(std::chrono::system_clock::to_time_t(i.date)));
                },
                {11, QFont::Normal, Tone::secondary},
                [](const DownloadItem& i) {
                    return toneOrSecondary(
                        downloadDateColor(i.date, std::chrono::system_clock::now()));
                }},
            {QStringLiteral("Tipo"), [](const DownloadItem& i) { return displayText(i.kind); },
                {11, QFont::Normal, Tone::tertiary}},
        },
        [](const DownloadItem& i) { return plainToolTip(displayText(i.path)); }, parent)
{
}

void DownloadsAgeFilter::setAge(int index, std::chrono::system_clock::time_point now)
{
    index_ = index;
    now_ = now;
    invalidateRowsFilter();
}

bool DownloadsAgeFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    const auto* listing = static_cast<const DownloadsModel*>(sourceModel());
    return sourceRow < listing->rowCount()
        && passesAgeFilter(listing->items()[static_cast<size_t>(sourceRow)], index_, now_);
}

} // namespace tidvale::gui

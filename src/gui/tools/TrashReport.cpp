#include "gui/tools/TrashReport.h"

#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"

#include <QStringList>

namespace tidvale::gui {
namespace {

// The Trash's reason on one line: it may quote a file name holding line breaks.
QString reasonText(const std::string& error)
{
    const QString reason = displayText(error).simplified();
    return reason.isEmpty() ? QStringLiteral("la Papelera no lo aceptó") : reason;
}

QString failedText(const TrashTally& tally)
{
    const QString reason = reasonText(tally.firstError);
    if (tally.moved > 0) {
        return (tally.failed == 1 ? QStringLiteral("1 no se movió: ")
                                  : QStringLiteral("%1 no se movieron: ").arg(tally.failed))
            + reason;
    }
    return (tally.failed == 1
                   ? QStringLiteral("❌ No se pudo mover a la Papelera: ")
                   : QStringLiteral("❌ No se pudieron mover %1 elementos a la Papelera: ")
                         .arg(tally.failed))
        + reason;
}

QString changedText(int changed)
{
    return changed == 1
        ? QStringLiteral("⚠️ 1 elemento cambió desde la búsqueda y no se movió")
        : QStringLiteral("⚠️ %1 elementos cambiaron desde la búsqueda y no se movieron")
              .arg(changed);
}

} // namespace

TrashBatch trashListed(platform::Trash& trash, const std::vector<ListedItem>& items,
    const std::vector<int64_t>& sizes, const JobControl& job)
{
    TrashBatch batch;
    const auto results = trashListedItems(trash, items, job);
    for (size_t i = 0; i < results.size(); ++i) {
        batch.tally.add(results[i]);
        if (results[i].outcome == TrashOutcome::moved) {
            batch.freed += i < sizes.size() ? sizes[i] : 0;
            batch.moved.insert(items[i].path);
        }
    }
    return batch;
}

QString trashStatusText(const QString& success, const TrashTally& tally)
{
    QStringList parts;
    if (tally.moved > 0 || (tally.failed == 0 && tally.changed == 0))
        parts << success;
    if (tally.failed > 0)
        parts << failedText(tally);
    if (tally.changed > 0)
        parts << changedText(tally.changed);
    return parts.join(QStringLiteral(" · "));
}

} // namespace tidvale::gui

#include "gui/tools/RemovalStatusText.h"

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

QString failedText(const RemovalReport& report)
{
    const int failed = report.count(RemovalStatus::failed);
    const QString reason = reasonText(report.first(RemovalStatus::failed)->message);
    if (report.any(RemovalStatus::gone)) {
        return (failed == 1 ? QStringLiteral("1 no se movió: ")
                            : QStringLiteral("%1 no se movieron: ").arg(failed))
            + reason;
    }
    return (failed == 1 ? QStringLiteral("❌ No se pudo mover a la Papelera: ")
                        : QStringLiteral("❌ No se pudieron mover %1 elementos a la Papelera: ")
                              .arg(failed))
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

QString removalStatusText(const QString& success, const RemovalReport& report)
{
    const int changed = report.count(RemovalStatus::changed);
    const bool failed = report.any(RemovalStatus::failed);
    QStringList parts;
    if (report.any(RemovalStatus::gone) || (!failed && changed == 0))
        parts << success;
    if (failed)
        parts << failedText(report);
    if (changed > 0)
        parts << changedText(changed);
    return parts.join(QStringLiteral(" · "));
}

} // namespace tidvale::gui

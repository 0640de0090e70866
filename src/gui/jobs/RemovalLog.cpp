#include "gui/jobs/RemovalLog.h"

#include "engine/history/RemovalJournal.h"

namespace tidvale::gui {

RemovalLog::RemovalLog(const Context& context, QObject* parent)
    : QObject(parent)
    , context_(context)
{
}

QString RemovalLog::record(const QString& source, const RemovalReport& report)
{
    std::vector<RemovalOutcome> undoable;
    for (const auto& outcome : report.outcomes)
        if ((outcome.isGone() || outcome.edited) && !outcome.trashedAs.empty())
            undoable.push_back(outcome);
    // A removal that moved nothing to the Trash (a cache deleted for good) leaves the
    // earlier one undoable: there is nothing of its own to put back.
    if (!undoable.empty()) {
        last_ = std::move(undoable);
        lastSource_ = source;
        emit undoableChanged(true);
    }
    const auto error
        = recordRemoval(context_.settings, report, source.toStdString(), context_.clock());
    return error ? QStringLiteral("No se guardó en el historial: ") + QString::fromStdString(*error)
                 : QString();
}

UndoReport RemovalLog::undoLast()
{
    UndoReport report = undoRemoval(last_);
    last_.clear();
    lastSource_.clear();
    emit undoableChanged(false);
    return report;
}

} // namespace tidvale::gui

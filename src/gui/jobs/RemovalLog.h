#pragma once

#include "engine/context/Context.h"
#include "engine/fs/Removal.h"
#include "engine/history/Undo.h"

#include <QObject>
#include <QString>

namespace tidvale::gui {

// Where every screen's finished removal goes: kept as the session's last one, so that
// Edición → Deshacer can put back what it moved to the Trash (no file needed), and
// added to the history when the user keeps one. GUI thread only.
class RemovalLog : public QObject {
    Q_OBJECT
public:
    explicit RemovalLog(const Context& context, QObject* parent = nullptr);

    // `source` is the screen's title. The text to show when the history could not be
    // written; empty otherwise.
    QString record(const QString& source, const RemovalReport& report);

    // Whether the last removal of this session moved anything to the Trash that has not
    // been put back yet.
    bool canUndo() const { return !last_.empty(); }
    QString lastSource() const { return lastSource_; }
    // Puts it back (see undoRemoval); after that there is nothing left to undo.
    UndoReport undoLast();

signals:
    void undoableChanged(bool undoable);

private:
    const Context& context_;
    std::vector<RemovalOutcome> last_;
    QString lastSource_;
};

} // namespace tidvale::gui

#pragma once

// Puts back what a removal moved to the Trash, through the Trash's own record, and
// never over anything: an item whose place is taken again stays in the Trash.
#include "engine/fs/Removal.h"

#include <string>
#include <vector>

namespace tidvale {

enum class UndoStatus {
    restored,       // back where it was; the Trash's entry is gone
    occupied,       // its place holds something else now: left in the Trash
    notInTrash,     // emptied from the Trash since, or moved out of it
    notRecoverable, // it was deleted, not moved to the Trash
    failed,         // the move back was tried and did not happen
};

struct UndoOutcome {
    std::string path; // where it was, and is again when restored
    UndoStatus status = UndoStatus::failed;
    std::string message; // why, for every status but restored
};

struct UndoReport {
    std::vector<UndoOutcome> outcomes;
    int count(UndoStatus status) const;
};

// Undoes the gone outcomes of a removal (the others were never removed). A trashed
// item goes back to the place its `.trashinfo` records (or, with no such record, as on
// the Mac, to the outcome's path), its missing folders made again, and the record is
// dropped; an edited file gets its earlier copy back over it.
UndoReport undoRemoval(const std::vector<RemovalOutcome>& outcomes);

// "↩️ 3 elementos devueltos a su sitio · 1 sigue en la Papelera: …", for a status line;
// `detail` gets one line per item not put back.
std::string undoSummary(const UndoReport& report);
std::string undoDetails(const UndoReport& report);

} // namespace tidvale

#pragma once

#include "engine/fs/ListedItem.h"

#include <QString>

namespace tidvale::gui {

// The status line after a move to the Trash. `success` is the screen's own line for
// what was moved ("✅ Liberado: 3 MB"); it leads when anything was moved. Entries the
// Trash refused are counted with the Trash's reason for the first one, and entries
// that changed since they were listed are named as such. When nothing was moved the
// line never starts with the success mark.
QString trashStatusText(const QString& success, const TrashTally& tally);

} // namespace tidvale::gui

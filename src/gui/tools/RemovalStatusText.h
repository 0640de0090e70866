#pragma once

#include "engine/fs/Removal.h"

#include <QString>

namespace tidvale::gui {

// The status line after a removal. `success` is the screen's own line for what went
// ("✅ Liberado: 3 MB"); it leads when anything went. Entries that failed are counted
// with the reason of the first one, and entries that changed since they were listed
// are named as such. When nothing went the line never starts with the success mark.
QString removalStatusText(const QString& success, const RemovalReport& report);

} // namespace tidvale::gui

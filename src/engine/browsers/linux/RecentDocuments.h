#pragma once

#include "engine/context/Context.h"
#include "engine/fs/Removal.h"
#include "engine/records/ScanItem.h"

namespace tidvale::linuxdesk {

// GTK's recently-used.xbel becomes a valid empty list rather than going: programs
// that run keep writing to the file they know.
RemovalOutcome emptyRecentList(const Context& context, const ScanItem& item);

// Every entry of KDE's RecentDocuments folder goes; the folder stays for KDE to fill.
RemovalOutcome emptyFolder(const ScanItem& item);

} // namespace tidvale::linuxdesk

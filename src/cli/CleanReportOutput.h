#pragma once

#include "cli/Command.h"
#include "engine/junk/ScheduledClean.h"

namespace tidvale::cli {

// What a cleaning command removed (or, in a dry run, would remove) and what it left,
// as a table or, with --json, as {"dryRun","removed","left","freed"}.
void printCleanReport(Invocation& inv, const RemovalReport& report, bool dryRun);

} // namespace tidvale::cli

#pragma once

#include "cli/Command.h"
#include "engine/junk/ScheduledClean.h"

namespace tidvale::cli {

// What a cleaning command removed (or, in a dry run, would remove) and what it left,
// as a table or, with --json, as {"dryRun","removed","left","freed"}.
void printCleanReport(Invocation& inv, const RemovalReport& report, bool dryRun);

// Adds a removal to the history when the user keeps one; a history that could not be
// written is said on stderr, and the removal stands.
void recordCliRemoval(Invocation& inv, const RemovalReport& report, const std::string& source);

} // namespace tidvale::cli

#pragma once

#include "engine/junk/ScheduledClean.h"
#include "platform/Notifier.h"

namespace tidvale::cli {

// What the notification at the end of a scheduled clean says: what was freed, what
// was left and why, or what failed.
platform::Notification scheduledCleanNotice(const RemovalReport& report);

} // namespace tidvale::cli

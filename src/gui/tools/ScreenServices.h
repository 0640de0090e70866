#pragma once

#include "engine/context/Context.h"

namespace tidvale {
class ScanService;
class SystemInfoService;
} // namespace tidvale

namespace tidvale::gui {

class RemovalLog;

// What a tool screen works with, handed to it when it is built: the process's context
// and the two services built on it, and the log every finished removal goes to (for
// the undo and the history). Every member outlives the screens.
struct ScreenServices {
    const Context& context;
    const ScanService& scan;
    const SystemInfoService& info;
    RemovalLog& removals;
};

} // namespace tidvale::gui

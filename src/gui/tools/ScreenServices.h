#pragma once

#include "engine/context/Context.h"

namespace tidvale {
class ScanService;
class SystemInfoService;
} // namespace tidvale

namespace tidvale::gui {

// What a tool screen works with, handed to it when it is built: the process's context
// and the two services built on it. Every member outlives the screens.
struct ScreenServices {
    const Context& context;
    const ScanService& scan;
    const SystemInfoService& info;
};

} // namespace tidvale::gui

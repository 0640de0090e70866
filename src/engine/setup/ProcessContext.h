#pragma once

#include "engine/context/Context.h"

namespace tidvale {

// Keeps `context` for the rest of the process and returns it; ScanService::shared()
// and SystemInfoService::shared() are built on it. Each `main` calls it once, before
// anything asks for them; it is never released, since work still running at exit may
// reach it.
const Context& installProcessContext(Context context);

} // namespace tidvale

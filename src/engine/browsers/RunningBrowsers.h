#pragma once

#include "engine/browsers/BrowserPlaces.h"

#include <optional>
#include <string>
#include <vector>

namespace tidvale {

// The display name of the browser of `c` when the context's browser places see it running
// now (on the Mac: an application with one of its bundle identifiers, exact match, no
// prefixes); none for the system categories, for which nothing is asked.
std::optional<std::string> runningBrowser(const Context& context, ScanCategory c);

// The display name of a running browser whose data `path` is, holds or lies inside,
// compared component by component; none when no such browser runs. The running
// programs are asked only when the path touches some browser's data.
std::optional<std::string> runningBrowserHolding(
    const Context& context, const std::string& path, const std::vector<BrowserDataRoot>& roots);

} // namespace tidvale

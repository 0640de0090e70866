#pragma once

#include "engine/system/SystemRecords.h"

#include <functional>
#include <string>
#include <vector>

namespace tidvale {

// The application bundles directly inside the machine's Applications folder, then
// inside `home` + "/Applications", largest first (equal sizes keep listing order).
// `progress` gets "Leyendo NAME..." before each bundle is measured.
std::vector<AppInfo> listBundleApplications(const std::string& home,
    const std::function<int64_t(const std::string&)>& sizeOf,
    const std::function<void(const std::string&)>& progress);

} // namespace tidvale

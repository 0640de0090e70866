#pragma once

#include "engine/core/Job.h"
#include "engine/fs/TreeSize.h"
#include "engine/records/AppInfo.h"

#include <string>
#include <vector>

namespace tidvale {

// The application bundles directly inside the machine's Applications folder (under the
// system root `root`), then
// inside `home` + "/Applications", largest first (equal sizes keep listing order).
// The job hears "Leyendo NAME..." before each bundle is measured; once it is cancelled
// the bundles measured in full so far come back.
std::vector<AppInfo> listBundleApplications(const std::string& home, const std::string& root,
    const TreeMeasure& measure, const JobControl& job);

} // namespace tidvale

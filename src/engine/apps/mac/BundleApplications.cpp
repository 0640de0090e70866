#include "engine/apps/mac/BundleApplications.h"

#include "engine/apps/mac/BundleInfo.h"
#include "engine/desktop/SystemLocations.h"
#include "engine/fs/FolderEntries.h"

#include <algorithm>

namespace tidvale {

std::vector<AppInfo> listBundleApplications(const std::string& home, const std::string& root,
    const TreeMeasure& measure, const JobControl& job)
{
    std::vector<AppInfo> apps;
    for (const auto& folder : {SystemLocations::applications(root), home + "/Applications"}) {
        for (const auto& child : childNames(folder)) {
            auto name = stem(child, ".app");
            if (!name)
                continue;
            if (job.cancelled())
                return apps;
            AppInfo app;
            app.name = std::move(*name);
            app.path = folder + "/" + child;
            app.unit = app.path;
            readListedStamp(app.path, app.listed); // none when it vanished meanwhile
            job.say("Leyendo " + app.name + "...");
            const auto size = measure(app.path, job);
            if (!size)
                return apps; // cancelled: the bundle is not listed at a part of its size
            app.size = *size;
            BundleInfo bundle = readBundleInfo(app.path);
            app.version = std::move(bundle.version);
            app.bundleID = std::move(bundle.bundleID);
            app.iconFile = std::move(bundle.iconFile);
            apps.push_back(std::move(app));
        }
    }
    std::stable_sort(apps.begin(), apps.end(),
        [](const AppInfo& a, const AppInfo& b) { return a.size > b.size; });
    return apps;
}

} // namespace tidvale

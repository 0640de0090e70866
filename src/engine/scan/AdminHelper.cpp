#include "engine/scan/AdminHelper.h"

#include "engine/fs/SafeRemove.h"
#include "engine/scan/AdminPolicy.h"
#include "engine/scan/SystemLocations.h"

namespace tidvale {

int runAdminHelper(const std::vector<std::string>& args, std::ostream& errors)
{
    if (args.empty() || args.front() != "--") {
        errors << "Uso: tidvale-admin-helper -- RUTA...\n";
        return 2;
    }
    int status = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& path = args[i];
        if (!isAdminDeletable(path)) {
            errors << "Ruta no permitida: " << path << "\n";
            status = 1;
            continue;
        }
        const std::string caches = SystemLocations::libraryCaches();
        const std::string base
            = path.starts_with(caches + "/") ? caches : SystemLocations::libraryLogs();
        const RemoveOutcome out = removeItemBeneath(base, path);
        if (!out.ok()) {
            errors << describeRemoveError(out.error, path) << "\n";
            status = 1;
        }
    }
    return status;
}

} // namespace tidvale

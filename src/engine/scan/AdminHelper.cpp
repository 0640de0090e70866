#include "engine/scan/AdminHelper.h"

#include "engine/fs/SafeRemove.h"
#include "engine/scan/AdminPolicy.h"

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
        const auto area = adminAreaOf(path);
        if (!area) {
            errors << "Ruta no permitida: " << path << "\n";
            status = 1;
            continue;
        }
        const RemoveOutcome out = removeItemBeneath(*area, path);
        if (!out.ok()) {
            errors << describeRemoveError(out.error, path) << "\n";
            status = 1;
        }
    }
    return status;
}

} // namespace tidvale

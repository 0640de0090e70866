#include "engine/admin/AdminHelper.h"

#include "engine/admin/AdminPolicy.h"
#include "engine/fs/SafeRemove.h"
#include "platform/PrivilegedReport.h"

#include <cerrno>

namespace tidvale {
namespace {

using platform::PrivilegedPathResult;
using platform::PrivilegedStatus;

PrivilegedPathResult removeAllowed(const std::vector<AdminArea>& areas, const std::string& path)
{
    const auto area = adminAreaOf(areas, path);
    if (!area)
        return {PrivilegedStatus::refused, 0};
    const RemoveOutcome out = removeItemBeneath(*area, path);
    if (out.ok())
        return {PrivilegedStatus::removed, 0};
    // Gone before the password was typed: nothing is left to do, as `rm -rf` would see it.
    if (out.error == ENOENT)
        return {PrivilegedStatus::missing, 0};
    return {PrivilegedStatus::failed, out.error};
}

} // namespace

int runAdminHelper(const std::vector<AdminArea>& areas, const std::vector<std::string>& args,
    std::ostream& report, std::ostream& errors)
{
    if (args.empty() || args.front() != "--") {
        errors << "Uso: tidvale-admin-helper -- RUTA...\n";
        return 2;
    }
    int status = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        const PrivilegedPathResult result = removeAllowed(areas, args[i]);
        if (result.status != PrivilegedStatus::removed
            && result.status != PrivilegedStatus::missing)
            status = 1;
        // Flushed per line: should the helper die midway, what it did is still known.
        report << platform::privilegedReportLine(i - 1, result) << std::flush;
    }
    return status;
}

} // namespace tidvale

#include "engine/junk/AdminStage.h"

#include "engine/admin/AdminPolicy.h"
#include "engine/format/AppleScript.h"

namespace tidvale {

std::vector<AdminArea> adminAreasOf(const Context& context)
{
    return context.places.adminAreas->under(context.folders.systemRoot, context.clock);
}

std::string adminDeletionScript(const std::vector<std::string>& paths)
{
    std::string args;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (i > 0)
            args += " & \" \" & ";
        args += "quoted form of \"" + appleScriptEscape(paths[i]) + "\"";
    }
    return "do shell script \"/bin/rm -rf -- \" & " + args + " with administrator privileges";
}

AdminPlan planAdminDeletion(const Context& context, const std::vector<ScanItem>& items)
{
    const std::vector<AdminArea> areas = adminAreasOf(context);
    AdminPlan plan;
    std::vector<std::string> paths;
    for (const auto& item : items) {
        if (isAdminDeletable(areas, item.path)) {
            plan.accepted.push_back(item);
            paths.push_back(item.path);
        } else {
            plan.refused.push_back(item);
        }
    }
    if (!paths.empty())
        plan.script = adminDeletionScript(paths);
    return plan;
}

} // namespace tidvale

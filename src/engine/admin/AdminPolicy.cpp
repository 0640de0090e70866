#include "engine/admin/AdminPolicy.h"

#include "engine/format/AppleScript.h"
#include "engine/locations/LocationsProfile.h"

namespace tidvale {
namespace {

bool strictlyInside(const std::string& path, const std::string& folder)
{
    const std::string prefix = folder + "/";
    return path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::string standardizedPath(const std::string& path, const std::string& home)
{
    std::string p = path;
    if (p == "~" || p.starts_with("~/"))
        p = home + p.substr(1);
    const bool absolute = !p.empty() && p.front() == '/';
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= p.size()) {
        size_t end = p.find('/', start);
        if (end == std::string::npos)
            end = p.size();
        std::string part = p.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
            continue;
        }
        parts.push_back(std::move(part));
    }
    std::string out = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += '/';
        out += parts[i];
    }
    return out;
}

std::optional<std::string> adminAreaOf(const Context& context, const std::string& path)
{
    const std::string std = standardizedPath(path, context.folders.home);
    if (std != path)
        return std::nullopt;
    size_t start = 0;
    while (start <= std.size()) {
        size_t end = std.find('/', start);
        if (end == std::string::npos)
            end = std.size();
        if (std.compare(start, end - start, "..") == 0 && end - start == 2)
            return std::nullopt;
        start = end + 1;
    }
    for (const auto& area : context.profile->adminAreas(context)) {
        if (strictlyInside(std, area.folder) && (!area.accepts || area.accepts(std)))
            return area.folder;
    }
    return std::nullopt;
}

bool isAdminDeletable(const Context& context, const std::string& path)
{
    return adminAreaOf(context, path).has_value();
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
    AdminPlan plan;
    std::vector<std::string> paths;
    for (const auto& item : items) {
        if (isAdminDeletable(context, item.path)) {
            plan.accepted.push_back(item);
            paths.push_back(item.path);
        } else {
            plan.messages.push_back("Ruta no permitida: " + item.path);
        }
    }
    if (!paths.empty())
        plan.script = adminDeletionScript(paths);
    return plan;
}

} // namespace tidvale

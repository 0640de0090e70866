#include "engine/settings/KeepList.h"

#include <climits>
#include <cstdlib>

namespace tidvale {
namespace {

bool isSameOrInside(const std::string& path, const std::string& folder)
{
    return path == folder
        || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0
            && (folder.back() == '/' || path[folder.size()] == '/'));
}

// Both the path as given and as resolved: a kept folder reached through a link, or a
// listing made through one, is the same folder.
std::vector<std::string> formsOf(const std::string& path)
{
    std::string given = path;
    while (given.size() > 1 && given.back() == '/')
        given.pop_back();
    std::vector<std::string> forms{given};
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) && path != buffer)
        forms.emplace_back(buffer);
    return forms;
}

} // namespace

std::vector<std::string> keptForms(const std::vector<std::string>& keep)
{
    std::vector<std::string> forms;
    for (const auto& kept : keep)
        for (auto& form : formsOf(kept))
            forms.push_back(std::move(form));
    return forms;
}

bool touchesKeptForm(const std::string& path, const std::vector<std::string>& forms)
{
    for (const auto& k : forms)
        if (isSameOrInside(path, k) || isSameOrInside(k, path))
            return true;
    return false;
}

bool touchesKept(const std::string& path, const std::vector<std::string>& keep)
{
    return !keep.empty() && touchesKeptForm(path, keptForms(keep));
}

std::vector<std::string> keptPaths(const UserSettings& settings)
{
    if (settings.path.empty())
        return {};
    return readSettings(settings.path).values.keep;
}

} // namespace tidvale

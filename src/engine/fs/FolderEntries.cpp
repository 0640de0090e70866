#include "engine/fs/FolderEntries.h"

#include <dirent.h>

namespace tidvale {

std::vector<std::string> childNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* d = ::opendir(folder.c_str());
    if (!d)
        return names;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(d);
    return names;
}

std::optional<std::string> stem(const std::string& name, const std::string& suffix)
{
    if (name.size() < suffix.size()
        || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    if (name.size() == suffix.size())
        return name;
    return name.substr(0, name.size() - suffix.size());
}

} // namespace tidvale

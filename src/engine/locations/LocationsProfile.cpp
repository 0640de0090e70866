#include "engine/locations/LocationsProfile.h"

namespace tidvale {

RemoveOutcome LocationsProfile::removeJunk(const Context&, const ScanItem& item) const
{
    return removeItem(item.path);
}

GuardedFolders LocationsProfile::guardedFolders(const Context& context) const
{
    const std::string& home = context.folders.home;
    return macGuardedFolders(resolvedPath(home).value_or(home), context.folders.systemRoot);
}

std::vector<std::string> LocationsProfile::folderNotices(const Context&) const
{
    return {};
}

std::optional<std::string> LocationsProfile::removalRefusal(
    const Context& context, const ScanItem& item) const
{
    const auto entry = resolvedEntry(item.path);
    if (!entry)
        return item.path + " no se puede comprobar";
    if (auto why = guardRefusal(guardedFolders(context), *entry))
        return *entry + " " + *why;
    return std::nullopt;
}

const LocationsProfile& platformProfile()
{
#ifdef __APPLE__
    return macProfile();
#else
    return linuxProfile();
#endif
}

const LocationsProfile* profileNamed(std::string_view name)
{
    if (name == macProfile().name())
        return &macProfile();
    if (name == linuxProfile().name())
        return &linuxProfile();
    return nullptr;
}

} // namespace tidvale

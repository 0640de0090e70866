#include "engine/locations/LocationsProfile.h"

#include "engine/locations/SystemLocations.h"

#include <atomic>
#include <cstdlib>

namespace tidvale {
namespace {

std::atomic<const LocationsProfile*>& chosen()
{
    static std::atomic<const LocationsProfile*> profile{nullptr};
    return profile;
}

} // namespace

RemoveOutcome LocationsProfile::removeJunk(const ScanItem& item) const
{
    return removeItem(item.path);
}

GuardedFolders LocationsProfile::guardedFolders(const std::string& home) const
{
    return macGuardedFolders(resolvedPath(home).value_or(home), SystemLocations::root());
}

std::vector<std::string> LocationsProfile::folderNotices(const std::string&) const
{
    return {};
}

std::optional<std::string> LocationsProfile::removalRefusal(
    const std::string& home, const ScanItem& item) const
{
    const auto entry = resolvedEntry(item.path);
    if (!entry)
        return item.path + " no se puede comprobar";
    if (auto why = guardRefusal(guardedFolders(home), *entry))
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

const LocationsProfile& currentProfile()
{
    if (const LocationsProfile* p = chosen().load())
        return *p;
    // Read on every call, as the home folder is: a test or a script may change it
    // between two scans.
    if (const char* name = std::getenv("TIDVALE_PROFILE"); name && *name)
        if (const LocationsProfile* p = profileNamed(name))
            return *p;
    return platformProfile();
}

void setCurrentProfile(const LocationsProfile* profile)
{
    chosen().store(profile);
}

std::optional<std::string> unknownProfileInEnvironment()
{
    const char* name = std::getenv("TIDVALE_PROFILE");
    if (!name || !*name || profileNamed(name))
        return std::nullopt;
    return std::string(name);
}

ScopedProfile::ScopedProfile(const LocationsProfile& profile)
    : saved_(chosen().load())
{
    setCurrentProfile(&profile);
}

ScopedProfile::~ScopedProfile()
{
    setCurrentProfile(saved_);
}

} // namespace tidvale

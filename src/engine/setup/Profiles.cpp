#include "engine/setup/Profiles.h"

namespace tidvale {

const Places& macPlaces()
{
    static const Places places{"mac", &macJunkPlaces(), &macBrowserPlaces(), &macAdminAreas(),
        &macLaunchItemPlaces(), &macAppInventory(), &macDeveloperPlaces(), &macVolumeNaming(),
        &macPersonalPlaces(), &macTexts()};
    return places;
}

const Places& linuxPlaces()
{
    static const Places places{"linux", &linuxJunkPlaces(), &linuxBrowserPlaces(),
        &linuxAdminAreas(), &linuxLaunchItemPlaces(), &linuxAppInventory(), &linuxDeveloperPlaces(),
        &linuxVolumeNaming(), &linuxPersonalPlaces(), &linuxTexts()};
    return places;
}

const Places& platformPlaces()
{
#ifdef __APPLE__
    return macPlaces();
#else
    return linuxPlaces();
#endif
}

const Places* placesNamed(std::string_view name)
{
    for (const Places* places : {&macPlaces(), &linuxPlaces()})
        if (name == places->name)
            return places;
    return nullptr;
}

} // namespace tidvale

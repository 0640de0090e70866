#pragma once

// The two sets of places a process may look in: "mac" (the Mac's own folders) and
// "linux" (a Linux desktop's), with every interface they hold. The context builder
// picks one; tests pick either.
#include "engine/admin/AdminAreas.h"
#include "engine/apps/AppInventory.h"
#include "engine/browsers/BrowserPlaces.h"
#include "engine/context/Context.h"
#include "engine/desktop/PersonalPlaces.h"
#include "engine/devcaches/DeveloperPlaces.h"
#include "engine/junk/JunkPlaces.h"
#include "engine/startup/LaunchItemPlaces.h"
#include "engine/system/VolumeNaming.h"
#include "engine/texts/PlatformTexts.h"

#include <string_view>

namespace tidvale {

const Places& macPlaces();
const Places& linuxPlaces();

// The set of the system the program was built for.
const Places& platformPlaces();

// "mac" or "linux"; none for another name.
const Places* placesNamed(std::string_view name);

} // namespace tidvale

#pragma once

#include "engine/locations/LocationsProfile.h"

#include <QString>

namespace tidvale::gui {

// A text that names the computer or its file manager, as the profile in force says it
// ("tu Mac" on the Mac, "tu equipo" on a Linux desktop).
inline QString platformText(std::string PlatformTexts::*text)
{
    return QString::fromStdString(currentProfile().texts().*text);
}

} // namespace tidvale::gui

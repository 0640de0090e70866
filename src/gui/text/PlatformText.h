#pragma once

#include "engine/locations/LocationsProfile.h"

#include <QString>

namespace tidvale::gui {

// A text that names the computer or its file manager, as the context's profile says
// it ("tu Mac" on the Mac, "tu equipo" on a Linux desktop).
inline QString platformText(const Context& context, std::string PlatformTexts::*text)
{
    return QString::fromStdString(context.profile->texts().*text);
}

} // namespace tidvale::gui

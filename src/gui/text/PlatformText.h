#pragma once

#include "engine/context/Context.h"
#include "engine/texts/PlatformTexts.h"

#include <QString>

namespace tidvale::gui {

// A text that names the computer or its file manager, as the context's places say
// it ("tu Mac" on the Mac, "tu equipo" on a Linux desktop).
inline QString platformText(const Context& context, std::string PlatformTexts::*text)
{
    return QString::fromStdString(context.places.texts->*text);
}

} // namespace tidvale::gui

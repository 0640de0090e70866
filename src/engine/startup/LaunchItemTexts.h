#pragma once

#include "engine/records/LaunchItem.h"

#include <string>

namespace tidvale {

// What the Extensiones screen and `tidvale-cli launch-items --disable` say about
// deleting one startup item; the wording follows what deleting does to its kind.
struct LaunchItemConfirmation {
    std::string message;
    std::string informativeText;
    std::string confirmButton; // the first button; the second is "Cancelar"
};

LaunchItemConfirmation confirmationFor(const LaunchItem& item);

// The status line after it worked ("✅ Eliminado: …") or failed ("❌ Error: …").
std::string doneTextFor(const LaunchItem& item);
std::string enabledTextFor(const LaunchItem& item); // "✅ Activado: …"

// What the screen's action button says for the item: what deleting it does
// ("Eliminar Seleccionado" on the Mac, "Mover a la Papelera", "Desactivar",
// "Deshabilitar"), or "Activar" for an item that can be turned on again.
std::string actionTitleFor(const LaunchItem& item);
std::string failedText(const std::string& error);

} // namespace tidvale

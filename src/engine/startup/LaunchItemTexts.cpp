#include "engine/startup/LaunchItemTexts.h"

namespace tidvale {
namespace {

// The list shows an entry's Name, so a Linux confirmation names it that way too.
std::string shownName(const LaunchItem& item)
{
    return item.bundleID.empty() ? item.name : item.bundleID;
}

const char* const kNotAtLogin = "No se abrirá más al iniciar la sesión:\n";

} // namespace

LaunchItemConfirmation confirmationFor(const LaunchItem& item)
{
    const std::string label = shownName(item);
    switch (item.action) {
    case LaunchItemAction::deleteFile:
        // The Mac's confirmation names the file, even where the list shows the label.
        return {"¿Eliminar agente de inicio?",
            "Se eliminará:\n" + item.name
                + "\n\nEsto puede afectar el funcionamiento de algunas aplicaciones.",
            "Eliminar"};
    case LaunchItemAction::moveToTrash:
        return {"¿Eliminar elemento de inicio?",
            "Se moverá a la Papelera:\n" + label + "\n\nNo se abrirá más al iniciar la sesión.",
            "Mover a la Papelera"};
    case LaunchItemAction::hideSystemEntry:
        return {"¿Desactivar elemento de inicio?",
            kNotAtLogin + label
                + "\n\nEs un elemento del sistema: se guardará una copia desactivada en tu "
                  "carpeta de inicio y el archivo del sistema no se modifica.",
            "Desactivar"};
    case LaunchItemAction::hideUserEntry:
        return {"¿Desactivar elemento de inicio?",
            kNotAtLogin + label
                + "\n\nEste archivo reemplaza a uno del sistema: se marcará como oculto en "
                  "lugar de eliminarlo, para que el del sistema no vuelva a abrirse.",
            "Desactivar"};
    case LaunchItemAction::disableUnit:
        return {"¿Deshabilitar servicio de usuario?",
            "Se ejecutará «systemctl --user disable " + item.name
                + "».\n\nNo se iniciará en la próxima sesión; si está en marcha, sigue en "
                  "marcha hasta entonces.",
            "Deshabilitar"};
    }
    return {};
}

std::string doneTextFor(const LaunchItem& item)
{
    switch (item.action) {
    case LaunchItemAction::deleteFile:
        return "✅ Eliminado: " + item.name;
    case LaunchItemAction::moveToTrash:
        return "✅ Movido a la Papelera: " + shownName(item);
    case LaunchItemAction::hideSystemEntry:
    case LaunchItemAction::hideUserEntry:
        return "✅ Desactivado: " + shownName(item);
    case LaunchItemAction::disableUnit:
        return "✅ Deshabilitado: " + item.name;
    }
    return {};
}

std::string enabledTextFor(const LaunchItem& item)
{
    return "✅ Activado: " + shownName(item);
}

std::string actionTitleFor(const LaunchItem& item)
{
    if (!item.isEnabled)
        return "Activar";
    if (item.action == LaunchItemAction::deleteFile)
        return "Eliminar Seleccionado";
    return confirmationFor(item).confirmButton;
}

std::string failedText(const std::string& error)
{
    return "❌ Error: " + error;
}

} // namespace tidvale

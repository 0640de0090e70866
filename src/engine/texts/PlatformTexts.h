#pragma once

#include <string>

namespace tidvale {

// Texts that name the system's own computer or file manager, kept in one table so
// that a screen never says "Mac" or "Finder" where there is neither.
struct PlatformTexts {
    std::string readyToScan;     // "Listo para escanear tu Mac"
    std::string computerIsClean; // "✅ Tu Mac está limpio"
    std::string diskSubtitle;    // "Visualizá el uso del almacenamiento en tu Mac"
    std::string sidebarSubtitle; // "Mac Cleaner"
    std::string revealInFolder;  // "Mostrar en Finder"
    std::string revealOriginal;  // "Mostrar Original en Finder"
    std::string openInFolder;    // "Abrir en Finder"

    // The developer caches tool: Xcode's folders on the Mac, the developer tools'
    // caches elsewhere.
    std::string developerSidebarTitle; // "Limpieza Xcode"
    std::string developerTitle;        // "Limpieza de Xcode"
    std::string developerSubtitle;     // "Elimina DerivedData, simuladores y cachés de desarrollo"
    std::string developerConfirm;      // "¿Limpiar cachés de Xcode?"
    std::string developerCachesRegrow; // "Las cachés se eliminan definitivamente; Xcode las…"
    std::string developerKeptData;     // " contiene datos que Xcode NO regenera (…)…"
    std::string developerHint;         // the list's hint before the first scan

    // The Memory screen: the seventh figure's name ("Wired") and the optimise button's
    // answer when free memory did not grow.
    std::string wiredTitle;      // "Wired"
    std::string memoryUnchanged; // "Sin cambios: macOS ya gestiona la memoria de forma eficiente"
    // What starts with the session.
    std::string startupSubtitle; // "Administrá los agentes y daemons de inicio"
    std::string startupHint;     // the list's hint before the first listing
    std::string startupButton;   // "Eliminar Seleccionado"
    // The Downloads folder as the screen names it; empty: the real folder's own name.
    std::string downloadsFolderName; // "Downloads"
    // The Disk screen's figure for blocks kept for the administrator; empty: not shown.
    std::string reservedTitle;
    // The status line when the file manager did not answer a reveal or an information
    // window; empty: nothing is said.
    std::string fileManagerFailed;
};

const PlatformTexts& macTexts();
const PlatformTexts& linuxTexts();

} // namespace tidvale

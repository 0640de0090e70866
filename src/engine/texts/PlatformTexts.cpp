#include "engine/texts/PlatformTexts.h"

namespace tidvale {

const PlatformTexts& macTexts()
{
    static const PlatformTexts texts{"Listo para escanear tu Mac", "✅ Tu Mac está limpio",
        "Visualizá el uso del almacenamiento en tu Mac", "Mac Cleaner", "Mostrar en Finder",
        "Mostrar Original en Finder", "Abrir en Finder",
        // The developer caches tool.
        "Limpieza Xcode", "Limpieza de Xcode",
        "Elimina DerivedData, simuladores y cachés de desarrollo", "¿Limpiar cachés de Xcode?",
        "Las cachés se eliminan definitivamente; Xcode las regenerará cuando sea necesario.",
        " contiene datos que Xcode NO regenera (p. ej. dSYMs de versiones publicadas o tu "
        "propio código). Se moverá a la Papelera.",
        "Pulsa «Analizar» para medir lo que guardan Xcode y sus simuladores.",
        // Memory, startup items, Downloads, Disk, the file manager.
        "Wired", "Sin cambios: macOS ya gestiona la memoria de forma eficiente",
        "Administrá los agentes y daemons de inicio",
        "Pulsa «Cargar Elementos» para ver los agentes y daemons que se inician solos.",
        "Eliminar Seleccionado", "Downloads", "", ""};
    return texts;
}

const PlatformTexts& linuxTexts()
{
    static const PlatformTexts texts{"Listo para escanear tu equipo", "✅ Tu equipo está limpio",
        "Visualizá el uso del almacenamiento en tu equipo", "Limpieza del sistema",
        "Mostrar en la carpeta", "Mostrar Original en la carpeta", "Abrir en la carpeta",
        // The developer caches tool.
        "Limpieza de Desarrollo", "Limpieza de Desarrollo",
        "Elimina cachés de compiladores, gestores de paquetes e IDE",
        "¿Limpiar cachés de desarrollo?",
        "Las cachés se eliminan definitivamente; cada herramienta las regenerará cuando sea "
        "necesario.",
        " contiene datos que las herramientas NO regeneran sin conexión (p. ej. dependencias, "
        "imágenes de emulador o el historial local del IDE). Se moverá a la Papelera.",
        "Pulsa «Analizar» para medir lo que guardan las herramientas de desarrollo.",
        // Memory, startup items, Downloads, Disk, the file manager. Linux keeps no memory
        // to hand back: what is not in use holds the disk cache and is given to a
        // program the moment it asks, so nothing is forced out (that would only slow
        // the next reads).
        "No paginable",
        "Sin cambios: Linux ya usa la memoria libre como caché de disco y la cede en cuanto "
        "un programa la necesita",
        "Administrá los programas y servicios que se inician con tu sesión",
        "Pulsa «Cargar Elementos» para ver los programas y servicios que se inician con tu "
        "sesión.",
        "Desactivar Seleccionado", "", "Reservado para el sistema",
        "❌ No respondió ningún gestor de archivos: no se pudo abrir la carpeta."};
    return texts;
}

} // namespace tidvale

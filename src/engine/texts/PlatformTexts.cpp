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
        "Pulsa «Analizar» para medir lo que guardan Xcode y sus simuladores."};
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
        "Pulsa «Analizar» para medir lo que guardan las herramientas de desarrollo."};
    return texts;
}

} // namespace tidvale

#pragma once

#include <string>
#include <string_view>

namespace tidvale {

// The Spanish type description shown for an entry, from its name's extension:
// "Documento PDF", "Imagen PNG", "Carpeta" for a plain folder, "Aplicación" for an
// application bundle, "Alias" for a symbolic link, "Archivo" when nothing is known.
enum class EntryType { file, folder, link };
std::string kindOf(std::string_view name, EntryType type);

} // namespace tidvale

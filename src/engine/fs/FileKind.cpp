#include "engine/fs/FileKind.h"

#include "engine/fs/Packages.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace tidvale {
namespace {

using Kind = std::pair<std::string_view, std::string_view>;

// Sorted by extension for the binary search below.
constexpr Kind kFileKinds[] = {
    {"7z", "Archivo 7-Zip"},
    {"aac", "Audio AAC"},
    {"aif", "Audio AIFF"},
    {"aiff", "Audio AIFF"},
    {"avi", "Película AVI"},
    {"bmp", "Imagen BMP"},
    {"bz2", "Archivo bzip2"},
    {"c", "Código fuente C"},
    {"cpp", "Código fuente C++"},
    {"css", "Hoja de estilos CSS"},
    {"csv", "Documento CSV"},
    {"dmg", "Imagen de disco"},
    {"doc", "Documento de Microsoft Word"},
    {"docx", "Documento de Microsoft Word"},
    {"epub", "Libro EPUB"},
    {"exe", "Aplicación de Windows"},
    {"flac", "Audio FLAC"},
    {"gif", "Imagen GIF"},
    {"gz", "Archivo gzip"},
    {"h", "Archivo de cabecera C"},
    {"heic", "Imagen HEIF"},
    {"htm", "Documento HTML"},
    {"html", "Documento HTML"},
    {"ico", "Icono de Windows"},
    {"ics", "Evento de calendario"},
    {"iso", "Imagen de disco ISO"},
    {"jpeg", "Imagen JPEG"},
    {"jpg", "Imagen JPEG"},
    {"js", "Código fuente JavaScript"},
    {"json", "Documento JSON"},
    {"key", "Presentación de Keynote"},
    {"log", "Registro"},
    {"m4a", "Audio MPEG-4"},
    {"m4v", "Vídeo MPEG-4"},
    {"md", "Documento Markdown"},
    {"mkv", "Vídeo Matroska"},
    {"mov", "Película QuickTime"},
    {"mp3", "Audio MP3"},
    {"mp4", "Película MPEG-4"},
    {"numbers", "Hoja de cálculo de Numbers"},
    {"odp", "Presentación de OpenDocument"},
    {"ods", "Hoja de cálculo de OpenDocument"},
    {"odt", "Documento de OpenDocument"},
    {"ogg", "Audio Ogg"},
    {"pages", "Documento de Pages"},
    {"pdf", "Documento PDF"},
    {"pkg", "Paquete de instalación"},
    {"png", "Imagen PNG"},
    {"ppt", "Presentación de Microsoft PowerPoint"},
    {"pptx", "Presentación de Microsoft PowerPoint"},
    {"psd", "Imagen de Photoshop"},
    {"py", "Código fuente Python"},
    {"rar", "Archivo RAR"},
    {"rtf", "Documento RTF"},
    {"sh", "Script de shell"},
    {"svg", "Imagen SVG"},
    {"tar", "Archivo tar"},
    {"tgz", "Archivo gzip"},
    {"tif", "Imagen TIFF"},
    {"tiff", "Imagen TIFF"},
    {"torrent", "Archivo torrent"},
    {"txt", "Documento de texto"},
    {"wav", "Audio WAV"},
    {"webm", "Vídeo WebM"},
    {"webp", "Imagen WebP"},
    {"xls", "Libro de Microsoft Excel"},
    {"xlsx", "Libro de Microsoft Excel"},
    {"xml", "Documento XML"},
    {"xz", "Archivo xz"},
    {"zip", "Archivo ZIP"},
};

constexpr Kind kPackageKinds[] = {
    {"app", "Aplicación"},
    {"bundle", "Paquete"},
    {"framework", "Framework"},
    {"key", "Presentación de Keynote"},
    {"numbers", "Hoja de cálculo de Numbers"},
    {"pages", "Documento de Pages"},
    {"photoslibrary", "Biblioteca de Fotos"},
    {"rtfd", "Documento RTF con archivos adjuntos"},
    {"xcodeproj", "Proyecto de Xcode"},
};

std::string lowerExtension(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size())
        return {};
    std::string ext(name.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

template <size_t N> std::string_view lookup(const Kind (&table)[N], std::string_view ext)
{
    const auto it = std::lower_bound(std::begin(table), std::end(table), ext,
        [](const Kind& k, std::string_view e) { return k.first < e; });
    return it != std::end(table) && it->first == ext ? it->second : std::string_view{};
}

} // namespace

std::string kindOf(std::string_view name, EntryType type)
{
    if (type == EntryType::link)
        return "Alias";
    const std::string ext = lowerExtension(name);
    if (type == EntryType::folder) {
        if (!isPackageName(name))
            return "Carpeta";
        const auto kind = lookup(kPackageKinds, ext);
        return kind.empty() ? "Paquete" : std::string(kind);
    }
    const auto kind = lookup(kFileKinds, ext);
    return kind.empty() ? "Archivo" : std::string(kind);
}

} // namespace tidvale

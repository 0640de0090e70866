#include "engine/locations/linux/DeveloperCaches.h"

#include "engine/fs/PathText.h"
#include "engine/locations/linux/Folders.h"

#include <sys/stat.h>

#include <optional>

namespace tidvale::linuxdesk {
namespace {

class Paths {
public:
    Paths(const DesktopFolders& folders, const EnvironmentLookup& environment)
        : folders_(folders)
        , environment_(environment)
    {
    }

    // The row's folder itself from the first of `names` that holds a usable path: never
    // the home or a folder above it.
    std::string folder(std::initializer_list<const char*> names, std::string fallback) const
    {
        for (const char* name : names)
            if (auto value = usable(environment_(name));
                value && !isSameOrInside(folders_.home, *value))
                return *value;
        return fallback;
    }

    // A folder the row lies below (CARGO_HOME and the like, or GOPATH's first entry):
    // it may be the home itself.
    std::string parent(std::initializer_list<const char*> names, std::string fallback) const
    {
        for (const char* name : names)
            if (auto value = usable(environment_(name)))
                return *value;
        return fallback;
    }

    std::string home(const std::string& rel) const { return base() + rel; }
    std::string cache(const std::string& rel) const { return folders_.cacheHome + rel; }
    std::string data(const std::string& rel) const { return folders_.dataHome + rel; }

    // GOPATH is a list like PATH; Go keeps its modules under the first entry.
    std::string goPath() const
    {
        const std::string list = environment_("GOPATH");
        return usable(list.substr(0, list.find(':'))).value_or(home("/go"));
    }

private:
    static std::optional<std::string> usable(std::string value)
    {
        while (value.size() > 1 && value.back() == '/')
            value.pop_back();
        if (!isPlainAbsolutePath(value))
            return std::nullopt;
        return value;
    }

    std::string base() const { return folders_.home == "/" ? "" : folders_.home; }

    const DesktopFolders& folders_;
    const EnvironmentLookup& environment_;
};

bool exists(const std::string& path)
{
    struct stat st { };
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

std::vector<XcodeLocation> developerCaches(
    const DesktopFolders& folders, const EnvironmentLookup& environment)
{
    const Paths p(folders, environment);
    // ccache 4 keeps using the older ~/.ccache while it exists; there, as in a folder
    // CCACHE_DIR names, its settings file lives among the cached objects.
    const std::string legacyCcache = p.home("/.ccache");
    const std::string ccache
        = p.folder({"CCACHE_DIR"}, exists(legacyCcache) ? legacyCcache : p.cache("/ccache"));
    const std::string npm = p.parent({"npm_config_cache", "NPM_CONFIG_CACHE"}, p.home("/.npm"));
    const std::string pnpmHome = p.parent({"PNPM_HOME"}, p.data("/pnpm"));
    const std::string cargo = p.parent({"CARGO_HOME"}, p.home("/.cargo"));
    const std::string gradle = p.parent({"GRADLE_USER_HOME"}, p.home("/.gradle"));
    const std::string android
        = p.parent({"ANDROID_HOME", "ANDROID_SDK_ROOT"}, p.home("/Android/Sdk"));
    return {
        {"ccache", ccache, "Objetos compilados de C y C++", true, false, {"ccache.conf"}},
        {"pip", p.folder({"PIP_CACHE_DIR"}, p.cache("/pip")), "Paquetes de Python descargados",
            true},
        {"npm", npm + "/_cacache", "Paquetes de npm descargados", true},
        {"Yarn", p.folder({"YARN_CACHE_FOLDER"}, p.cache("/yarn")), "Paquetes de Yarn descargados",
            true},
        {"pnpm Store", pnpmHome + "/store", "Almacén de paquetes de pnpm", true},
        {"Go Build Cache", p.folder({"GOCACHE"}, p.cache("/go-build")),
            "Compilaciones de Go en caché", true},
        {"Go Modules", p.folder({"GOMODCACHE"}, p.goPath() + "/pkg/mod"),
            "Código fuente de módulos Go descargados", false, true},
        {"Cargo Registry", cargo + "/registry/cache", "Crates de Rust descargados", true},
        {"Cargo Sources", cargo + "/registry/src", "Código fuente de crates descomprimido", true},
        {"Cargo Git Checkouts", cargo + "/git/checkouts", "Dependencias git de Cargo", true},
        {"Gradle Caches", gradle + "/caches", "Dependencias y compilaciones en caché de Gradle",
            true},
        {"Maven Repository", p.home("/.m2/repository"), "Repositorio local de dependencias Maven",
            false},
        {"JetBrains", p.cache("/JetBrains"),
            "Índices y cachés de los IDE de JetBrains, con su historial local", false},
        {"Electron", p.folder({"electron_config_cache"}, p.cache("/electron")),
            "Versiones de Electron descargadas", true},
        {"node-gyp", p.folder({"npm_config_devdir", "NPM_CONFIG_DEVDIR"}, p.cache("/node-gyp")),
            "Cabeceras de Node.js para módulos nativos", true},
        {"Android System Images", android + "/system-images",
            "Imágenes de sistema del emulador de Android", false},
    };
}

} // namespace tidvale::linuxdesk

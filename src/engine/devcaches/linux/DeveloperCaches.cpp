#include "engine/devcaches/linux/DeveloperCaches.h"

#include "engine/fs/FolderGuard.h"

#include <sys/stat.h>

namespace tidvale::linuxdesk {
namespace {

// A folder a row is built on: where it is, and why nothing below it may be cleaned.
struct Place {
    std::string path;
    std::string refusal;
    Place below(const std::string& rel) const { return {(path == "/" ? "" : path) + rel, refusal}; }
};

class Places {
public:
    Places(const DesktopFolders& folders, const EnvironmentLookup& environment)
        : folders_(folders)
        , environment_(environment)
    {
    }

    // The first of `names` that is set to an absolute path, resolved and checked, else
    // the tool's default. A refused value is not replaced by the default: the tool
    // really uses that folder, so the row says why it stays instead.
    Place variable(std::initializer_list<const char*> names, Place fallback) const
    {
        for (const char* name : names) {
            std::string value = environment_(name);
            if (name == std::string_view("GOPATH"))
                value = value.substr(0, value.find(':')); // Go keeps modules under the first
            while (value.size() > 1 && value.back() == '/')
                value.pop_back();
            if (value.empty() || value.front() != '/')
                continue; // unset, or not a folder the tool could be sure of either
            const ClaimedFolder c = claimFolder(folders_.guarded, name, value);
            return {c.path, c.refusal};
        }
        return fallback;
    }

    Place home(const std::string& rel) const { return {base() + rel, {}}; }
    Place cache(const std::string& rel) const
    {
        return {folders_.cacheHome + rel, folders_.cacheRefusal};
    }
    Place data(const std::string& rel) const
    {
        return {folders_.dataHome + rel, folders_.dataRefusal};
    }

    // The row's folder as a removal would reach it must pass the guard too: a link on
    // the way (~/.cache pointing at the home) could lead a default anywhere.
    std::string refusalOf(const Place& place) const
    {
        if (!place.refusal.empty())
            return place.refusal;
        const auto entry = resolvedEntry(place.path);
        if (!entry)
            return place.path + " no se puede comprobar";
        const auto refusal = guardRefusal(folders_.guarded, *entry);
        return refusal ? *entry + " " + *refusal : std::string();
    }

private:
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
    const Places p(folders, environment);
    // ccache 4 keeps using the older ~/.ccache while it exists; there, as in a folder
    // CCACHE_DIR names, its settings file lives among the cached objects.
    const Place legacyCcache = p.home("/.ccache");
    const Place ccache
        = p.variable({"CCACHE_DIR"}, exists(legacyCcache.path) ? legacyCcache : p.cache("/ccache"));
    const Place npm = p.variable({"npm_config_cache", "NPM_CONFIG_CACHE"}, p.home("/.npm"));
    const Place pnpmHome = p.variable({"PNPM_HOME"}, p.data("/pnpm"));
    const Place cargo = p.variable({"CARGO_HOME"}, p.home("/.cargo"));
    const Place gradle = p.variable({"GRADLE_USER_HOME"}, p.home("/.gradle"));
    const Place android = p.variable({"ANDROID_HOME", "ANDROID_SDK_ROOT"}, p.home("/Android/Sdk"));
    const Place goModules
        = p.variable({"GOMODCACHE"}, p.variable({"GOPATH"}, p.home("/go")).below("/pkg/mod"));
    struct Row {
        const char* name;
        Place place;
        const char* desc;
        bool regenerable;
        CacheLayout layout;
    };
    const Row rows[] = {
        {"ccache", ccache, "Objetos compilados de C y C++", true, CacheLayout::ccache},
        {"pip", p.variable({"PIP_CACHE_DIR"}, p.cache("/pip")), "Paquetes de Python descargados",
            true, CacheLayout::pip},
        {"npm", npm.below("/_cacache"), "Paquetes de npm descargados", true, CacheLayout::npm},
        {"Yarn", p.variable({"YARN_CACHE_FOLDER"}, p.cache("/yarn")),
            "Paquetes de Yarn descargados", true, CacheLayout::yarn},
        {"pnpm Store", pnpmHome.below("/store"), "Almacén de paquetes de pnpm", true,
            CacheLayout::pnpm},
        {"Go Build Cache", p.variable({"GOCACHE"}, p.cache("/go-build")),
            "Compilaciones de Go en caché", true, CacheLayout::goBuild},
        {"Go Modules", goModules, "Código fuente de módulos Go descargados", false,
            CacheLayout::goModules},
        {"Cargo Registry", cargo.below("/registry/cache"), "Crates de Rust descargados", true,
            CacheLayout::cargoRegistry},
        {"Cargo Sources", cargo.below("/registry/src"), "Código fuente de crates descomprimido",
            true, CacheLayout::cargoRegistry},
        {"Cargo Git Checkouts", cargo.below("/git/checkouts"), "Dependencias git de Cargo", true,
            CacheLayout::cargoGit},
        {"Gradle Caches", gradle.below("/caches"),
            "Dependencias y compilaciones en caché de Gradle", true, CacheLayout::gradle},
        {"Maven Repository", p.home("/.m2/repository"), "Repositorio local de dependencias Maven",
            false, CacheLayout::maven},
        {"JetBrains", p.cache("/JetBrains"),
            "Índices y cachés de los IDE de JetBrains, con su historial local", false,
            CacheLayout::jetbrains},
        {"Electron", p.variable({"electron_config_cache"}, p.cache("/electron")),
            "Versiones de Electron descargadas", true, CacheLayout::electron},
        {"node-gyp", p.variable({"npm_config_devdir", "NPM_CONFIG_DEVDIR"}, p.cache("/node-gyp")),
            "Cabeceras de Node.js para módulos nativos", true, CacheLayout::nodeGyp},
        {"Android System Images", android.below("/system-images"),
            "Imágenes de sistema del emulador de Android", false, CacheLayout::androidImages},
    };
    std::vector<XcodeLocation> out;
    for (const Row& r : rows) {
        XcodeLocation location{r.name, r.place.path, r.desc, r.regenerable};
        location.readOnlyFolders = r.layout == CacheLayout::goModules;
        if (r.layout == CacheLayout::ccache)
            location.keep = {"ccache.conf"};
        location.layout = r.layout;
        location.refusal = p.refusalOf(r.place);
        out.push_back(std::move(location));
    }
    return out;
}

} // namespace tidvale::linuxdesk

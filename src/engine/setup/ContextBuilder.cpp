#include "engine/setup/ContextBuilder.h"

#include "engine/core/WorkPool.h"
#include "engine/desktop/PersonalPlaces.h"
#include "engine/fs/FolderGuard.h"
#include "engine/setup/Profiles.h"

#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include <string_view>
#include <vector>

extern char** environ;

namespace tidvale {
namespace {

std::string passwordDatabaseHome()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd pw{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) != 0 || !found || !found->pw_dir)
        return {};
    return found->pw_dir;
}

std::string withoutTrailingSlash(std::string p)
{
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

// Every variable, not a list of the ones followed today: a variable a listing starts
// to follow can then never be missing from its context.
Environment readEnvironment()
{
    Environment env;
    for (char** e = environ; e && *e; ++e) {
        const std::string_view entry(*e);
        if (const auto equals = entry.find('='); equals != std::string_view::npos)
            env.set(std::string(entry.substr(0, equals)), std::string(entry.substr(equals + 1)));
    }
    return env;
}

// The threads of every context of the process. Never destroyed, so jobs still running
// at exit never meet a dead pool.
WorkPool& processPool()
{
    static WorkPool* pool = makeMachinePool().release();
    return *pool;
}

// The system root is resolved like the home: a relative or dotted root would let a path
// such as "../r/Library/Caches/a" pass for one inside it.
std::string resolvedRoot(std::string root)
{
    if (root.empty())
        return root;
    if (root.front() != '/') {
        char here[PATH_MAX];
        root = std::string(::getcwd(here, sizeof here) ? here : "/") + "/" + root;
    }
    root = resolvedPath(root).value_or(root);
    while (!root.empty() && root.back() == '/')
        root.pop_back();
    return root;
}

} // namespace

Context buildContext(const ContextOptions& options)
{
    Context context;
    context.environment = readEnvironment();
    const Environment& env = context.environment;

    const Places* named = nullptr;
    if (const std::string name = env.get("TIDVALE_PROFILE"); !name.empty()) {
        named = placesNamed(name);
        if (!named && options.onUnknownProfile)
            options.onUnknownProfile(name);
    }
    context.places = options.places ? *options.places : named ? *named : platformPlaces();

    const std::string passwordHome = passwordDatabaseHome();
    if (const std::string home = env.get("HOME"); !home.empty())
        context.folders.home = withoutTrailingSlash(home);
    else
        context.folders.home = passwordHome.empty() ? "/" : withoutTrailingSlash(passwordHome);
    context.folders.realHome = passwordHome.empty() ? context.folders.home : passwordHome;
    context.folders.systemRoot = resolvedRoot(options.systemRoot);
    context.folders.personal = context.places.personal->folders(context.folders.realHome, env);

    if (options.backends)
        context.backends
            = options.backends([&env](std::string_view name) { return env.get(name); });
    context.pool = &processPool();
    context.clock = [] { return std::time(nullptr); };
    if (options.settings)
        context.settings = options.settings(context);
    return context;
}

} // namespace tidvale

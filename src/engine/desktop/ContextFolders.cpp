#include "engine/desktop/ContextFolders.h"

#include <unistd.h>

namespace tidvale {

linuxdesk::DesktopFolders desktopFoldersOf(const Context& context)
{
    const Environment& env = context.environment;
    return linuxdesk::desktopFolders(context.folders.home, getuid(), env.get("XDG_CACHE_HOME"),
        env.get("XDG_CONFIG_HOME"), env.get("XDG_DATA_HOME"), context.folders.systemRoot);
}

GuardedFolders macGuardedFoldersOf(const Context& context)
{
    const std::string& home = context.folders.home;
    return macGuardedFolders(resolvedPath(home).value_or(home), context.folders.systemRoot);
}

} // namespace tidvale

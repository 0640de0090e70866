#pragma once

namespace tidvale {

// How a developer tool lays out its cache, which a folder must match before anything
// in it is removed (see devcaches/CacheMarks.h).
enum class CacheLayout {
    any, // a fixed location of the system's own tool (Xcode's folders): not checked
    ccache,
    pip,
    npm,
    yarn,
    pnpm,
    goBuild,
    goModules,
    cargoRegistry, // registry/cache and registry/src: one folder per registry
    cargoGit,      // git/checkouts: one folder per repository
    gradle,
    maven,
    jetbrains,
    electron,
    nodeGyp,
    androidImages,
};

} // namespace tidvale

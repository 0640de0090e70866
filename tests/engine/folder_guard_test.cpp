// The one check every folder named by a variable or setting passes before anything in
// it may be removed: decided on where a path leads, never on how it is written.
#include "engine/fs/FolderGuard.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

using namespace tidvale;

TEST(FolderGuard, RefusesWhatHoldsTheUsersOwnFilesOrTheSystem)
{
    TestTree t;
    const std::string home = resolvedPath(t.dir("home")).value();
    const std::string docs = t.dir("home/Documentos");
    const GuardedFolders g
        = linuxGuardedFolders(home, {docs}, {home + "/.config"}, resolvedPath(t.root()).value());
    t.link("home/to-docs", docs);
    t.dir("home/.cache");
    const struct {
        std::string value;
        std::string refusal; // "" when the folder may be cleaned in
    } rows[] = {
        {"/", "es la raíz del sistema"},
        {home + "/", "es tu carpeta de inicio"},
        {home + "/Documentos/../.cache/..", "es tu carpeta de inicio"},
        {home + "/missing/..", "no se puede comprobar"},
        {t.root(), "contiene tu carpeta de inicio"},
        {home + "/to-docs", "es tu carpeta Documentos"},
        {docs + "/cache", "está dentro de tu carpeta Documentos"},
        {home + "/.config", "contiene " + home + "/.config"},
        {"/etc", "es una carpeta del sistema"},
        {"/var/cache", "es una carpeta del sistema"},
        {t.root() + "/etc", "es una carpeta del sistema"}, // the test root's copy too
        {"/usr/share/x", "está dentro de una carpeta del sistema (/usr)"},
        {home + "/.cache", ""},
        {home + "/.config/x", ""},
        {"/var/cache/ccache", ""}, // a shared tool cache is judged by its marks
        {"/data/cache", ""},
    };
    for (const auto& row : rows) {
        // ".." after a folder that is not there could lead anywhere.
        const auto resolved = resolvedPath(row.value);
        const auto why = resolved ? guardRefusal(g, *resolved) : "no se puede comprobar";
        EXPECT_EQ(why.value_or(""), row.refusal) << row.value;
    }
    // A desktop's own base folders may not lie among the machine's data, unless in the
    // home or a scratch folder.
    EXPECT_FALSE(claimFolder(g, "XDG_CACHE_HOME", "/var/lib/docker", true).accepted());
    EXPECT_TRUE(claimFolder(g, "XDG_CACHE_HOME", "/var/tmp/ana-cache", true).accepted());
    EXPECT_EQ(claimFolder(g, "XDG_CACHE_HOME", "rel", true).refusal,
        "XDG_CACHE_HOME=rel no se puede comprobar");
}

// A removal never enters a mount, bind mounts included, and never empties the volume
// an item is the mount point of. The mounts live in a private mount namespace of a
// child process, so they vanish with it.
#ifdef __linux__

#include "engine/fs/SafeRemove.h"

#include "support/MountNamespace.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

using namespace tidvale;

TEST(SafeRemoveMounts, MountsAreNeverEnteredNorEmptied)
{
    TestTree t;
    t.dir("tmpfsItem");
    t.file("outside/keep", 1);
    t.dir("bindItem");
    t.file("withBind/own", 1);
    t.dir("withBind/door");
    t.file("outside2/keep", 1);
    t.file("withTmpfs/own", 1);
    t.dir("withTmpfs/t");
    // The administrator helper's walk: a bind mount placed under the allowed folder
    // must not lead it to a folder that is nowhere on the allow-list.
    const std::string base = t.path("sys/Caches");
    t.dir("sys/Caches/bound");
    t.dir("sys/Caches/mounted");
    t.dir("sys/Caches/holder/door");
    t.file("sys/Caches/plain/x", 1);
    t.file("etc1/passwd", 1);
    t.file("etc2/keep", 1);
    t.file("etc3/keep", 1);
    auto found = withPrivateMounts([&]() -> ChildFindings {
        if (!mountTmpfs(t.path("tmpfsItem")) || !bindMount(t.path("outside"), t.path("bindItem"))
            || !bindMount(t.path("outside2"), t.path("withBind/door"))
            || !mountTmpfs(t.path("withTmpfs/t"))
            || !bindMount(t.path("etc1"), t.path("sys/Caches/bound"))
            || !bindMount(t.path("etc2"), t.path("sys/Caches/mounted"))
            || !bindMount(t.path("etc3"), t.path("sys/Caches/holder/door")))
            return kCannotMount;
        std::ofstream(t.path("tmpfsItem/f")) << "x";
        std::ofstream(t.path("withTmpfs/t/f")) << "x";
        ChildFindings out;
        // Each outcome as "error where", and whether what lies under the mount stayed.
        const auto remove = [&](const std::string& item, const std::string& under) {
            const RemoveOutcome o = removeItem(t.path(item));
            out[item] = std::to_string(o.error) + " " + o.where;
            out[item + " kept"] = t.exists(under) ? "yes" : "no";
        };
        // The item is itself a mount point: a tmpfs, or a bind mount of a folder of the
        // same disk (same device number as its parent).
        remove("tmpfsItem", "tmpfsItem/f");
        remove("bindItem", "outside/keep");
        // A mount inside the item: left alone, the item reported as not removed.
        remove("withBind", "withBind/door/keep");
        remove("withTmpfs", "withTmpfs/t/f");
        for (const char* rel : {"bound/passwd", "mounted", "holder", "plain"})
            out[rel] = std::to_string(removeItemBeneath(base, base + "/" + rel).error);
        return out;
    });
    SKIP_UNLESS_CHILD_RAN(found);
    const std::string mountPoint = std::to_string(kErrorMountPoint) + " ";
    EXPECT_TRUE(found["tmpfsItem"].starts_with(mountPoint)) << found["tmpfsItem"];
    EXPECT_TRUE(found["bindItem"].starts_with(mountPoint)) << found["bindItem"];
    EXPECT_EQ(found["withBind"], std::to_string(EXDEV) + " " + t.path("withBind/door"));
    EXPECT_TRUE(found["withTmpfs"].starts_with(std::to_string(EXDEV) + " "));
    for (const char* item : {"tmpfsItem", "bindItem", "withBind", "withTmpfs"})
        EXPECT_EQ(found[item + std::string(" kept")], "yes") << item;
    EXPECT_EQ(found["bound/passwd"], std::to_string(kErrorOtherVolume));
    EXPECT_EQ(found["mounted"], std::to_string(kErrorMountPoint));
    EXPECT_EQ(found["holder"], std::to_string(EXDEV));
    EXPECT_EQ(found["plain"], "0");
    // Seen from outside the namespace, the folders under the mounts were not touched.
    for (const char* kept :
        {"outside/keep", "outside2/keep", "etc1/passwd", "etc2/keep", "etc3/keep"})
        EXPECT_TRUE(t.exists(kept)) << kept;
    EXPECT_FALSE(t.exists("sys/Caches/plain"));
    EXPECT_EQ(describeRemoveError(kErrorMountPoint, t.path("bindItem")),
        "No se ha podido eliminar “bindItem” porque es un punto de montaje.");
}

#endif

// A removal never enters a mount, bind mounts included, and never empties the volume
// an item is the mount point of. The mounts live in a private mount namespace of a
// child process, so they vanish with it.
#ifdef __linux__

#include "engine/fs/SafeRemove.h"

#include "support/InChild.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <fstream>

using namespace tidvale;

namespace {

// Runs `body` where it may mount; says why not otherwise.
ChildFindings withPrivateMounts(const std::function<ChildFindings()>& body)
{
    return inChild([&]() -> ChildFindings {
        if (::unshare(CLONE_NEWNS) != 0
            || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return {{"skip", "no private mount namespace here"}};
        return body();
    });
}

bool mountTmpfs(const std::string& at)
{
    return ::mount("tidvale-test", at.c_str(), "tmpfs", 0, "size=1m") == 0;
}

bool bindMount(const std::string& from, const std::string& at)
{
    return ::mount(from.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

std::string yesNo(bool b)
{
    return b ? "yes" : "no";
}

} // namespace

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
    auto found = withPrivateMounts([&]() -> ChildFindings {
        if (!mountTmpfs(t.path("tmpfsItem")) || !bindMount(t.path("outside"), t.path("bindItem"))
            || !bindMount(t.path("outside2"), t.path("withBind/door"))
            || !mountTmpfs(t.path("withTmpfs/t")))
            return {{"skip", "mounting is not allowed here"}};
        std::ofstream(t.path("tmpfsItem/f")) << "x";
        std::ofstream(t.path("withTmpfs/t/f")) << "x";
        ChildFindings out;
        // The item is itself a mount point: a tmpfs, or a bind mount of a folder of
        // the same disk (same device number as its parent).
        out["tmpfsItem"] = std::to_string(removeItem(t.path("tmpfsItem")).error);
        out["tmpfsItemKept"] = yesNo(t.exists("tmpfsItem/f"));
        out["bindItem"] = std::to_string(removeItem(t.path("bindItem")).error);
        out["bindItemKept"] = yesNo(t.exists("outside/keep"));
        // A mount inside the item: left alone, the item reported as not removed.
        const RemoveOutcome withBind = removeItem(t.path("withBind"));
        out["withBind"] = std::to_string(withBind.error);
        out["withBindWhere"] = withBind.where;
        out["withBindKept"] = yesNo(t.exists("withBind/door/keep"));
        const RemoveOutcome withTmpfs = removeItem(t.path("withTmpfs"));
        out["withTmpfs"] = std::to_string(withTmpfs.error);
        out["withTmpfsKept"] = yesNo(t.exists("withTmpfs/t/f"));
        return out;
    });
    if (found.count("skip"))
        GTEST_SKIP() << found["skip"];
    ASSERT_FALSE(found.count("child")) << found["child"];
    EXPECT_EQ(found["tmpfsItem"], std::to_string(kErrorMountPoint));
    EXPECT_EQ(found["tmpfsItemKept"], "yes");
    EXPECT_EQ(found["bindItem"], std::to_string(kErrorMountPoint));
    EXPECT_EQ(found["bindItemKept"], "yes");
    EXPECT_EQ(found["withBind"], std::to_string(EXDEV));
    EXPECT_EQ(found["withBindWhere"], t.path("withBind/door"));
    EXPECT_EQ(found["withBindKept"], "yes");
    EXPECT_EQ(found["withTmpfs"], std::to_string(EXDEV));
    EXPECT_EQ(found["withTmpfsKept"], "yes");
    // Seen from outside the namespace, the folders under the mounts were not touched.
    EXPECT_TRUE(t.exists("outside/keep"));
    EXPECT_TRUE(t.exists("outside2/keep"));
    EXPECT_EQ(describeRemoveError(kErrorMountPoint, t.path("bindItem")),
        "No se ha podido eliminar “bindItem” porque es un punto de montaje.");
}

// The administrator helper's walk: a bind mount placed under the allowed folder
// must not lead it to a folder that is nowhere on the allow-list.
TEST(SafeRemoveMounts, BeneathStaysOnTheAllowedFoldersMount)
{
    TestTree t;
    t.dir("sys/Caches/bound");
    t.dir("sys/Caches/mounted");
    t.dir("sys/Caches/holder/door");
    t.file("sys/Caches/plain/x", 1);
    t.file("etc1/passwd", 1);
    t.file("etc2/keep", 1);
    t.file("etc3/keep", 1);
    const std::string base = t.path("sys/Caches");
    auto found = withPrivateMounts([&]() -> ChildFindings {
        if (!bindMount(t.path("etc1"), t.path("sys/Caches/bound"))
            || !bindMount(t.path("etc2"), t.path("sys/Caches/mounted"))
            || !bindMount(t.path("etc3"), t.path("sys/Caches/holder/door")))
            return {{"skip", "mounting is not allowed here"}};
        ChildFindings out;
        out["through"]
            = std::to_string(removeItemBeneath(base, t.path("sys/Caches/bound/passwd")).error);
        out["mountPoint"]
            = std::to_string(removeItemBeneath(base, t.path("sys/Caches/mounted")).error);
        out["inside"] = std::to_string(removeItemBeneath(base, t.path("sys/Caches/holder")).error);
        out["plain"] = std::to_string(removeItemBeneath(base, t.path("sys/Caches/plain")).error);
        return out;
    });
    if (found.count("skip"))
        GTEST_SKIP() << found["skip"];
    ASSERT_FALSE(found.count("child")) << found["child"];
    EXPECT_EQ(found["through"], std::to_string(kErrorOtherVolume));
    EXPECT_EQ(found["mountPoint"], std::to_string(kErrorMountPoint));
    EXPECT_EQ(found["inside"], std::to_string(EXDEV));
    EXPECT_EQ(found["plain"], "0");
    EXPECT_TRUE(t.exists("etc1/passwd"));
    EXPECT_TRUE(t.exists("etc2/keep"));
    EXPECT_TRUE(t.exists("etc3/keep"));
    EXPECT_FALSE(t.exists("sys/Caches/plain"));
}

#endif

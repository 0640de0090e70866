// Removing an item takes all of it and nothing else: never what a link leads to, a
// mount, or a folder swapped in while the removal runs.
#include "engine/fs/EntryIdentity.h"
#include "engine/fs/SafeRemove.h"

#include "support/InChild.h"
#include "support/MountNamespace.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

using namespace tidvale;

// Each clause of the volume check on its own: a bind mount keeps the device, so only
// the mount identity tells it apart, and a kernel that reports no mount falls back on
// the device alone.
TEST(SafeRemove, AnEntryIsOnTheVolumeOnlyWithItsDeviceItsMountAndNoMountRoot)
{
    const EntryIdentity volume{S_IFDIR, 0, 8, 2, 40, false};
    const struct {
        dev_t dev;
        uint64_t mount;
        bool mountRoot;
        bool onVolume;
    } rows[] = {
        {8, 40, false, true},  // same device, same mount
        {9, 40, false, false}, // another device
        {8, 41, false, false}, // a bind mount of the same device
        {8, 40, true, false},  // the root of a mount, even of this one
        {8, 0, false, true},   // no mount reported: the device decides
        {9, 0, false, false},
    };
    for (const auto& r : rows) {
        const EntryIdentity entry{S_IFREG, 0, r.dev, 7, r.mount, r.mountRoot};
        EXPECT_EQ(entry.onVolumeOf(volume), r.onVolume) << r.dev << " " << r.mount;
    }
    const EntryIdentity unreported{S_IFDIR, 0, 8, 2, 0, false};
    EXPECT_TRUE((EntryIdentity{S_IFREG, 0, 8, 7, 41, false}).onVolumeOf(unreported));
}

TEST(SafeRemove, RemovesTreesButNeverWhatLinksPointAt)
{
    TestTree t;
    t.file("outside/precious", 10);
    t.file("victim/a/b/c", 10);
    t.file("victim/.hidden", 1);
    t.link("victim/a/to-outside", t.path("outside"));
    t.link("victim/to-file", t.path("outside/precious"));
    t.link("victim/a/loop", t.path("victim"));
    t.link("alias", t.path("outside")); // a link given as the item is removed itself
    for (const char* item : {"victim", "alias"}) {
        EXPECT_TRUE(removeItem(t.path(item)).ok());
        EXPECT_FALSE(t.exists(item));
    }
    EXPECT_TRUE(t.exists("outside/precious"));
}

TEST(SafeRemove, MissingOrRefusedItemsAreReported)
{
    TestTree t;
    auto out = removeItem(t.path("nothing"));
    EXPECT_EQ(out.error, ENOENT);
    EXPECT_EQ(describeRemoveError(out.error, t.path("nothing")),
        "No se ha podido eliminar “nothing” porque no existe.");
    t.file("item/locked/x", 1);
    t.protect("item/locked");
    out = removeItem(t.path("item"));
    EXPECT_TRUE(out.error == EACCES || out.error == EPERM) << out.error;
    EXPECT_TRUE(t.exists("item/locked/x"));
}

// A folder of the item is swapped for a link to an outside folder between being
// examined and being opened: the link is never entered, and nothing outside goes.
TEST(SafeRemove, FolderSwappedForALinkMidWalkIsNeverEntered)
{
    TestTree t;
    t.file("item/sub/inner", 1);
    t.file("outside/keep", 1);
    bool swapped = false;
    setRemoveHookForTesting([&](const std::string& name) {
        if (name != "sub" || swapped)
            return;
        swapped = true;
        ASSERT_EQ(::rename(t.path("item/sub").c_str(), t.path("aside").c_str()), 0);
        t.link("item/sub", t.path("outside"));
    });
    removeItem(t.path("item"));
    setRemoveHookForTesting({});
    ASSERT_TRUE(swapped);
    EXPECT_TRUE(t.exists("outside/keep"));
}

TEST(SafeRemove, BeneathRefusesLinkedPathsAndDotDot)
{
    TestTree t;
    t.file("base/real/x", 1);
    t.file("elsewhere/y", 1);
    t.link("base/linked", t.path("elsewhere"));
    const int linked = removeItemBeneath(t.path("base"), t.path("base/linked/y")).error;
    EXPECT_TRUE(linked == ENOTDIR || linked == ELOOP) << linked;
    EXPECT_TRUE(t.exists("elsewhere/y"));
    EXPECT_EQ(removeItemBeneath(t.path("base"), t.path("base/../elsewhere/y")).error, EINVAL);
    EXPECT_EQ(removeItemBeneath(t.path("base"), t.path("base")).error, EINVAL);
    EXPECT_EQ(removeItemBeneath(t.path("base"), t.path("basement")).error, EINVAL);
    EXPECT_TRUE(removeItemBeneath(t.path("base"), t.path("base/real")).ok());
    EXPECT_FALSE(t.exists("base/real"));
    // The last component may itself be a link: it is unlinked, its target stays.
    EXPECT_TRUE(removeItemBeneath(t.path("base"), t.path("base/linked")).ok());
    EXPECT_TRUE(t.exists("elsewhere/y"));
}

// A folder of the item is swapped, between being examined and being opened, for
// another folder moved in from outside: that folder is not the one examined, so it is
// left whole and the item reported as changed.
TEST(SafeRemove, FolderSwappedForAnotherFolderIsLeftWhole)
{
    TestTree t;
    t.file("item/sub/inner", 1);
    t.file("item/other", 1);
    t.file("precious/keep", 1);
    bool swapped = false;
    setRemoveHookForTesting([&](const std::string& name) {
        if (name != "sub" || swapped)
            return;
        swapped = true;
        ASSERT_EQ(::rename(t.path("item/sub").c_str(), t.path("aside").c_str()), 0);
        ASSERT_EQ(::rename(t.path("precious").c_str(), t.path("item/sub").c_str()), 0);
    });
    const RemoveOutcome out = removeItem(t.path("item"));
    setRemoveHookForTesting({});
    ASSERT_TRUE(swapped);
    EXPECT_EQ(out.error, EAGAIN);
    EXPECT_EQ(out.where, t.path("item/sub"));
    EXPECT_TRUE(t.exists("item/sub/keep"));
    EXPECT_EQ(describeRemoveError(out.error, t.path("item")),
        "No se ha podido eliminar “item” porque cambió mientras se eliminaba.");
}

// Deeper than the folders kept open at once: the levels above are closed and found
// again through "..", where the entries beside the way down still have to go; an error
// deep down still names its whole path.
TEST(SafeRemove, VeryDeepTreesAndOddNamesGoWholeAndDeepErrorsNameTheirPath)
{
    TestTree t;
    t.file("deep/quote\"back\\slash\nnew line", 1);
    t.file("deep/\xff\xfe-invalid", 1);
    ASSERT_EQ(::mkfifo(t.path("deep/fifo").c_str(), 0600), 0);
    int fd = ::open(t.path("deep").c_str(), O_RDONLY | O_DIRECTORY);
    std::string expected = t.path("deep");
    for (int i = 0; i < 1500; ++i) { // several times the folders kept open at once
        ASSERT_EQ(::mkdirat(fd, "level", 0755), 0);
        ::close(::openat(fd, "side", O_CREAT | O_WRONLY, 0644));
        const int next = ::openat(fd, "level", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        expected += "/level";
    }
    ASSERT_EQ(::mkdirat(fd, "locked", 0755), 0);
    const int locked = ::openat(fd, "locked", O_RDONLY | O_DIRECTORY);
    ::close(fd);
    ::close(::openat(locked, "x", O_CREAT | O_WRONLY, 0644));
    int flags = 0;
    const bool immutable = ::ioctl(locked, FS_IOC_GETFLAGS, &flags) == 0
        && (flags |= FS_IMMUTABLE_FL, ::ioctl(locked, FS_IOC_SETFLAGS, &flags) == 0);
    if (immutable) {
        const RemoveOutcome out = removeItem(t.path("deep"));
        EXPECT_EQ(out.error, EPERM);
        EXPECT_EQ(out.where, expected + "/locked/x");
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(locked, FS_IOC_SETFLAGS, &flags);
    }
    ::close(locked);
    EXPECT_TRUE(removeItem(t.path("deep")).ok());
    EXPECT_FALSE(t.exists("deep"));
    if (!immutable)
        GTEST_SKIP() << "no immutable attribute here for the deep error";
}

TEST(SafeRemove, EveryErrorReadsInSpanish)
{
    for (int error = 1; error < 134; ++error) {
        const std::string text = describeRemoveError(error, "/a/b/name");
        EXPECT_TRUE(text.starts_with("No se ha podido eliminar “name” ")) << text;
        EXPECT_TRUE(text.ends_with(".")) << text;
        EXPECT_EQ(text.find(std::strerror(error)), std::string::npos) << text;
    }
    EXPECT_EQ(describeRemoveError(4242, "x"),
        "No se ha podido eliminar “x” por un error del sistema (código 4242).");
    EXPECT_EQ(describeRemoveError(ENOSPC, "/a/x/"),
        "No se ha podido eliminar “x” porque no queda espacio en el disco.");
}

// A user's own folders that they may not list or change are still their junk: the
// removal opens them up to their owner first (where `rm -rf` gives up on all but an
// empty one, as on "full000"), and leaves other people's folders as they are.
namespace {

constexpr uid_t kNobody = 65534;

// Each item, with the mode its locked folder gets once its contents are in place.
struct Locked {
    const char* item;
    const char* folder; // relative to the item's set
    mode_t mode;
};
const Locked kItems[] = {{"empty000", "empty000", 0000}, {"full000", "full000", 0000},
    {"wx0300", "wx0300", 0300}, {"rx0500", "rx0500", 0500}, {"nested", "nested/inner", 0000}};

void fill(TestTree& t, const std::string& set)
{
    t.dir(set + "/empty000");
    for (const char* item : {"full000", "wx0300", "rx0500"}) {
        t.file(set + "/" + item + "/f", 1);
        t.file(set + "/" + item + "/sub/g", 1);
    }
    t.file(set + "/nested/inner/deeper/f", 1);
    t.file(set + "/nested/own", 1);
}

void lock(TestTree& t, const std::string& set)
{
    for (const auto& l : kItems)
        ::chmod(t.path(set + "/" + l.folder).c_str(), l.mode);
}

} // namespace

TEST(SafeRemoveOwner, OwnLockedFoldersGoOthersStay)
{
    TestTree t;
    fill(t, "box/ours");
    t.file("box/ours/foreign/f", 1);
    const bool root = ::geteuid() == 0;
    if (root) {
        ::chmod(t.root().c_str(), 0755);
        for (const auto& e : std::filesystem::recursive_directory_iterator(t.path("box")))
            ::lchown(e.path().c_str(), kNobody, kNobody);
        ::lchown(t.path("box").c_str(), kNobody, kNobody);
        // Someone else's folder inside the user's tree: not theirs to open up.
        ::lchown(t.path("box/ours/foreign").c_str(), 0, 0);
        ::lchown(t.path("box/ours/foreign/f").c_str(), 0, 0);
        ::chmod(t.path("box/ours/foreign").c_str(), 0000);
    }
    lock(t, "box/ours");

    auto found = inChild([&]() -> ChildFindings {
        if (root
            && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            return {{"skip", "cannot drop to an unprivileged user"}};
        ChildFindings out;
        for (const auto& l : kItems) {
            const std::string item = "box/ours/" + std::string(l.item);
            const int error = removeItem(t.path(item)).error;
            out[l.item] = std::to_string(error) + (t.exists(item) ? " left" : "");
        }
        if (root)
            out["foreign"] = std::to_string(removeItem(t.path("box/ours/foreign")).error);
        return out;
    });
    SKIP_UNLESS_CHILD_RAN(found);
    for (const auto& l : kItems)
        EXPECT_EQ(found[l.item], "0") << l.item;
    if (root) {
        EXPECT_EQ(found["foreign"], std::to_string(EACCES));
        EXPECT_EQ(t.mode("box/ours/foreign"), 0u);
        EXPECT_TRUE(t.exists("box/ours/foreign/f"));
    }
}

#ifdef __linux__
// A removal never enters a mount, bind mounts included, and never empties the volume
// an item is the mount point of. The mounts live in a private mount namespace of a
// child process, so they vanish with it.
TEST(SafeRemoveMounts, MountsAreNeverEnteredNorEmptied)
{
    TestTree t;
    t.dir("tmpfsItem");
    t.file("outside/keep", 1);
    t.dir("bindItem");
    t.file("withBind/own", 1);
    t.dir("withBind/door");
    t.file("outside2/keep", 1);
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
            || !bindMount(t.path("etc1"), t.path("sys/Caches/bound"))
            || !bindMount(t.path("etc2"), t.path("sys/Caches/mounted"))
            || !bindMount(t.path("etc3"), t.path("sys/Caches/holder/door")))
            return kCannotMount;
        std::ofstream(t.path("tmpfsItem/f")) << "x";
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
        for (const char* rel : {"bound/passwd", "mounted", "holder", "plain"})
            out[rel] = std::to_string(removeItemBeneath(base, base + "/" + rel).error);
        return out;
    });
    SKIP_UNLESS_CHILD_RAN(found);
    const std::string mountPoint = std::to_string(kErrorMountPoint) + " ";
    EXPECT_TRUE(found["tmpfsItem"].starts_with(mountPoint)) << found["tmpfsItem"];
    EXPECT_TRUE(found["bindItem"].starts_with(mountPoint)) << found["bindItem"];
    EXPECT_EQ(found["withBind"], std::to_string(EXDEV) + " " + t.path("withBind/door"));
    for (const char* item : {"tmpfsItem", "bindItem", "withBind"})
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

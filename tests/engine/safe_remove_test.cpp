#include "engine/fs/SafeRemove.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

using namespace tidvale;

TEST(SafeRemove, RemovesTreesButNeverWhatLinksPointAt)
{
    TestTree t;
    t.file("outside/precious", 10);
    t.file("victim/a/b/c", 10);
    t.file("victim/.hidden", 1);
    t.link("victim/a/to-outside", t.path("outside"));
    t.link("victim/to-file", t.path("outside/precious"));
    t.link("victim/a/loop", t.path("victim"));
    EXPECT_TRUE(removeItem(t.path("victim")).ok());
    EXPECT_FALSE(t.exists("victim"));
    EXPECT_TRUE(t.exists("outside/precious"));

    // A link given as the item is removed itself.
    t.link("alias", t.path("outside"));
    EXPECT_TRUE(removeItem(t.path("alias")).ok());
    EXPECT_FALSE(t.exists("alias"));
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

// A folder inside the tree is swapped for a link to an outside folder again and again
// while the removal runs; whatever the timing, nothing outside may go.
TEST(SafeRemove, FolderSwappedForALinkMidWalkIsNeverEntered)
{
    TestTree t;
    for (int round = 0; round < 30; ++round) {
        t.file("outside/keep-" + std::to_string(round), 1);
        const std::string victim = "victim" + std::to_string(round);
        for (int i = 0; i < 200; ++i)
            t.file(victim + "/f" + std::to_string(i), 1);
        t.file(victim + "/sub/inner", 1);
        std::atomic<bool> stop{false};
        std::thread swapper([&] {
            const std::string sub = t.path(victim + "/sub");
            const std::string moved = t.path("moved-" + std::to_string(round));
            while (!stop) {
                if (::rename(sub.c_str(), moved.c_str()) == 0) {
                    ::symlink(t.path("outside").c_str(), sub.c_str());
                    ::unlink(sub.c_str());
                    ::rename(moved.c_str(), sub.c_str());
                }
            }
        });
        removeItem(t.path(victim));
        stop = true;
        swapper.join();
        EXPECT_TRUE(t.exists("outside/keep-" + std::to_string(round)));
    }
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

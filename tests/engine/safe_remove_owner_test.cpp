// A user's own folders that they may not list or change are still their junk: the
// removal opens them up to their owner first (where `rm -rf` gives up on all but an
// empty one), and leaves other people's folders as they are.
#include "engine/fs/SafeRemove.h"

#include "support/InChild.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <spawn.h>

#include <cerrno>
#include <filesystem>

extern char** environ;

using namespace tidvale;

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

int rmRf(const std::string& path)
{
    const char* argv[] = {"rm", "-rf", "--", path.c_str(), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "rm", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(SafeRemoveOwner, OwnLockedFoldersGoOthersStay)
{
    TestTree t;
    fill(t, "box/ours");
    fill(t, "box/rm");
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
    lock(t, "box/rm");

    auto found = inChild([&]() -> ChildFindings {
        if (root
            && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            return {{"skip", "cannot drop to an unprivileged user"}};
        // Each removal's outcome, and " left" when the item is still there afterwards.
        const auto after = [&](int error, const std::string& rel) {
            return std::to_string(error) + (t.exists(rel) ? " left" : "");
        };
        ChildFindings out;
        for (const auto& l : kItems) {
            const std::string item = l.item;
            out["ours/" + item]
                = after(removeItem(t.path("box/ours/" + item)).error, "box/ours/" + item);
            out["rm/" + item] = after(rmRf(t.path("box/rm/" + item)), "box/rm/" + item);
        }
        if (root)
            out["foreign"] = std::to_string(removeItem(t.path("box/ours/foreign")).error);
        return out;
    });
    SKIP_UNLESS_CHILD_RAN(found);
    for (const auto& l : kItems)
        EXPECT_EQ(found["ours/" + std::string(l.item)], "0") << l.item;
    // The reference: rm removes the empty unreadable folder, and no other.
    EXPECT_EQ(found["rm/empty000"], "0");
    for (const char* item : {"full000", "wx0300", "rx0500", "nested"}) {
        EXPECT_FALSE(found[std::string("rm/") + item].starts_with("0")) << item;
        EXPECT_TRUE(found[std::string("rm/") + item].ends_with(" left")) << item;
    }
    if (root) {
        EXPECT_EQ(found["foreign"], std::to_string(EACCES));
        EXPECT_EQ(t.mode("box/ours/foreign"), 0u);
        EXPECT_TRUE(t.exists("box/ours/foreign/f"));
    }
}

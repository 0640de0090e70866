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
const Locked kItems[] = {
    {"empty000", "empty000", 0000},
    {"full000", "full000", 0000},
    {"wx0300", "wx0300", 0300},
    {"rx0500", "rx0500", 0500},
    {"nested", "nested/inner", 0000},
};

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
        ChildFindings out;
        for (const auto& l : kItems) {
            const std::string item = l.item;
            out["ours/" + item] = std::to_string(removeItem(t.path("box/ours/" + item)).error);
            out["ours/" + item + "/left"] = t.exists("box/ours/" + item) ? "yes" : "no";
            out["rm/" + item] = std::to_string(rmRf(t.path("box/rm/" + item)));
            out["rm/" + item + "/left"] = t.exists("box/rm/" + item) ? "yes" : "no";
        }
        if (root)
            out["foreign"] = std::to_string(removeItem(t.path("box/ours/foreign")).error);
        return out;
    });
    if (found.count("skip"))
        GTEST_SKIP() << found["skip"];
    ASSERT_FALSE(found.count("child")) << found["child"];
    for (const auto& l : kItems) {
        const std::string item = l.item;
        EXPECT_EQ(found["ours/" + item], "0") << item;
        EXPECT_EQ(found["ours/" + item + "/left"], "no") << item;
    }
    // The reference: rm removes the empty unreadable folder, and no other.
    EXPECT_EQ(found["rm/empty000"], "0");
    EXPECT_EQ(found["rm/empty000/left"], "no");
    for (const char* item : {"full000", "wx0300", "rx0500", "nested"}) {
        EXPECT_NE(found[std::string("rm/") + item], "0") << item;
        EXPECT_EQ(found[std::string("rm/") + item + "/left"], "yes") << item;
    }
    if (root) {
        EXPECT_EQ(found["foreign"], std::to_string(EACCES));
        struct stat st { };
        ASSERT_EQ(::lstat(t.path("box/ours/foreign").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0u);
        EXPECT_TRUE(t.exists("box/ours/foreign/f"));
    }
}

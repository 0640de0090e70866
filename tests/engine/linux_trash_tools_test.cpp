// Checks the trash listing and removal against the desktop's own trash clients:
// what GIO's `gio trash` and trash-cli's `trash-put` put in must be listed under the
// names `trash-list` shows, and emptied so that `trash-list` shows nothing.
#ifdef __linux__

#include "engine/junk/linux/TrashEntries.h"
#include "engine/junk/linux/TrashFolders.h"

#include "support/RunTool.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

using namespace tidvale::linuxdesk;

namespace {

// HOME and XDG_DATA_HOME pointed at `home`, for the trash clients.
std::vector<std::string> homeEnv(const std::string& home)
{
    return {"HOME=" + home, "XDG_DATA_HOME=" + home + "/.local/share"};
}

// Lists `trash`, checks the names against those `trash-list` shows (one "date time
// path" line each), removes every entry and checks nothing is left; returns what went
// wrong, empty when all did as expected.
std::string emptyAndCheck(const std::string& trash, const std::string& home, size_t expected)
{
    const auto trashList = [&] {
        std::vector<std::string> names;
        std::istringstream lines(runTool({"trash-list"}, homeEnv(home)).out);
        for (std::string line; std::getline(lines, line);)
            if (line.size() > 20)
                names.push_back(std::filesystem::path(line.substr(20)).filename());
        std::sort(names.begin(), names.end());
        return names;
    };
    std::string faults;
    std::vector<std::string> names;
    for (const auto& c : listTrashEntries(trash))
        names.push_back(c.name);
    std::sort(names.begin(), names.end());
    if (names.size() != expected)
        faults += "listed " + std::to_string(names.size()) + " entries, not "
            + std::to_string(expected) + "\n";
    const bool reference = hasTool("trash-list");
    if (reference && trashList() != names)
        faults += "names differ from trash-list's:\n" + runTool({"trash-list"}, homeEnv(home)).out;
    for (const auto& c : listTrashEntries(trash))
        if (!removeTrashEntry(c.path).ok())
            faults += "could not remove " + c.path + "\n";
    if (const auto left = reference ? runTool({"trash-list"}, homeEnv(home)).out : "";
        !left.empty())
        faults += "trash-list still shows:\n" + left;
    for (const char* half : {"/files", "/info"}) {
        std::error_code ec;
        if (!std::filesystem::is_empty(trash + half, ec) && !ec)
            faults += std::string(half) + " is not empty\n";
    }
    return faults;
}

} // namespace

TEST(LinuxTrashTools, EmptiesWhatGioAndTrashCliPutInTheHomeTrash)
{
    const bool gio = hasTool("gio"), trashCli = hasTool("trash-put");
    if (!gio && !trashCli)
        GTEST_SKIP() << "neither gio nor trash-put is installed";
    TestTree t;
    const std::string home = t.dir("home");
    t.file("big/inside/data", 100000);
    size_t trashed = 0;
    for (const bool useGio : {true, false}) {
        if (useGio ? !gio : !trashCli)
            continue;
        const std::string tag = useGio ? "gio" : "cli";
        t.file("home/a b " + tag + ".txt", 10);
        t.file("home/caf\xc3\xa9 100% " + tag, 10);
        t.file("home/q\"uo\\te $x [" + tag + "]", 10);
        t.file("home/carpeta " + tag + "/sub/f", 10);
        t.link("home/enlace " + tag, t.path("big"));
        t.file("home/same name.txt", 10); // trashed once by each tool
        for (const std::string& rel :
            {"a b " + tag + ".txt", "caf\xc3\xa9 100% " + tag, "q\"uo\\te $x [" + tag + "]",
                "carpeta " + tag, "enlace " + tag, std::string("same name.txt")}) {
            std::vector<std::string> args = useGio ? std::vector<std::string>{"gio", "trash"}
                                                   : std::vector<std::string>{"trash-put"};
            args.push_back(t.path("home/" + rel));
            ASSERT_EQ(runTool(args, homeEnv(home)).status, 0) << args[0] << " " << rel;
            ASSERT_FALSE(t.exists("home/" + rel));
            ++trashed;
        }
    }
    const std::string trash
        = trashFolders(home, home + "/.local/share", readFile("/proc/self/mountinfo"), ::getuid())
              .front();
    EXPECT_EQ(trash, home + "/.local/share/Trash");
    EXPECT_EQ(emptyAndCheck(trash, home, trashed), "");
    EXPECT_TRUE(t.exists("big/inside/data"));
}

#endif

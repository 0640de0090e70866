// Checks the trash listing and removal against the desktop's own trash clients:
// what GIO's `gio trash` and trash-cli's `trash-put` put in must be listed under the
// names `trash-list` shows, and emptied so that `trash-list` shows nothing.
#ifdef __linux__

#include "engine/locations/linux/TrashEntries.h"
#include "engine/locations/linux/TrashFolders.h"

#include "support/RunTool.h"
#include "support/TestTree.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace tidvale::linuxdesk;

namespace {

// HOME and XDG_DATA_HOME pointed at `home`, for the trash clients.
std::vector<std::string> homeEnv(const std::string& home)
{
    return {"HOME=" + home, "XDG_DATA_HOME=" + home + "/.local/share"};
}

// The original names `trash-list` shows, one per "date time path" line.
std::vector<std::string> trashListNames(const std::string& home)
{
    std::vector<std::string> names;
    std::istringstream lines(runTool({"trash-list"}, homeEnv(home)).out);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 20)
            names.push_back(std::filesystem::path(line.substr(20)).filename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> listedNames(const std::string& trash)
{
    std::vector<std::string> names;
    for (const auto& c : listTrashEntries(trash))
        names.push_back(c.name);
    std::sort(names.begin(), names.end());
    return names;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Lists `trash`, checks the names against `trash-list`, removes every entry and
// checks nothing is left; returns what went wrong, empty when all did as expected.
std::string emptyAndCheck(const std::string& trash, const std::string& home, size_t expected)
{
    std::string faults;
    const auto names = listedNames(trash);
    if (names.size() != expected)
        faults += "listed " + std::to_string(names.size()) + " entries, expected "
            + std::to_string(expected) + "\n";
    if (hasTool("trash-list") && trashListNames(home) != names)
        faults += "names differ from trash-list's:\n" + runTool({"trash-list"}, homeEnv(home)).out;
    for (const auto& c : listTrashEntries(trash)) {
        if (!tidvale::linuxdesk::removeTrashEntry(c.path).ok())
            faults += "could not remove " + c.path + "\n";
    }
    if (hasTool("trash-list") && !runTool({"trash-list"}, homeEnv(home)).out.empty())
        faults += "trash-list still shows:\n" + runTool({"trash-list"}, homeEnv(home)).out;
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
    auto put = [&](const std::vector<std::string>& argv, const std::string& rel) {
        std::vector<std::string> args = argv;
        args.push_back(t.path("home/" + rel));
        ASSERT_EQ(runTool(args, homeEnv(home)).status, 0) << args[0] << " " << rel;
        ASSERT_FALSE(t.exists("home/" + rel));
        ++trashed;
    };
    for (const bool useGio : {true, false}) {
        if (useGio ? !gio : !trashCli)
            continue;
        const std::vector<std::string> tool = useGio ? std::vector<std::string>{"gio", "trash"}
                                                     : std::vector<std::string>{"trash-put"};
        const std::string tag = useGio ? "gio" : "cli";
        t.file("home/a b " + tag + ".txt", 10);
        t.file("home/caf\xc3\xa9 100% " + tag, 10);
        t.file("home/q\"uo\\te $x [" + tag + "]", 10);
        t.file("home/carpeta " + tag + "/sub/f", 10);
        t.link("home/enlace " + tag, t.path("big"));
        t.file("home/same name.txt", 10); // trashed once by each tool
        for (const std::string& rel :
            {"a b " + tag + ".txt", "caf\xc3\xa9 100% " + tag, "q\"uo\\te $x [" + tag + "]",
                "carpeta " + tag, "enlace " + tag, std::string("same name.txt")})
            put(tool, rel);
    }
    const std::string trash
        = trashFolders(home, home + "/.local/share", readAll("/proc/self/mountinfo"), ::getuid())
              .front();
    EXPECT_EQ(trash, home + "/.local/share/Trash");
    EXPECT_EQ(emptyAndCheck(trash, home, trashed), "");
    EXPECT_TRUE(t.exists("big/inside/data"));
}

// A volume's trash holds paths relative to its top; the volume is mounted in a
// private mount namespace so nothing outside the test sees it.
TEST(LinuxTrashTools, EmptiesVolumeTrashesOfMountedFileSystems)
{
    if (!hasTool("trash-put") && !hasTool("gio"))
        GTEST_SKIP() << "neither gio nor trash-put is installed";
    TestTree t;
    const std::string home = t.dir("home");
    const std::string tmpfs = t.dir("tmpfs"), ext4 = t.dir("ext4");
    int report[2];
    ASSERT_EQ(::pipe2(report, O_CLOEXEC), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::string faults;
        if (::unshare(CLONE_NEWNS) != 0
            || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            faults = "no private mount namespace here";
            (void)!::write(report[1], faults.data(), faults.size());
            ::_exit(77);
        }
        const std::string id = std::to_string(::getuid());
        int volumes = 0;
        auto check = [&](const std::string& topdir, size_t expected) {
            ++volumes;
            const auto folders
                = trashFolders(home, "", readAll("/proc/self/mountinfo"), ::getuid());
            const std::string trash = topdir + "/.Trash-" + id;
            if (std::find(folders.begin(), folders.end(), trash) == folders.end())
                faults += trash + " is not among the trash folders\n";
            faults += emptyAndCheck(trash, home, expected);
        };
        // GIO will not trash on a tmpfs (a system-internal mount for it); trash-cli will.
        if (hasTool("trash-put") && ::mount("tidvale", tmpfs.c_str(), "tmpfs", 0, "size=4m") == 0) {
            std::filesystem::create_directories(tmpfs + "/carpeta/sub");
            std::ofstream(tmpfs + "/carpeta/sub/f") << "x";
            std::ofstream(tmpfs + "/caf\xc3\xa9 a%b") << "x";
            for (const std::string name : {"carpeta", "caf\xc3\xa9 a%b"}) {
                if (runTool({"trash-put", tmpfs + "/" + name}, homeEnv(home)).status != 0)
                    faults += "trash-put failed on " + name + "\n";
            }
            check(tmpfs, 2);
        }
        const std::string image = t.path("ext4.img");
        std::ofstream(image).close();
        if (hasTool("gio") && hasTool("mkfs.ext4") && ::truncate(image.c_str(), 8 << 20) == 0
            && runTool({"mkfs.ext4", "-q", "-F", image}).status == 0
            && runTool({"mount", "-o", "loop", image, ext4}).status == 0) {
            std::filesystem::create_directories(ext4 + "/carpeta/sub");
            std::ofstream(ext4 + "/carpeta/sub/f") << "x";
            std::ofstream(ext4 + "/x y") << "x";
            for (const std::string name : {"carpeta", "x y"}) {
                if (runTool({"gio", "trash", ext4 + "/" + name}, homeEnv(home)).status != 0)
                    faults += "gio trash failed on " + name + "\n";
            }
            check(ext4, 2);
        }
        if (volumes == 0)
            faults = "could not mount a volume to trash on";
        (void)!::write(report[1], faults.data(), faults.size());
        ::_exit(volumes == 0 ? 77 : faults.empty() ? 0 : 1);
    }
    ::close(report[1]);
    std::string message;
    char buf[4096];
    for (ssize_t n; (n = ::read(report[0], buf, sizeof buf)) > 0;)
        message.append(buf, static_cast<size_t>(n));
    ::close(report[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << message;
    EXPECT_EQ(WEXITSTATUS(status), 0) << message;
}

#endif

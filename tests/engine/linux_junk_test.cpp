// What a Linux desktop's junk scan lists from caches and logs, and what the administrator
// helper's second look lets it remove.
#include "engine/fs/FolderFd.h"
#include "engine/fs/MountPoint.h"
#include "engine/junk/linux/SystemCaches.h"
#include "engine/junk/linux/SystemLogs.h"
#include "engine/junk/linux/UserCaches.h"
#include "engine/junk/linux/UserLogs.h"

#include "support/MountNamespace.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

std::map<std::string, std::string> byName(const std::vector<JunkCandidate>& list)
{
    std::map<std::string, std::string> out;
    for (const auto& c : list)
        out[c.name] = c.path;
    return out;
}

DesktopFolders foldersIn(const TestTree& t)
{
    return desktopFolders(t.path("home"), ::geteuid(), "", "", "");
}

void giveAway(const std::string& path)
{
    ASSERT_EQ(::lchown(path.c_str(), 65534, 65534), 0) << "tests run as root here";
}

} // namespace

TEST(LinuxDesktopFolders, XdgValuesMustBeAbsolute)
{
    auto f = desktopFolders("/home/ana/", 1000, "/var/tmp/cache//", "rel/config", "");
    EXPECT_EQ(f.home, "/home/ana");
    EXPECT_EQ(f.cacheHome, "/var/tmp/cache");
    EXPECT_EQ(f.configHome, "/home/ana/.config");
    EXPECT_EQ(f.dataHome, "/home/ana/.local/share");
}

// Every own entry of the cache folder but the kept ones, and one entry per Flatpak
// application that has a cache.
TEST(LinuxUserCaches, ListsEveryOwnEntryButTheKeptOnes)
{
    TestTree t;
    const auto f = foldersIn(t);
    t.dir("home/.cache/thumbnails");
    t.file("home/.cache/.fr-abc", 10);
    t.dir("home/.cache/mozilla/firefox");
    t.dir("home/.cache/ibus");
    t.file("home/.cache/plasma_theme_breeze.kcache", 10);
    t.file("home/.cache/plasma_theme_breeze.kcache.bak", 10); // the glob spans the whole name
    t.dir("home/.cache/huggingface");
    t.dir("home/.cache/rclone/vfs/remote"); // files written to a mount, not uploaded yet
    t.link("home/.cache/elsewhere", "/usr");
    giveAway(t.dir("home/.cache/root-made"));
    t.file("home/.var/app/org.gnome.Maps/cache/tiles/a", 10);
    t.dir("home/.var/app/org.gnome.Calculator/config"); // no cache folder
    t.dir("home/.var/app/com.spotify.Client/cache/spotify/Storage");
    t.dir("outside/cache");
    t.link("home/.var/app/org.example.Linked", t.path("outside"));
    giveAway(t.dir("home/.var/app/org.example.Foreign/cache"));

    EXPECT_EQ(byName(listUserCaches(f)),
        (std::map<std::string, std::string>{{"thumbnails", t.path("home/.cache/thumbnails")},
            {".fr-abc", t.path("home/.cache/.fr-abc")}, {"mozilla", t.path("home/.cache/mozilla")},
            {"plasma_theme_breeze.kcache.bak",
                t.path("home/.cache/plasma_theme_breeze.kcache.bak")},
            {"elsewhere", t.path("home/.cache/elsewhere")},
            {"org.gnome.Maps", t.path("home/.var/app/org.gnome.Maps/cache")}}));
}

#ifdef __linux__
TEST(LinuxUserCaches, MountPointsAreNeverListedNorCrossedInto)
{
    TestTree t;
    const auto f = foldersIn(t);
    t.dir("home/.cache/portal");
    t.dir("home/.cache/bound");
    t.dir("home/.cache/plain");
    t.file("source/x", 1);
    auto found = withPrivateMounts([&]() -> ChildFindings {
        if (!mountTmpfs(t.path("home/.cache/portal"))
            || !bindMount(t.path("source"), t.path("home/.cache/bound")))
            return kCannotMount;
        FolderFd cache = openGivenFolder(f.cacheHome);
        ChildFindings out;
        // A bind mount of the same file system keeps the device: only the mount
        // identity tells it apart.
        for (const char* name : {"portal", "bound", "plain", "missing"})
            out[name] = isMountPoint(cache.get(), name) ? "mount" : "plain";
        for (const auto& [name, path] : byName(listUserCaches(f)))
            out["listed"] += name + " ";
        return out;
    });
    SKIP_UNLESS_CHILD_RAN(found);
    EXPECT_EQ(found["portal"], "mount");
    EXPECT_EQ(found["bound"], "mount");
    EXPECT_EQ(found["plain"], "plain");
    EXPECT_EQ(found["missing"], "mount"); // what cannot be looked at is never entered
    EXPECT_EQ(found["listed"], "plain ");
}
#endif

class LinuxSystemCaches : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.file("var/cache/apt/archives/firefox-esr_153.8.0esr-1_amd64.deb", 100);
        t.file("var/cache/apt/archives/lock", 0);
        t.file("var/cache/apt/archives/notes.txt", 10);
        t.dir("var/cache/apt/archives/folder.deb");
        t.link("var/cache/apt/archives/linked.deb", "/etc/passwd");
        t.file("var/cache/apt/archives/partial/chromium_156_amd64.deb.FAILED", 10);
        t.file("var/cache/apt/archives/partial/lock", 0);
        t.dir("var/cache/apt/archives/partial/sub");
        t.file("var/cache/debconf/config.dat", 10);
    }
    std::string archives(const std::string& rest) const
    {
        return t.path("var/cache/apt/archives") + rest;
    }
    TestTree t;
};

TEST_F(LinuxSystemCaches, OnlyDownloadedPackagesAndUnfinishedDownloadsNeverWhileLocked)
{
    EXPECT_EQ(byName(listSystemCaches(t.root() + "/")),
        (std::map<std::string, std::string>{
            {"firefox-esr_153.8.0esr-1_amd64.deb", archives("/firefox-esr_153.8.0esr-1_amd64.deb")},
            {"partial/chromium_156_amd64.deb.FAILED",
                archives("/partial/chromium_156_amd64.deb.FAILED")}}));
    EXPECT_FALSE(aptArchivesLocked(t.root()));
    // An open-file-description lock conflicts even with this process's own probe, as a
    // running apt's lock would.
    int fd = ::open(archives("/lock").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    struct flock hold { };
    hold.l_type = F_WRLCK;
    hold.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &hold), 0);
    EXPECT_TRUE(aptArchivesLocked(t.root()));
    EXPECT_TRUE(listSystemCaches(t.root()).empty());
    EXPECT_FALSE(isSystemCacheDeletable(t.root(), archives("/firefox-esr_153.8.0esr-1_amd64.deb")));
    // Taken after the listing, the lock still stops the direct removal.
    const std::string deb = archives("/firefox-esr_153.8.0esr-1_amd64.deb");
    EXPECT_EQ(removeSystemCache(t.root(), deb).error, kErrorPackageManagerBusy);
    EXPECT_TRUE(t.exists("var/cache/apt/archives/firefox-esr_153.8.0esr-1_amd64.deb"));
    ::close(fd);
    EXPECT_EQ(listSystemCaches(t.root()).size(), 2u);
    EXPECT_EQ(removeSystemCache(t.root(), deb).freed, 100);
    EXPECT_FALSE(t.exists("var/cache/apt/archives/firefox-esr_153.8.0esr-1_amd64.deb"));
}

TEST_F(LinuxSystemCaches, HelperRecheckAcceptsOnlyWhatTheListingGives)
{
    const std::string root = t.root();
    EXPECT_TRUE(isSystemCacheDeletable(root, archives("/firefox-esr_153.8.0esr-1_amd64.deb")));
    EXPECT_TRUE(isSystemCacheDeletable(root, archives("/partial/chromium_156_amd64.deb.FAILED")));
    for (const std::string& refused : {archives(""), archives("/"), archives("/partial"),
             archives("/lock"), archives("/partial/sub"), archives("/notes.txt"),
             archives("/folder.deb"), archives("/linked.deb"), archives("/gone.deb"),
             archives("//firefox-esr_153.8.0esr-1_amd64.deb"),
             archives("/partial/../firefox-esr_153.8.0esr-1_amd64.deb"),
             t.path("var/cache/debconf/config.dat"),
             std::string("/var/cache/apt/archives/firefox-esr_153.8.0esr-1_amd64.deb"),
             std::string("firefox-esr_153.8.0esr-1_amd64.deb")})
        EXPECT_FALSE(isSystemCacheDeletable(root, refused)) << refused;
}

TEST(LinuxLogNames, OnlyNamesThatSayTheLogIsNoLongerWritten)
{
    for (const char* rotated :
        {"syslog.1", "syslog.0", "kern.log.12.xz", "messages-20240131.gz", "Xorg.0.log.old",
            "btmp.1.gz", "user-1000@0005f3e2a1b0c9d8-fedcba9876543210.journal", "system.journal~"})
        EXPECT_TRUE(isRotatedLogName(rotated)) << rotated;
    for (const char* live : {"syslog", "system.journal", "user-1000.journal", "wtmp",
             "mysql-bin.000001", "syslog.01", "syslog.1000", "log.192.168.1.5", "messages-20241341",
             "backup-12345678", "archive.gz", "syslog.1.gz.tmp", ".1", "@.journal", ""})
        EXPECT_FALSE(isRotatedLogName(live)) << live;
}

class LinuxSystemLogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.file("var/log/syslog", 10);
        t.file("var/log/syslog.1", 10);
        t.file("var/log/apt/history.log", 10);
        t.file("var/log/apt/history.log.1.gz", 10);
        t.file("var/log/installer/syslog.1", 10);
        t.file("var/log/journal/abc/system.journal", 10);
        t.file("var/log/journal/abc/system@0001-0002.journal", 10);
        t.file("var/log/mysql/mysql-bin.000001", 10);
        t.file("var/log/wtmp", 10);
        t.file("var/log/wtmp.1", 10);
        t.dir("var/log/sssd.1"); // a folder is never a log, but what it holds may be
        t.file("var/log/sssd.1/sssd.log.2", 10);
        t.link("var/log/kern.log.1", "/etc/shadow");
        t.file("outside/secrets.1", 10);
        t.link("var/log/linked", t.path("outside"));
        t.file("var/crash/_usr_bin_foo.1000.crash", 10);
        t.file("var/crash/kexec_cmd", 10);
        t.file("var/lib/systemd/coredump/core.bash.1000.b00t.42.1700000000000000.zst", 10);
        t.file("var/lib/systemd/coredump/.#core.bash.tmp", 10);
    }
    TestTree t;
    // Two hours on: the files made above are no longer being written.
    const LogClock later = LogClock::at(std::time(nullptr) + 2 * 3600);
};

// The listing, and the administrator helper's second look, which takes what the
// listing gives and nothing else.
TEST_F(LinuxSystemLogs, RotatedFilesAtAnyDepthAndCrashReportsAndTheHelpersRecheck)
{
    const auto listed = byName(listSystemLogs(t.root(), later));
    EXPECT_EQ(listed,
        (std::map<std::string, std::string>{{"syslog.1", t.path("var/log/syslog.1")},
            {"apt/history.log.1.gz", t.path("var/log/apt/history.log.1.gz")},
            {"installer/syslog.1", t.path("var/log/installer/syslog.1")},
            {"journal/abc/system@0001-0002.journal",
                t.path("var/log/journal/abc/system@0001-0002.journal")},
            {"wtmp.1", t.path("var/log/wtmp.1")},
            {"sssd.1/sssd.log.2", t.path("var/log/sssd.1/sssd.log.2")},
            {"/var/crash/_usr_bin_foo.1000.crash", t.path("var/crash/_usr_bin_foo.1000.crash")},
            {"/var/lib/systemd/coredump/core.bash.1000.b00t.42.1700000000000000.zst",
                t.path("var/lib/systemd/coredump/core.bash.1000.b00t.42.1700000000000000.zst")}}));
    for (const auto& [name, path] : listed)
        EXPECT_TRUE(isSystemLogDeletable(t.root(), path, later)) << name;
    for (const std::string& refused :
        {t.path("var/log"), t.path("var/log/syslog"), t.path("var/log/sssd.1"),
            t.path("var/log/kern.log.1"), t.path("var/log/linked/secrets.1"),
            t.path("var/log/gone.1"), t.path("var/log/apt/../syslog.1"),
            t.path("var/crash/kexec_cmd"), t.path("var/lib/systemd/coredump/.#core.bash.tmp"),
            t.path("outside/secrets.1"), std::string("/var/log/syslog.1")})
        EXPECT_FALSE(isSystemLogDeletable(t.root(), refused, later)) << refused;
}

// A log still being written is left, whatever its name: dated today or later, changed
// in the last hour, or held open by a process.
TEST_F(LinuxSystemLogs, LiveLogsAreLeftHoweverRotatedTheirNameLooks)
{
    const std::string today = std::to_string(later.today);
    t.file("var/log/app-" + today, 10);
    t.file("var/log/app-" + std::to_string(later.today + 10000) + ".gz", 10); // next year
    t.file("var/log/held.log.1", 10);
    const std::string held = t.path("var/log/held.log.1");
    const int fd = ::open(held.c_str(), O_RDONLY);
    const auto names = byName(listSystemLogs(t.root(), later));
    EXPECT_FALSE(isSystemLogDeletable(t.root(), held, later));
    ::close(fd);
    EXPECT_EQ(names.size(), 8u); // the fixture's, none of these
    EXPECT_TRUE(isSystemLogDeletable(t.root(), held, later));
    EXPECT_FALSE(isSystemLogDeletable(t.root(), t.path("var/log/app-" + today), later));
    // The hour after a change: the same file, listed only once it has rested.
    EXPECT_TRUE(byName(listSystemLogs(t.root(), LogClock::at(std::time(nullptr)))).empty());
}

#ifdef __linux__
TEST_F(LinuxSystemLogs, UnreadableFoldersAndMountPointsAreSkipped)
{
    // Root reads everything, so the walk runs as nobody; a mounted folder must not be
    // entered even though it holds a rotated name.
    ::chmod(t.root().c_str(), 0755);
    ::chmod(t.dir("var/log/private").c_str(), 0700);
    t.file("var/log/private/secret.log.1", 10);
    t.dir("var/log/mounted");
    auto found = withPrivateMounts([&]() -> ChildFindings {
        const std::string inside = t.path("var/log/mounted/other.log.1");
        if (!mountTmpfs(t.path("var/log/mounted")) || ::close(::creat(inside.c_str(), 0644)) != 0
            || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            return kCannotMount;
        const auto names = byName(listSystemLogs(t.root(), later));
        const bool ok = names.size() == 8 && !names.contains("private/secret.log.1")
            && !names.contains("mounted/other.log.1")
            && !isSystemLogDeletable(t.root(), inside, later)
            && isSystemLogDeletable(t.root(), t.path("var/log/apt/history.log.1.gz"), later);
        return {{"passed", ok ? "yes" : "no"}};
    });
    SKIP_UNLESS_CHILD_RAN(found);
    EXPECT_EQ(found["passed"], "yes");
}
#endif

TEST(LinuxUserLogs, PreviousSessionLogsTheUserOwns)
{
    TestTree t;
    const auto f = foldersIn(t);
    t.file("home/.xsession-errors", 10);
    t.file("home/.xsession-errors.old", 10);
    t.file("home/.local/share/xorg/Xorg.0.log", 10);
    t.file("home/.local/share/xorg/Xorg.0.log.old", 10);
    t.link("home/.local/share/xorg/Xorg.2.log.old", "/etc/passwd");
    t.dir("home/.local/share/xorg/Xorg.3.log.old");
    t.file("home/.local/share/xorg/Xorg.1.log.old", 10);
    giveAway(t.path("home/.local/share/xorg/Xorg.1.log.old"));
    t.file("home/.local/state/wireplumber/restore-stream.old", 10);

    EXPECT_EQ(byName(listUserLogs(f)),
        (std::map<std::string, std::string>{
            {".xsession-errors.old", t.path("home/.xsession-errors.old")},
            {"Xorg.0.log.old", t.path("home/.local/share/xorg/Xorg.0.log.old")}}));
}

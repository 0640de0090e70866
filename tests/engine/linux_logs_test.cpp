#include "engine/locations/linux/SystemLogs.h"
#include "engine/locations/linux/UserLogs.h"

#include "support/MountNamespace.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
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

} // namespace

TEST(LinuxLogNames, OnlyNamesThatSayTheLogIsNoLongerWritten)
{
    for (const char* rotated : {"syslog.1", "syslog.0", "syslog.2.gz", "kern.log.12.xz",
             "auth.log.999.bz2", "dpkg.log.3.zst", "messages-20240131", "messages-20240131.gz",
             "Xorg.0.log.old", "Xorg.0.log.old.gz", "wtmp.1", "btmp.1.gz", "php8.2-fpm.log.1",
             "system@00061a2b3c4d5e6f-0123456789abcdef.journal",
             "user-1000@0005f3e2a1b0c9d8-fedcba9876543210.journal", "system.journal~",
             "user-1000@x.journal~"})
        EXPECT_TRUE(isRotatedLogName(rotated)) << rotated;
    for (const char* live : {"syslog", "dpkg.log", "system.journal", "user-1000.journal", "wtmp",
             "btmp", "lastlog", "mysql-bin.000001", "mysql-bin.000123", "syslog.01", "syslog.1000",
             "log.192.168.1.5", "log.10.0.0.5.1", "messages-20241341", "backup-12345678",
             "archive.gz", "syslog.1.gz.tmp", "syslog.1.log", ".1", ".old", "-20240131",
             "@.journal", "Xorg.0.log", ""})
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
};

TEST_F(LinuxSystemLogs, RotatedFilesAtAnyDepthAndCrashReports)
{
    EXPECT_EQ(byName(listSystemLogs(t.root())),
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
}

TEST_F(LinuxSystemLogs, HelperRecheckFollowsTheSameRules)
{
    const std::string root = t.root();
    for (const char* ok :
        {"var/log/syslog.1", "var/log/sssd.1/sssd.log.2", "var/crash/_usr_bin_foo.1000.crash",
            "var/lib/systemd/coredump/core.bash.1000.b00t.42.1700000000000000.zst"})
        EXPECT_TRUE(isSystemLogDeletable(root, t.path(ok))) << ok;
    for (const std::string& refused :
        {t.path("var/log"), t.path("var/log/syslog"), t.path("var/log/sssd.1"),
            t.path("var/log/kern.log.1"), t.path("var/log/linked/secrets.1"),
            t.path("var/log/gone.1"), t.path("var/log//syslog.1"),
            t.path("var/log/apt/../syslog.1"), t.path("var/log/syslog.1/"),
            t.path("var/crash/kexec_cmd"), t.path("var/lib/systemd/coredump/.#core.bash.tmp"),
            t.path("outside/secrets.1"), std::string("/var/log/syslog.1")})
        EXPECT_FALSE(isSystemLogDeletable(root, refused)) << refused;
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
        const auto names = byName(listSystemLogs(t.root()));
        const bool ok = names.size() == 8 && !names.contains("private/secret.log.1")
            && !names.contains("mounted/other.log.1") && !isSystemLogDeletable(t.root(), inside)
            && isSystemLogDeletable(t.root(), t.path("var/log/apt/history.log.1.gz"));
        return {{"passed", ok ? "yes" : "no"}};
    });
    SKIP_UNLESS_CHILD_RAN(found);
    EXPECT_EQ(found["passed"], "yes");
}
#endif

TEST(LinuxUserLogs, PreviousSessionLogsTheUserOwns)
{
    TestTree t;
    const auto f = desktopFolders(t.path("home"), ::geteuid(), "", "", "");
    t.file("home/.xsession-errors", 10);
    t.file("home/.xsession-errors.old", 10);
    t.file("home/.local/share/xorg/Xorg.0.log", 10);
    t.file("home/.local/share/xorg/Xorg.0.log.old", 10);
    t.link("home/.local/share/xorg/Xorg.2.log.old", "/etc/passwd");
    t.dir("home/.local/share/xorg/Xorg.3.log.old");
    t.file("home/.local/share/xorg/Xorg.1.log.old", 10);
    ASSERT_EQ(::chown(t.path("home/.local/share/xorg/Xorg.1.log.old").c_str(), 65534, 65534), 0);
    t.file("home/.local/state/wireplumber/restore-stream.old", 10);

    EXPECT_EQ(byName(listUserLogs(f)),
        (std::map<std::string, std::string>{
            {".xsession-errors.old", t.path("home/.xsession-errors.old")},
            {"Xorg.0.log.old", t.path("home/.local/share/xorg/Xorg.0.log.old")}}));
}

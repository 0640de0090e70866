// The Linux backends against the real system and stand-ins for its programs: processes
// in /proc, memory figures, the freedesktop Trash through GIO, pkexec (a stand-in script
// on PATH), flatpak (a script that records its arguments) and PackageKit (a stand-in
// service on a private bus that records the D-Bus calls).
#ifdef __linux__

#include "platform/CommandRunner.h"
#include "platform/PrivilegedRunner.h"
#include "platform/RunningApplications.h"
#include "platform/Trash.h"
#include "platform/linux/LinuxApplicationRemover.h"
#include "platform/linux/PkexecOutcome.h"
#include "platform/linux/ProcMeminfo.h"

#include "support/Contains.h"
#include "support/FakePackageKit.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>

using namespace tidvale::platform;

namespace {

// Sets a variable of this test's own process while it lives: these backends hand the
// work to GLib and posix_spawnp, which read the process environment themselves, and
// ctest runs each test in a process of its own.
class ProcessVariable {
public:
    ProcessVariable(const char* name, const std::string& value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ProcessVariable()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ProcessVariable(const ProcessVariable&) = delete;
    ProcessVariable& operator=(const ProcessVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

// Runs in its own process (ctest runs each test alone), so GLib reads this data
// folder on first use.
TEST(LinuxTrash, MovesIntoTheHomeTrashWithAnEscapedPathAndReportsFailures)
{
    TestTree t;
    const ProcessVariable data("XDG_DATA_HOME", t.dir("data"));
    const std::string victim = t.file("docs/a b%c.txt", 12);
    auto trash = systemTrash();
    auto ok = trash->moveToTrash(victim);
    ASSERT_TRUE(ok.ok) << ok.error;
    EXPECT_FALSE(t.exists("docs/a b%c.txt"));
    EXPECT_TRUE(t.exists("data/Trash/files/a b%c.txt"));
    EXPECT_CONTAINS(
        t.read("data/Trash/info/a b%c.txt.trashinfo"), "Path=" + t.path("docs") + "/a%20b%25c.txt");
    EXPECT_EQ(ok.trashedAs, t.path("data/Trash/files/a b%c.txt"));

    // A second item of the same name lands beside the first, and is told apart by
    // the path its record holds: that is the one an undo must put back.
    t.file("docs/a b%c.txt", 5);
    auto again = trash->moveToTrash(victim);
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_NE(again.trashedAs, ok.trashedAs);
    EXPECT_EQ(std::filesystem::file_size(again.trashedAs), 5u);

    auto missing = trash->moveToTrash(t.path("docs/never"));
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());
}

// A pkexec on PATH that records its arguments and exits with a status, or with 0 runs
// the helper unprivileged.
struct FakePkexec : ::testing::Test {
    TestTree t;
    ProcessVariable path{"PATH", t.root() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "")};
    void install(int status)
    {
        t.script("pkexec",
            "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + t.path("args") + "\n"
                + (status == 0 ? "exec \"$@\"\n" : "exit " + std::to_string(status) + "\n"));
    }
};

TEST_F(FakePkexec, PathsTravelAsSeparateArgumentsAndComeBackByIndex)
{
    install(0);
    auto runner = systemPrivilegedRunner();
    // The helper refuses these (outside the real machine-wide folders) and says so for
    // each, by position: a newline in a name cannot shift the report.
    const std::string odd = t.file("we\"ird\nname", 1);
    auto result = runner->run({{odd, "-rf"}, "unused script"});
    EXPECT_FALSE(result.error.has_value()) << *result.error;
    EXPECT_EQ(result.paths,
        (std::vector<PrivilegedPathResult>{
            {PrivilegedStatus::refused, 0}, {PrivilegedStatus::refused, 0}}));
    EXPECT_TRUE(t.exists("we\"ird\nname"));
    EXPECT_CONTAINS(t.read("args"), "tidvale-admin-helper\n--\n" + odd + "\n-rf\n");

    // Failures before the helper runs: nothing is known of any path.
    install(126);
    auto dismissed = runner->run({{"/Library/Caches/x"}, ""});
    EXPECT_CONTAINS(dismissed.error.value_or(""), "cancel");
    EXPECT_EQ(dismissed.paths, std::vector<PrivilegedPathResult>(1));
    install(127);
    EXPECT_CONTAINS(runner->run({{"/Library/Caches/x"}, ""}).error.value_or(""), "autorización");
}

TEST(PkexecOutcome, TheHelpersReportDecidesOncePkexecLetItRun)
{
    using R = PrivilegedPathResult;
    // The helper ran: its exit status 1 is no failure of the run, each path says.
    auto some = interpretPkexecRun(1, "removed\t0\nmissing\t1\nerror\t2\t16\n", "", 3);
    EXPECT_FALSE(some.error.has_value());
    EXPECT_EQ(some.paths,
        (std::vector<R>{{PrivilegedStatus::removed, 0}, {PrivilegedStatus::missing, 0},
            {PrivilegedStatus::failed, 16}}));
    // A helper whose exit status is 127 is still the helper when it reported.
    EXPECT_FALSE(interpretPkexecRun(127, "removed\t0\n", "", 1).error.has_value());
    // Cut short: what it said holds, the rest is unknown and the run failed.
    auto cut = interpretPkexecRun(-1, "removed\t0\n", "", 2);
    EXPECT_EQ(cut.paths, (std::vector<R>{{PrivilegedStatus::removed, 0}, {}}));
    EXPECT_EQ(cut.error, "Error desconocido");
    auto agent = interpretPkexecRun(
        127, "", "Error executing command as another user: No authentication agent found.\n", 1);
    EXPECT_CONTAINS(agent.error.value_or(""), "agente de autenticación");
    EXPECT_EQ(agent.paths, std::vector<R>(1));
}

TEST(Meminfo, FiguresInBytesWithWiredAndCompressed)
{
    const auto f = parseMeminfo("MemTotal:       16000000 kB\n"
                                "MemFree:         1000 kB\n"
                                "Active:          2000 kB\n"
                                "Inactive:        3000 kB\n"
                                "Active(anon):     111 kB\n"
                                "Unevictable:      40 kB\n"
                                "Mlocked:          30 kB\n"
                                "Zswap:            50 kB\n"
                                "Zswapped:        500 kB\n");
    ASSERT_TRUE(f);
    // Active is not confused with "Active(anon)"; locked pages are already among the
    // unevictable; compressed is the pool, not what it holds uncompressed.
    EXPECT_EQ((std::vector<uint64_t>{f->free, f->active, f->inactive, f->wired, f->compressed}),
        (std::vector<uint64_t>{1000 * 1024, 2000 * 1024, 3000 * 1024, 40 * 1024, 50 * 1024}));
    const auto old = parseMeminfo("MemFree: 5 kB\nActive: 1 kB"); // an older kernel
    ASSERT_TRUE(old);
    EXPECT_EQ(old->compressed + old->wired + old->inactive, 0u);
    EXPECT_FALSE(parseMeminfo("MemTotal: 5 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemFree: lots kB\n"));
    // Does not fit 64 bits: no figure rather than a wrapped one.
    EXPECT_FALSE(parseMeminfo("MemFree: 99999999999999999999 kB\n"));
}

namespace {

// Writes each argument on its own line, says something and exits as told.
std::string standIn(TestTree& t, const std::string& name, const std::string& say, int status)
{
    return t.script(name,
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/args\"\n"
        "echo '"
            + say + "' >&2\nexit " + std::to_string(status) + "\n");
}

const DebianPackage kVimCommon{"vim-common", "all", "2:9.0-2"};
const std::string kVimCommonId = "vim-common;2:9.0-2;all;auto:debian-stable-main";
const std::string kVimId = "vim;2:9.0-2;amd64;manual:debian-stable-main";

struct PackageKit : ::testing::Test {
    TestTree tree;
    PrivateBus bus{tree.root()};
    std::unique_ptr<FakePackageKit> service;

    void SetUp() override
    {
        if (bus.address().empty())
            GTEST_SKIP() << "dbus-daemon is not installed";
        service = std::make_unique<FakePackageKit>(bus.address());
        ASSERT_TRUE(service->owned());
        service->installed = {kVimCommonId, kVimId, "other;1;amd64;installed"};
    }
};

} // namespace

TEST(FlatpakRemoval, RunsFlatpakWithAnArgumentVectorAndShowsItsFailure)
{
    TestTree t;
    const std::string ok = standIn(t, "ok/flatpak", "", 0);
    LinuxApplicationRemover remover({}, ok);
    EXPECT_FALSE(remover.flatpakRemovalUnavailable());
    EXPECT_TRUE(remover.removeFlatpak("org.example.Paint", true).ok);
    EXPECT_EQ(t.read("ok/args"), "uninstall\n--noninteractive\n--system\norg.example.Paint\n");
    EXPECT_TRUE(remover.removeFlatpak("org.example.Paint", false).ok);
    const std::string failing = standIn(t, "bad/flatpak", "error: org.example.Paint is running", 1);
    const auto refused
        = LinuxApplicationRemover({}, failing).removeFlatpak("org.example.Paint", false);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "error: org.example.Paint is running");

    // An id that flatpak would take for an option never reaches it.
    EXPECT_FALSE(remover.removeFlatpak("--all", false).ok);
    EXPECT_EQ(t.read("ok/args"), "uninstall\n--noninteractive\n--user\norg.example.Paint\n");
    EXPECT_EQ(
        LinuxApplicationRemover({}, "tidvale-no-such-flatpak").removeFlatpak("a.b", true).error,
        "No se encontró el programa «tidvale-no-such-flatpak».");
}

TEST(ProgramRunning, ArgumentsArriveAsGiven)
{
    TestTree t;
    const std::string echo = standIn(t, "echo-args", "", 3);
    const auto run = runCommand({echo, "two words", "quote ' \" and $HOME", "new\\nline"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(t.read("args"), "two words\nquote ' \" and $HOME\nnew\\nline\n");
    EXPECT_FALSE(runCommand({t.path("missing")}).started);
}

TEST_F(PackageKit, PreviewResolvesThenSimulatesAndNamesTheOthers)
{
    LinuxApplicationRemover remover(bus.address());
    EXPECT_FALSE(remover.packageRemovalUnavailable());
    service->simulatedRemoval = {kVimId, kVimCommonId};
    const auto preview = remover.previewPackageRemoval({kVimCommon});
    ASSERT_FALSE(preview.error) << *preview.error;
    EXPECT_EQ(preview.others, (std::vector<DebianPackage>{{"vim", "amd64", "2:9.0-2"}}));

    // Installed packages only (flag 4) are resolved; the removal is simulated (flag 4).
    EXPECT_EQ(service->callTexts(),
        (std::vector<std::string>{
            "Resolve 4 vim-common", "RemovePackages 4 " + kVimCommonId + " deps"}));
    EXPECT_CONTAINS(
        remover.previewPackageRemoval({{"ghost", "amd64", "1"}}).error.value_or(""), "ghost");
}

TEST_F(PackageKit, RemovalTakesExactlyWhatWasAgreedTo)
{
    LinuxApplicationRemover remover(bus.address());
    const DebianPackage vim{"vim", "amd64", "2:9.0-2"};
    service->simulatedRemoval = {kVimId, kVimCommonId};
    EXPECT_TRUE(remover.removePackages({kVimCommon, vim}).ok);
    // Simulated again just before; then only trusted (flag 2), and nothing more than asked.
    EXPECT_TRUE(service->callTexts().at(1).starts_with("RemovePackages 4 "));
    EXPECT_EQ(service->callTexts().at(2), "RemovePackages 2 " + kVimCommonId + " " + kVimId);

    // The system changed since the preview: it would now take one more package.
    const auto refused = remover.removePackages({kVimCommon});
    EXPECT_FALSE(refused.ok);
    EXPECT_CONTAINS(refused.error, "«vim»");
    EXPECT_EQ(service->callTexts().size(), 5u); // resolved and simulated, never removed

    service->simulatedRemoval = {kVimCommonId, kVimId};
    service->removalError = "Failed to obtain authentication.";
    const auto denied = remover.removePackages({kVimCommon, vim});
    EXPECT_FALSE(denied.ok);
    EXPECT_EQ(denied.error, "Failed to obtain authentication.");

    // A service that goes away mid-removal is a failure, not a hang.
    service->removalError.clear();
    service->vanishOnRemoval = true;
    const auto gone = remover.removePackages({kVimCommon, vim});
    EXPECT_FALSE(gone.ok);
    EXPECT_FALSE(gone.error.empty());
}

TEST(PackageKitMissing, TheReasonIsSaid)
{
    TestTree t;
    PrivateBus bus{t.root()};
    if (bus.address().empty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    EXPECT_EQ(LinuxApplicationRemover(bus.address()).packageRemovalUnavailable(),
        "El servicio PackageKit no está disponible (se instala con el paquete «packagekit»).");
    EXPECT_TRUE(LinuxApplicationRemover("unix:path=" + t.path("none")).packageRemovalUnavailable());
}

#endif

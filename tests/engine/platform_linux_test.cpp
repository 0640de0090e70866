// The Linux backends against the real system: processes in /proc, the freedesktop
// Trash through GIO, and pkexec (replaced by a stand-in script on PATH).
#ifdef __linux__

#include "platform/PrivilegedRunner.h"
#include "platform/RunningApplications.h"
#include "platform/Trash.h"
#include "platform/linux/PkexecOutcome.h"

#include "support/Contains.h"
#include "support/RunningProgram.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace tidvale::platform;

TEST(LinuxRunningApplications, BrowsersAreRecognisedByTheirExecutable)
{
    TestTree t;
    const RunningProgram fox(t, "firefox-esr");
    const RunningProgram other(t, "chromeish"); // a prefix of nothing we map
    auto backend = makeSystemService<RunningApplications>();
    std::vector<std::string> ids;
    const auto has
        = [&](const std::string& id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    EXPECT_TRUE(
        eventually([&] { return ids = backend->bundleIdentifiers(), has("org.mozilla.firefox"); }));
    EXPECT_FALSE(has("com.google.Chrome"));
}

// Runs in its own process (ctest runs each test alone), so GLib reads this data
// folder on first use.
TEST(LinuxTrash, MovesIntoTheHomeTrashWithAnEscapedPathAndReportsFailures)
{
    TestTree t;
    ::setenv("XDG_DATA_HOME", t.dir("data").c_str(), 1);
    const std::string victim = t.file("docs/a b%c.txt", 12);
    auto trash = makeSystemService<Trash>();
    auto ok = trash->moveToTrash(victim);
    ASSERT_TRUE(ok.ok) << ok.error;
    EXPECT_FALSE(t.exists("docs/a b%c.txt"));
    EXPECT_TRUE(t.exists("data/Trash/files/a b%c.txt"));
    EXPECT_CONTAINS(
        t.read("data/Trash/info/a b%c.txt.trashinfo"), "Path=" + t.path("docs") + "/a%20b%25c.txt");

    auto missing = trash->moveToTrash(t.path("docs/never"));
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());
}

// A pkexec on PATH that records its arguments and exits with a status, or with 0 runs
// the helper unprivileged.
struct FakePkexec : ::testing::Test {
    TestTree t;
    ScopedEnv path{"PATH", t.root() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "")};
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
    auto runner = makeSystemService<PrivilegedRunner>();
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

// pkexec's own words for each way it fails with 127, as printed by polkit 122.
TEST(PkexecOutcome, TheTextFollowsWhatPkexecSaid)
{
    const std::pair<const char*, const char*> cases[]
        = {{"Error executing command as another user: No authentication agent found.\n",
               "No hay ningún agente de autenticación para pedir la contraseña de administrador."},
            {"Error creating textual authentication agent: Error opening current controlling "
             "terminal for the process (`/dev/tty'): No such device or address\n",
                "No hay ningún agente de autenticación"},
            {"Error executing command as another user: Not authorized\n\nThis incident has been "
             "reported.\n",
                "No tienes autorización para eliminar estos elementos como administrador."},
            {"Error getting authority: Error initializing authority: Could not connect: No such "
             "file or directory\n",
                "servicio de autorización"},
            {"", "No tienes autorización"}};
    for (const auto& [said, text] : cases)
        EXPECT_CONTAINS(pkexecFailureText(127, said), text);
    EXPECT_CONTAINS(pkexecFailureText(126, ""), "cancel");
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

#endif

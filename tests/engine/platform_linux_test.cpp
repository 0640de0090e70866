// The Linux backends against the real system: processes in /proc, the freedesktop
// Trash through GIO, and pkexec (replaced by a stand-in script on PATH).
#ifdef __linux__

#include "platform/PrivilegedRunner.h"
#include "platform/RunningApplications.h"
#include "platform/Trash.h"
#include "platform/linux/PkexecOutcome.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace tidvale::platform;

namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool contains(const std::vector<std::string>& v, const std::string& x)
{
    return std::find(v.begin(), v.end(), x) != v.end();
}

} // namespace

TEST(LinuxRunningApplications, BrowsersAreRecognisedByTheirExecutable)
{
    TestTree t;
    std::filesystem::copy_file("/bin/sleep", t.path("firefox-esr"));
    ::chmod(t.path("firefox-esr").c_str(), 0755);
    std::filesystem::copy_file("/bin/sleep", t.path("chromeish"));
    ::chmod(t.path("chromeish").c_str(), 0755);
    auto start = [&](const std::string& exe) {
        pid_t pid = fork();
        if (pid == 0) {
            execl(exe.c_str(), exe.c_str(), "30", nullptr);
            _exit(127);
        }
        return pid;
    };
    pid_t fox = start(t.path("firefox-esr"));
    pid_t other = start(t.path("chromeish")); // a prefix of nothing we map
    auto backend = makeSystemService<RunningApplications>();
    std::vector<std::string> ids;
    for (int i = 0; i < 100 && !contains(ids, "org.mozilla.firefox"); ++i) {
        ids = backend->bundleIdentifiers();
        usleep(10000); // the child needs a moment to exec
    }
    kill(fox, SIGKILL);
    kill(other, SIGKILL);
    waitpid(fox, nullptr, 0);
    waitpid(other, nullptr, 0);
    EXPECT_TRUE(contains(ids, "org.mozilla.firefox"));
    EXPECT_FALSE(contains(ids, "com.google.Chrome"));
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
    const std::string info = slurp(t.path("data/Trash/info/a b%c.txt.trashinfo"));
    EXPECT_NE(info.find("Path=" + t.path("docs") + "/a%20b%25c.txt"), std::string::npos) << info;

    auto missing = trash->moveToTrash(t.path("docs/never"));
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());
}

class FakePkexec : public ::testing::Test {
protected:
    TestTree t;
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";

    // A pkexec that records its arguments and exits with `status` (or runs the helper
    // unprivileged when status is 0).
    void install(int status)
    {
        std::ofstream(t.path("pkexec"))
            << "#!/bin/sh\nprintf '%s\\n' \"$@\" > " << t.path("args") << "\n"
            << (status == 0 ? "exec \"$@\"\n" : "exit " + std::to_string(status) + "\n");
        ::chmod(t.path("pkexec").c_str(), 0755);
        ::setenv("PATH", (t.root() + ":" + oldPath).c_str(), 1);
    }
    ~FakePkexec() override { ::setenv("PATH", oldPath.c_str(), 1); }
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
    const std::string args = slurp(t.path("args"));
    EXPECT_NE(args.find("tidvale-admin-helper\n--\n" + odd + "\n-rf\n"), std::string::npos) << args;
}

TEST_F(FakePkexec, FailuresBeforeTheHelperRunGetSpanishTexts)
{
    auto runner = makeSystemService<PrivilegedRunner>();
    install(126);
    auto dismissed = runner->run({{"/Library/Caches/x"}, ""});
    ASSERT_TRUE(dismissed.error.has_value());
    EXPECT_NE(dismissed.error->find("cancel"), std::string::npos);
    EXPECT_EQ(dismissed.paths, std::vector<PrivilegedPathResult>(1));
    install(127);
    auto refused = runner->run({{"/Library/Caches/x"}, ""});
    ASSERT_TRUE(refused.error.has_value());
    EXPECT_NE(refused.error->find("autorización"), std::string::npos);
}

// pkexec's own words for each way it fails with 127, as printed by polkit 122.
TEST(PkexecOutcome, TheTextFollowsWhatPkexecSaid)
{
    const std::string noAgent
        = "No hay ningún agente de autenticación para pedir la contraseña de administrador.";
    const std::string denied
        = "No tienes autorización para eliminar estos elementos como administrador.";
    EXPECT_EQ(pkexecFailureText(
                  127, "Error executing command as another user: No authentication agent found.\n"),
        noAgent);
    EXPECT_EQ(pkexecFailureText(127,
                  "Error creating textual authentication agent: Error opening current "
                  "controlling terminal for the process (`/dev/tty'): No such device or address\n"),
        noAgent);
    EXPECT_EQ(pkexecFailureText(127,
                  "Error executing command as another user: Not authorized\n\nThis incident has "
                  "been reported.\n"),
        denied);
    EXPECT_NE(pkexecFailureText(127,
                  "Error getting authority: Error initializing authority: Could not connect: No "
                  "such file or directory\n")
                  .find("servicio de autorización"),
        std::string::npos);
    EXPECT_EQ(pkexecFailureText(127, ""), denied);
    EXPECT_NE(pkexecFailureText(126, "").find("cancel"), std::string::npos);
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
    EXPECT_NE(agent.error->find("agente de autenticación"), std::string::npos);
    EXPECT_EQ(agent.paths, std::vector<R>(1));
}

#endif

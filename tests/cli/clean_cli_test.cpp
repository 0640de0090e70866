// tidvale-cli clean on a temporary Linux home and system root, as a user would run it.
#include "support/RunCli.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <signal.h>
#include <sys/wait.h>

#include <filesystem>

namespace {

struct CleanCommand : ::testing::Test {
    TestTree t;
    std::string env = "HOME=" + shellQuote(t.dir("home"))
        + " XDG_CACHE_HOME= XDG_CONFIG_HOME= XDG_DATA_HOME= TIDVALE_PROFILE=";

    // Always under a made-up system root: a clean of the real /var would remove the
    // machine's own rotated logs.
    CliRun clean(const std::string& args)
    {
        return runCli(
            "--json --profile linux --system-root " + shellQuote(t.dir("sys")) + " clean " + args,
            env);
    }

    std::vector<std::string> paths(const nlohmann::json& list)
    {
        std::vector<std::string> out;
        for (const auto& e : list)
            out.push_back(e["path"]);
        std::sort(out.begin(), out.end());
        return out;
    }
};

} // namespace

TEST_F(CleanCommand, DryRunTouchesNothingAndYesRemovesExactlyWhatItListed)
{
    t.file("home/.cache/thumbnails/big", 600'000);
    t.file("home/.cache/fontconfig/cache", 600'000);
    t.file("home/.cache/tiny", 10);
    t.file("home/.local/share/Trash/files/old", 5);
    t.text("home/.local/share/Trash/info/old.trashinfo", "[Trash Info]\nPath=/x/old\n");

    const auto dry = clean("");
    ASSERT_EQ(dry.status, 0);
    const auto planned = nlohmann::json::parse(dry.out);
    EXPECT_EQ(planned["dryRun"], true);
    EXPECT_EQ(paths(planned["removed"]),
        (std::vector<std::string>{
            t.path("home/.cache/thumbnails"), t.path("home/.local/share/Trash/files/old")}));
    EXPECT_EQ(planned["freed"], 600'005);
    EXPECT_TRUE(t.exists("home/.cache/thumbnails/big"));
    EXPECT_TRUE(t.exists("home/.local/share/Trash/files/old"));

    const auto done = clean("--yes");
    ASSERT_EQ(done.status, 0);
    const auto report = nlohmann::json::parse(done.out);
    EXPECT_EQ(report["dryRun"], false);
    EXPECT_EQ(paths(report["removed"]), paths(planned["removed"]));
    EXPECT_EQ(report["freed"], 600'005);
    EXPECT_FALSE(t.exists("home/.cache/thumbnails"));
    EXPECT_FALSE(t.exists("home/.local/share/Trash/info/old.trashinfo"));
    EXPECT_TRUE(t.exists("home/.cache/fontconfig/cache"));
    EXPECT_TRUE(t.exists("home/.cache/tiny"));
}

TEST_F(CleanCommand, CategoriesAndUsage)
{
    t.file("home/.cache/thumbnails/big", 600'000);
    t.file("home/.local/share/Trash/files/old", 5);
    const auto r = nlohmann::json::parse(clean("--yes --category Papelera").out);
    EXPECT_EQ(paths(r["removed"]),
        (std::vector<std::string>{t.path("home/.local/share/Trash/files/old")}));
    EXPECT_TRUE(t.exists("home/.cache/thumbnails/big"));
    EXPECT_EQ(clean("--category papelera").status, 2); // names are exact
    EXPECT_EQ(clean("--category").status, 2);
    EXPECT_EQ(clean("extra").status, 2);
}

#ifdef __linux__
// A process whose executable bears Chromium's name holds its cache: the cache is left
// with the reason, and the run still counts as a success.
TEST_F(CleanCommand, RunningBrowsersDataIsLeftWithItsReason)
{
    t.file("home/.cache/chromium/Default/Cache/Cache_Data/data_0", 600'000);
    const std::string exe = t.dir("bin") + "/chromium";
    std::filesystem::copy_file("/bin/sleep", exe);
    const pid_t pid = fork();
    if (pid == 0) {
        execl(exe.c_str(), exe.c_str(), "60", nullptr);
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    CliRun run{};
    // The child needs a moment to exec; until then it still runs as this test.
    for (int i = 0; i < 200; ++i) {
        run = clean("--yes");
        if (run.out.find("Cierra Chromium") != std::string::npos)
            break;
        usleep(10'000);
        if (!t.exists("home/.cache/chromium"))
            break;
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    ASSERT_EQ(run.status, 0);
    const auto r = nlohmann::json::parse(run.out);
    ASSERT_EQ(r["left"].size(), 1u);
    EXPECT_EQ(r["left"][0]["path"], t.path("home/.cache/chromium"));
    EXPECT_EQ(r["left"][0]["reason"], "Cierra Chromium y vuelve a intentarlo.");
    EXPECT_TRUE(t.exists("home/.cache/chromium/Default/Cache/Cache_Data/data_0"));
}

// What Debian's own Trash clients put in, the clean empties, and they agree it is empty.
TEST_F(CleanCommand, EmptiesWhatRealTrashClientsPutIn)
{
    if (std::system("command -v trash-put >/dev/null && command -v trash-list >/dev/null "
                    "&& command -v gio >/dev/null")
        != 0)
        GTEST_SKIP() << "trash-cli or gio is not installed";
    // trash-cli reads an empty XDG_DATA_HOME as "/": the tools get the variables unset.
    const std::string tools = "env -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_CONFIG_HOME HOME="
        + shellQuote(t.path("home")) + " LC_ALL=C.UTF-8 ";
    const std::string a = t.file("home/Documents/informe final.pdf", 300);
    const std::string b = t.file("home/Documents/carpeta/dentro", 40);
    const std::string c = t.file("home/Documents/por gio.txt", 7);
    ASSERT_EQ(std::system((tools + "trash-put " + shellQuote(a) + " "
                  + shellQuote(t.path("home/Documents/carpeta")))
                              .c_str()),
        0);
    ASSERT_EQ(std::system((tools + "gio trash " + shellQuote(c)).c_str()), 0);

    const auto listed = nlohmann::json::parse(
        runCli("--json --profile linux --system-root " + shellQuote(t.dir("sys")) + " scan", env)
            .out);
    std::vector<std::string> names;
    for (const auto& item : listed)
        if (item["category"] == "Papelera")
            names.push_back(item["name"]);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"carpeta", "informe final.pdf", "por gio.txt"}));

    ASSERT_EQ(clean("--yes --category Papelera").status, 0);
    FILE* p = popen((tools + "trash-list 2>&1").c_str(), "r");
    std::string out;
    char buf[256];
    while (size_t n = fread(buf, 1, sizeof buf, p))
        out.append(buf, n);
    pclose(p);
    EXPECT_EQ(out, "");
    EXPECT_TRUE(std::filesystem::is_empty(t.path("home/.local/share/Trash/files")));
    EXPECT_TRUE(std::filesystem::is_empty(t.path("home/.local/share/Trash/info")));
}
#endif

// tidvale-cli clean on a temporary Linux home and system root, as a user would run it.
#include "support/RunCli.h"
#include "support/RunningProgram.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

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
    t.file("home/.local/share/Trash/files/old", 5);
    t.text("home/.local/share/Trash/info/old.trashinfo", "[Trash Info]\nPath=/x/old\n");
    const std::vector<std::string> both{
        t.path("home/.cache/thumbnails"), t.path("home/.local/share/Trash/files/old")};

    const auto dry = clean("");
    ASSERT_EQ(dry.status, 0);
    const auto planned = nlohmann::json::parse(dry.out);
    EXPECT_EQ(planned["dryRun"], true);
    EXPECT_EQ(paths(planned["removed"]), both);
    EXPECT_EQ(planned["freed"], 600'005);
    EXPECT_TRUE(t.exists("home/.cache/thumbnails/big"));
    EXPECT_TRUE(t.exists("home/.local/share/Trash/files/old"));

    const auto trash = nlohmann::json::parse(clean("--yes --category Papelera").out);
    EXPECT_EQ(paths(trash["removed"]), std::vector<std::string>{both[1]});
    EXPECT_FALSE(t.exists("home/.local/share/Trash/info/old.trashinfo"));
    const auto done = clean("--yes");
    ASSERT_EQ(done.status, 0);
    const auto report = nlohmann::json::parse(done.out);
    EXPECT_EQ(report["dryRun"], false);
    EXPECT_EQ(paths(report["removed"]), std::vector<std::string>{both[0]});
    EXPECT_EQ(report["freed"], 600'000);
    EXPECT_FALSE(t.exists("home/.cache/thumbnails"));

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
    const RunningProgram chromium(t, "bin/chromium");
    CliRun run{};
    // Until the child has exec'd, it still runs as this test: try again until refused.
    // A dry run says it would leave the cache, as the real run then does.
    ASSERT_TRUE(
        eventually([&] { return clean("").out.find("Cierra Chromium") != std::string::npos; }));
    ASSERT_TRUE(eventually([&] {
        run = clean("--yes");
        return run.out.find("Cierra Chromium") != std::string::npos
            || !t.exists("home/.cache/chromium");
    }));
    ASSERT_EQ(run.status, 0);
    const auto r = nlohmann::json::parse(run.out);
    ASSERT_EQ(r["left"].size(), 1u);
    EXPECT_EQ(r["left"][0]["path"], t.path("home/.cache/chromium"));
    EXPECT_EQ(r["left"][0]["reason"], "Cierra Chromium y vuelve a intentarlo.");
    EXPECT_TRUE(t.exists("home/.cache/chromium/Default/Cache/Cache_Data/data_0"));
}
#endif

// Runs the real tidvale-cli as a user would.
#include "support/RunCli.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

TEST(Cli, UsageErrorsExitTwo)
{
    for (const char* args : {"", "frobnicate", "size", "--system-root", "--profile",
             "--profile bsd scan", "browsers --bogus", "memory extra", "apps --bogus",
             "xcode extra", "launch-items extra", "launch-items --disable", "large --bogus",
             "large --min -5 .", "downloads --filter 5", "downloads a b"})
        EXPECT_EQ(runCli(args).status, 2) << args;
    EXPECT_EQ(runCli("scan", "TIDVALE_PROFILE=bsd").status, 2);
    EXPECT_EQ(runCli("--help").status, 0);
}

TEST(Cli, ScanSizeAndAdminPlan)
{
    TestTree t;
    t.file("home/Library/Caches/big/x", 600000);
    t.file("home/Library/Logs/\xff-odd.log", 3);
    t.file("sys/Library/Logs/system.log", 4);
    const std::string where = "--profile mac --system-root " + shellQuote(t.path("sys")) + " ";
    const std::string home = "HOME=" + shellQuote(t.path("home"));
    auto r = runCli("--json " + where + "scan", home);
    ASSERT_EQ(r.status, 0);
    auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(json.size(), 3u);
    EXPECT_EQ(json[0],
        (nlohmann::json{{"name", "big"}, {"path", t.path("home/Library/Caches/big")},
            {"size", 600000}, {"category", "Caché de Usuario"}, {"isSelected", true},
            {"requiresAdmin", false}}));
    EXPECT_EQ(json[2]["name"], "\xEF\xBF\xBD-odd.log"); // invalid UTF-8 replaced, not fatal
    const auto text = runCli(where + "scan", home).out;
    EXPECT_NE(text.find("600 KB"), std::string::npos);
    EXPECT_NE(text.find("Total: "), std::string::npos);

    t.file("d/a", 1234);
    const auto sizes = nlohmann::json::parse(
        runCli("--json size " + shellQuote(t.path("d")) + " " + shellQuote(t.path("missing"))).out);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0]["size"], 1234);
    EXPECT_EQ(sizes[1]["size"], 0);

    auto plan = runCli("--json --profile mac admin-plan /Library/Caches/a '/Library/Caches/q\"x' "
                       "/Library/Logs/ /etc/passwd");
    ASSERT_EQ(plan.status, 0);
    auto p = nlohmann::json::parse(plan.out);
    EXPECT_EQ(p["accepted"], (nlohmann::json{"/Library/Caches/a", "/Library/Caches/q\"x"}));
    EXPECT_EQ(p["messages"],
        (nlohmann::json{"Ruta no permitida: /Library/Logs/", "Ruta no permitida: /etc/passwd"}));
    // A relative system root is resolved first: a path spelled relative to it is not
    // one inside it.
    t.dir("r/Library/Caches");
    const auto relative = nlohmann::json::parse(
        runCli("--json --profile mac --system-root ../r admin-plan ../r/Library/Caches/b "
                + shellQuote(t.path("r/Library/Caches/a")),
            "cd " + shellQuote(t.dir("sub")) + " &&")
            .out);
    EXPECT_EQ(relative["accepted"], (nlohmann::json{t.path("r/Library/Caches/a")}));
}

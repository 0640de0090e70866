// Runs the real tidvale-cli and the administrator helper as a user would.
#include "support/RunCli.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>

TEST(Cli, ScanReportsJunkAsJsonRecords)
{
    TestTree t;
    t.file("home/Library/Caches/big/x", 600000);
    t.file("home/Library/Logs/\xff-odd.log", 3);
    t.file("sys/Library/Logs/system.log", 4);
    auto r = runCli("--json --profile mac --system-root " + shellQuote(t.path("sys")) + " scan",
        "HOME=" + shellQuote(t.path("home")));
    ASSERT_EQ(r.status, 0);
    auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(json.size(), 3u);
    EXPECT_EQ(json[0]["name"], "big");
    EXPECT_EQ(json[0]["size"], 600000);
    EXPECT_EQ(json[0]["category"], "Caché de Usuario");
    EXPECT_EQ(json[0]["isSelected"], true);
    EXPECT_EQ(json[0]["requiresAdmin"], false);
    EXPECT_EQ(json[1]["path"], t.path("sys/Library/Logs/system.log"));
    EXPECT_EQ(json[2]["name"], "\xEF\xBF\xBD-odd.log"); // invalid UTF-8 replaced, not fatal

    auto text = runCli("--system-root " + shellQuote(t.path("sys")) + " scan",
        "TIDVALE_PROFILE=mac HOME=" + shellQuote(t.path("home")));
    EXPECT_NE(text.out.find("600 KB"), std::string::npos);
    EXPECT_NE(text.out.find("Total: "), std::string::npos);
}

TEST(Cli, SizeAndAdminPlan)
{
    TestTree t;
    t.file("d/a", 1234);
    t.link("alias", t.path("d"));
    auto r = runCli("--json size " + shellQuote(t.path("d")) + " " + shellQuote(t.path("missing"))
        + " " + shellQuote(t.path("alias")) + " " + shellQuote(t.path("alias") + "/"));
    ASSERT_EQ(r.status, 0);
    auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json[0]["size"], 1234);
    EXPECT_EQ(json[1]["size"], 0);
    EXPECT_EQ(json[2]["size"], t.path("d").size()); // a link is measured as the cleaners count it
    EXPECT_EQ(json[3]["size"], 1234);               // "alias/" names the folder, as for du

    auto plan = runCli("--json --profile mac admin-plan /Library/Caches/a '/Library/Caches/q\"x' "
                       "/Library/Logs/ /etc/passwd");
    ASSERT_EQ(plan.status, 0);
    auto p = nlohmann::json::parse(plan.out);
    EXPECT_EQ(p["accepted"], (nlohmann::json{"/Library/Caches/a", "/Library/Caches/q\"x"}));
    EXPECT_EQ(p["messages"],
        (nlohmann::json{"Ruta no permitida: /Library/Logs/", "Ruta no permitida: /etc/passwd"}));
    EXPECT_NE(p["script"].get<std::string>().find("quoted form of \"/Library/Caches/q\\\"x\""),
        std::string::npos);

    // On a Linux desktop only finished logs and downloaded packages are taken.
    const std::string sys = t.path("sys");
    t.file("sys/var/log/syslog", 1);
    t.file("sys/var/log/syslog.1", 1);
    t.file("sys/var/cache/apt/archives/a.deb", 1);
    t.file("sys/var/cache/debconf/config.dat", 1);
    auto linuxPlan = nlohmann::json::parse(
        runCli("--json --profile linux --system-root " + shellQuote(sys) + " admin-plan "
            + shellQuote(sys + "/var/log/syslog.1") + " " + shellQuote(sys + "/var/log/syslog")
            + " " + shellQuote(sys + "/var/cache/apt/archives/a.deb") + " "
            + shellQuote(sys + "/var/cache/debconf/config.dat"))
            .out);
    EXPECT_EQ(linuxPlan["accepted"],
        (nlohmann::json{sys + "/var/log/syslog.1", sys + "/var/cache/apt/archives/a.deb"}));
    EXPECT_EQ(linuxPlan["messages"].size(), 2u);
}

TEST(Cli, UsageErrorsExitTwo)
{
    EXPECT_EQ(runCli("").status, 2);
    EXPECT_EQ(runCli("frobnicate").status, 2);
    EXPECT_EQ(runCli("size").status, 2);
    EXPECT_EQ(runCli("--system-root").status, 2);
    EXPECT_EQ(runCli("browsers --bogus").status, 2);
    EXPECT_EQ(runCli("--profile").status, 2);
    EXPECT_EQ(runCli("--profile bsd scan").status, 2);
    EXPECT_EQ(runCli("scan", "TIDVALE_PROFILE=bsd").status, 2);
    EXPECT_EQ(runCli("--help").status, 0);
}

#ifdef TIDVALE_HELPER
TEST(AdminHelperBinary, RefusesEverythingOutsideTheRealFolders)
{
    TestTree t;
    t.file("victim", 1);
    const std::string cmd
        = std::string(TIDVALE_HELPER) + " -- " + shellQuote(t.path("victim")) + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    std::array<char, 4096> buf{};
    std::string out;
    while (size_t n = fread(buf.data(), 1, buf.size(), p))
        out.append(buf.data(), n);
    EXPECT_EQ(WEXITSTATUS(pclose(p)), 1);
    // The report names the path by its position only, never by its text.
    EXPECT_EQ(out, "refused\t0\n");
    EXPECT_TRUE(t.exists("victim"));
}
#endif

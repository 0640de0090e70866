// The system information commands, run as a user would.
#include "support/RunCli.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

TEST(SystemCli, AppsAndLaunchItemsUnderASystemRoot)
{
    TestTree t;
    t.text("sys/Applications/Editor.app/Contents/Info.plist",
        "<plist><dict><key>CFBundleShortVersionString</key><string>1.0</string>"
        "<key>CFBundleIdentifier</key><string>org.e</string></dict></plist>");
    t.file("sys/Applications/Editor.app/Contents/MacOS/e", 4000);
    t.file("home/Applications/Odd \"name\".app", 10);
    t.text("home/Library/LaunchAgents/a.plist",
        "<plist><dict><key>Label</key><string>com.a</string></dict></plist>");
    t.text("sys/Library/LaunchDaemons/d.plist", "nonsense");
    const std::string where = "--system-root " + shellQuote(t.path("sys")) + " ";
    const std::string home = "HOME=" + shellQuote(t.path("home"));

    auto a = nlohmann::json::parse(runCli("--json " + where + "apps", home).out);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0]["version"], "1.0");
    EXPECT_EQ(a[0]["bundleID"], "org.e");
    EXPECT_FALSE(a[0].contains("iconFile"));
    EXPECT_EQ(a[1]["name"], "Odd \"name\"");
    EXPECT_EQ(a[1]["size"], 10);
    auto text = runCli(where + "apps", home, true);
    EXPECT_NE(text.out.find("Leyendo Editor..."), std::string::npos);
    EXPECT_NE(text.out.find("2 aplicaciones"), std::string::npos);

    auto l
        = nlohmann::json::parse(runCli("--json --profile mac " + where + "launch-items", home).out);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0]["enabled"], true);
    EXPECT_EQ(l[0]["bundleID"], "com.a");
    EXPECT_EQ(l[0]["source"], "Agente (Usuario)");
    EXPECT_EQ(l[1]["bundleID"], "d"); // an unreadable list falls back to the file's name
    EXPECT_EQ(l[1]["source"], "Daemon (Sistema)");
}

TEST(SystemCli, MemoryAndDiskFigures)
{
    TestTree t;
    auto m = nlohmann::json::parse(runCli("--json memory").out);
    for (const char* key : {"total", "free", "active", "inactive", "wired", "compressed"})
        ASSERT_TRUE(m.contains(key)) << key;
    EXPECT_GT(m["total"].get<uint64_t>(), 0u);
    EXPECT_LE(m["free"].get<uint64_t>(), m["total"].get<uint64_t>());

    auto d = nlohmann::json::parse(runCli("--json disk", "HOME=" + shellQuote(t.root())).out);
    EXPECT_GT(d["total"].get<int64_t>(), 0);
    EXPECT_LE(d["free"].get<int64_t>(), d["total"].get<int64_t>());
    // A home that does not exist has no volume to read: zero figures, not an error.
    auto gone = runCli("--json disk", "HOME=" + shellQuote(t.path("missing")));
    ASSERT_EQ(gone.status, 0);
    EXPECT_EQ(nlohmann::json::parse(gone.out), (nlohmann::json{{"total", 0}, {"free", 0}}));
    EXPECT_EQ(runCli("memory extra").status, 2);
    EXPECT_EQ(runCli("apps --bogus").status, 2);
}

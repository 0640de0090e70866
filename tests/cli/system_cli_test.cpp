// The system information commands, run as a user would.
#include "support/RunCli.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <sstream>

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
    const std::string where = "--profile mac --system-root " + shellQuote(t.path("sys")) + " ";
    const std::string home = "HOME=" + shellQuote(t.path("home"));

    auto a = nlohmann::json::parse(runCli("--json " + where + "apps", home).out);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0]["version"], "1.0");
    EXPECT_EQ(a[0]["bundleID"], "org.e");
    EXPECT_FALSE(a[0].contains("iconFile"));
    EXPECT_EQ(a[0]["source"], "bundle");
    EXPECT_EQ(a[0]["removable"], true);
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

TEST(SystemCli, LinuxAppsSayWhatInstalledThemAndWhetherTheyGo)
{
    TestTree t;
    t.text("sys/var/lib/dpkg/status",
        "Package: ed\nStatus: install ok installed\n"
        "Architecture: amd64\nVersion: 1.19-1\nInstalled-Size: 100\n");
    t.text("sys/var/lib/dpkg/info/ed.list", "/usr/share/applications/ed.desktop\n");
    t.text("sys/usr/share/applications/ed.desktop", "[Desktop Entry]\nType=Application\nName=ed\n");
    t.text("home/.local/share/applications/mine.desktop",
        "[Desktop Entry]\nType=Application\nName=Mía\nExec=/nowhere/run\n");
    // No system bus here: PackageKit cannot be reached, and the row says so.
    const std::string env = "HOME=" + shellQuote(t.path("home"))
        + " XDG_DATA_HOME= XDG_DATA_DIRS= DBUS_SYSTEM_BUS_ADDRESS=unix:path="
        + shellQuote(t.path("no-bus"));
    auto a = nlohmann::json::parse(
        runCli("--json --profile linux --system-root " + shellQuote(t.path("sys")) + " apps", env)
            .out);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0]["name"], "ed");
    EXPECT_EQ(a[0]["source"], "deb");
    EXPECT_EQ(a[0]["size"], 102400);
    EXPECT_EQ(a[0]["version"], "1.19-1");
    EXPECT_EQ(a[0]["removable"], false);
    EXPECT_NE(a[0]["reason"].get<std::string>().find("PackageKit"), std::string::npos);
    EXPECT_EQ(a[1]["source"], "desktop");
    EXPECT_EQ(a[1]["removable"], false);
    EXPECT_TRUE(a[1].contains("reason"));
    auto text = runCli("--profile linux --system-root " + shellQuote(t.path("sys")) + " apps", env);
    EXPECT_NE(text.out.find("2 aplicaciones"), std::string::npos);
}

TEST(SystemCli, MemoryAndDiskFigures)
{
    TestTree t;
    auto m = nlohmann::json::parse(runCli("--json memory").out);
    for (const char* key : {"total", "free", "active", "inactive", "wired", "compressed"})
        ASSERT_TRUE(m.contains(key)) << key;
    EXPECT_GT(m["total"].get<uint64_t>(), 0u);
    EXPECT_LE(m["free"].get<uint64_t>(), m["total"].get<uint64_t>());

    const std::string home = "HOME=" + shellQuote(t.root());
    auto d = nlohmann::json::parse(runCli("--profile mac --json disk", home).out);
    EXPECT_GT(d["total"].get<int64_t>(), 0);
    EXPECT_LE(d["free"].get<int64_t>(), d["total"].get<int64_t>());
    EXPECT_EQ(d["name"], "Macintosh HD");
    EXPECT_EQ(d["used"].get<int64_t>(), d["total"].get<int64_t>() - d["free"].get<int64_t>());
    // A home that does not exist has no volume to read: zero figures, not an error.
    auto gone = runCli("--profile mac --json disk", "HOME=" + shellQuote(t.path("missing")));
    ASSERT_EQ(gone.status, 0);
    EXPECT_EQ(nlohmann::json::parse(gone.out),
        (nlohmann::json{{"name", "Macintosh HD"}, {"total", 0}, {"used", 0}, {"free", 0}}));
    EXPECT_EQ(runCli("memory extra").status, 2);
    EXPECT_EQ(runCli("apps --bogus").status, 2);
}

namespace {

std::string commandOutput(const std::string& command)
{
    FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
    std::string out;
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, p))
        out.append(buf, n);
    return pclose(p) == 0 ? out : std::string();
}

} // namespace

TEST(SystemCli, LinuxDiskFiguresAreDfsAndTheVolumeIsNamedByItsMount)
{
    TestTree t;
    const std::string dir = t.dir("home");
    // df and findmnt read the same volume the same way; an empty system root has no
    // labels, so the name is the mount point.
    const std::string df = commandOutput("df -B1 --output=used,avail,size " + shellQuote(dir));
    std::string mount = commandOutput("findmnt -n -o TARGET -T " + shellQuote(dir));
    if (df.empty() || mount.empty())
        GTEST_SKIP() << "df or findmnt is not available here";
    mount.erase(mount.find_last_not_of(" \n") + 1);
    std::istringstream figures(df.substr(df.find('\n') + 1));
    int64_t used = 0, avail = 0, size = 0;
    ASSERT_TRUE(figures >> used >> avail >> size);

    auto r = runCli("--profile linux --system-root " + shellQuote(t.dir("sys")) + " --json disk",
        "HOME=" + shellQuote(dir));
    ASSERT_EQ(r.status, 0);
    auto d = nlohmann::json::parse(r.out);
    EXPECT_EQ(d["total"].get<int64_t>(), size);
    // Other programs write meanwhile: the two reads may differ by what they wrote.
    constexpr int64_t kSlack = 256 << 20;
    EXPECT_NEAR(static_cast<double>(d["used"].get<int64_t>()), static_cast<double>(used), kSlack);
    EXPECT_NEAR(static_cast<double>(d["free"].get<int64_t>()), static_cast<double>(avail), kSlack);
    EXPECT_EQ(d["name"], mount == "/" ? "Sistema" : mount);
}

// The system information, startup item and developer cache commands, run as a user
// would, under a made-up home and system root for each profile.
#include "support/Contains.h"
#include "support/RunCli.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

struct SystemCli : ::testing::Test {
    TestTree t;
    std::string home = "HOME=" + shellQuote(t.dir("home"));
    std::string onMac = "--profile mac --system-root " + shellQuote(t.dir("sys")) + " ";
    // Every variable the Linux profile reads, set here or emptied, so that the
    // machine's own settings cannot leak in.
    std::string linuxEnv = home + " XDG_CONFIG_HOME=" + shellQuote(t.path("home/.config"))
        + " XDG_DATA_HOME=" + shellQuote(t.path("home/.local/share"))
        + " XDG_CACHE_HOME= XDG_DATA_DIRS= XDG_CONFIG_DIRS=/etc/xdg XDG_CURRENT_DESKTOP=GNOME"
        + " DBUS_SYSTEM_BUS_ADDRESS=unix:path=" + shellQuote(t.path("no-bus"))
        + " CCACHE_DIR= PIP_CACHE_DIR= npm_config_cache= NPM_CONFIG_CACHE= YARN_CACHE_FOLDER="
          " PNPM_HOME= GOCACHE= GOMODCACHE= GOPATH= GRADLE_USER_HOME= electron_config_cache="
          " npm_config_devdir= NPM_CONFIG_DEVDIR= ANDROID_HOME= ANDROID_SDK_ROOT= CARGO_HOME=";
    std::string onLinux = "--profile linux --system-root " + shellQuote(t.path("sys")) + " ";

    nlohmann::json json(const std::string& args, const std::string& env)
    {
        const auto run = runCli("--json " + args, env);
        EXPECT_EQ(run.status, 0) << args;
        return nlohmann::json::parse(run.out);
    }
};

} // namespace

TEST_F(SystemCli, AppsAndLaunchItemsOnTheMac)
{
    t.text("sys/Applications/Editor.app/Contents/Info.plist",
        "<plist><dict><key>CFBundleShortVersionString</key><string>1.0</string>"
        "<key>CFBundleIdentifier</key><string>org.e</string></dict></plist>");
    t.file("sys/Applications/Editor.app/Contents/MacOS/e", 4000);
    t.file("home/Applications/Odd \"name\".app", 10);
    t.text("home/Library/LaunchAgents/a.plist",
        "<plist><dict><key>Label</key><string>com.a</string></dict></plist>");

    const auto a = json(onMac + "apps", home);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0],
        (nlohmann::json{{"name", "Editor"}, {"path", t.path("sys/Applications/Editor.app")},
            {"size", a[0]["size"]}, {"version", "1.0"}, {"bundleID", "org.e"}, {"source", "bundle"},
            {"removable", true}}));
    EXPECT_EQ(a[1]["name"], "Odd \"name\"");

    const auto l = json(onMac + "launch-items", home);
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0]["bundleID"], "com.a");
    EXPECT_EQ(l[0]["source"], "Agente (Usuario)");
}

TEST_F(SystemCli, AppsAndLaunchItemsOnALinuxDesktop)
{
    t.text("sys/var/lib/dpkg/status",
        "Package: ed\nStatus: install ok installed\n"
        "Architecture: amd64\nVersion: 1.19-1\nInstalled-Size: 100\n");
    t.text("sys/var/lib/dpkg/info/ed.list", "/usr/share/applications/ed.desktop\n");
    t.text("sys/usr/share/applications/ed.desktop", "[Desktop Entry]\nType=Application\nName=ed\n");
    // No system bus here: PackageKit cannot be reached, and the row says so.
    const auto a = json(onLinux + "apps", linuxEnv);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0]["package"], "ed");
    EXPECT_EQ(a[0]["removable"], false);
    EXPECT_NE(a[0]["reason"].get<std::string>().find("PackageKit"), std::string::npos);

    const auto entry = [](const std::string& name) {
        return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=true\n";
    };
    const std::string mine = t.text("home/.config/autostart/mine.desktop", entry("Mine"));
    const std::string panel = t.text("sys/etc/xdg/autostart/panel.desktop", entry("Panel"));
    const std::string other = t.text("sys/etc/xdg/autostart/other.desktop", entry("Other"));
    EXPECT_EQ(json(onLinux + "launch-items", linuxEnv).size(), 3u);

    const auto run = runCli(onLinux + "launch-items --disable " + shellQuote(panel) + " "
            + shellQuote(mine) + " " + shellQuote(t.path("elsewhere.desktop")),
        linuxEnv);
    EXPECT_EQ(run.status, 1); // one path is no startup item
    EXPECT_CONTAINS(run.out, "no es un elemento de inicio");
    EXPECT_TRUE(t.exists("home/.local/share/Trash/files/mine.desktop"));
    EXPECT_EQ(json(onLinux + "launch-items --disable " + shellQuote(other), linuxEnv),
        (nlohmann::json::array({{{"path", other}, {"ok", true}, {"error", ""}}})));
}

TEST_F(SystemCli, DeveloperCachesOfEachProfile)
{
    t.file("home/Library/Developer/Xcode/DerivedData/App/x.o", 2000);
    const auto mac = json("--profile mac xcode", home);
    ASSERT_EQ(mac.size(), 11u);
    EXPECT_EQ(mac[0],
        (nlohmann::json{{"name", "DerivedData"},
            {"path", t.path("home/Library/Developer/Xcode/DerivedData")}, {"size", 2000},
            {"description", "Archivos compilados de proyectos Xcode"}, {"isSelected", true},
            {"isAvailable", true}, {"isRegenerable", true}}));

    t.file("home/.cache/pip/http/a", 1500);
    t.file("home/.m2/repository/org/apache/maven/x.jar", 400);
    EXPECT_EQ(json("--profile linux xcode", "TIDVALE_PROFILE=mac " + linuxEnv).size(), 16u); // wins
    EXPECT_EQ(json("xcode", "TIDVALE_PROFILE=linux " + linuxEnv).size(), 16u);

    // --clean says what it would do, then does it, for the ticked rows or the named ones.
    const auto plan = json("--profile linux xcode --clean", linuxEnv);
    EXPECT_EQ(plan["dryRun"], true);
    EXPECT_EQ(plan["removed"],
        (nlohmann::json::array({{{"path", t.path("home/.cache/pip")}, {"size", 1500}}})));
    EXPECT_TRUE(t.exists("home/.cache/pip/http/a"));
    EXPECT_EQ(runCli("--profile linux xcode --clean nada", linuxEnv).status, 2);
    t.protect("home/.cache/pip/http"); // immutable: the removal fails
    const auto failed = runCli("--json --profile linux xcode --clean --yes pip 'Maven Repository'"
                               " Electron",
        linuxEnv);
    EXPECT_EQ(failed.status, 1);
    const auto report = nlohmann::json::parse(failed.out);
    EXPECT_EQ(report["left"].size(), 2u); // pip failed, Electron is not there
    EXPECT_EQ(report["left"][0]["reason"], "No existe");
    EXPECT_FALSE(t.exists("home/.m2/repository")); // to the Trash
}

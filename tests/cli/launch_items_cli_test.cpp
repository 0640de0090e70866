// launch-items on a Linux desktop's autostart folders, as a script would run it.
#include "support/RunCli.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace {

std::string entry(const std::string& name, const std::string& extra = "")
{
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=true\n" + extra;
}

} // namespace

TEST(LaunchItemsCli, ListsAndDisablesAsTheScreenDoes)
{
    TestTree t;
    const std::string mine = t.text("home/.config/autostart/mine.desktop", entry("Mine"));
    const std::string panel = t.text("sys/etc/xdg/autostart/panel.desktop", entry("Panel"));
    t.text("sys/etc/xdg/autostart/kde.desktop", entry("KDE", "OnlyShowIn=KDE;\n"));
    const std::string env = "HOME=" + shellQuote(t.path("home"))
        + " XDG_CONFIG_HOME=" + shellQuote(t.path("home/.config"))
        + " XDG_DATA_HOME=" + shellQuote(t.path("home/.local/share"))
        + " XDG_CONFIG_DIRS=/etc/xdg XDG_CURRENT_DESKTOP=GNOME";
    const std::string onLinux = "--profile linux --system-root " + shellQuote(t.path("sys")) + " ";

    auto l = nlohmann::json::parse(runCli("--json " + onLinux + "launch-items", env).out);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0]["bundleID"], "Mine");
    EXPECT_EQ(l[0]["source"], "Inicio (Usuario)");
    EXPECT_EQ(l[1]["path"], t.path("sys/etc/xdg/autostart/kde.desktop"));
    EXPECT_EQ(l[1]["enabled"], false);
    EXPECT_EQ(l[2]["enabled"], true);
    EXPECT_NE(runCli(onLinux + "launch-items", env).out.find("Inicio (Sistema) · desactivado"),
        std::string::npos);

    const auto run = runCli(onLinux + "launch-items --disable " + shellQuote(panel) + " "
            + shellQuote(mine) + " " + shellQuote(t.path("elsewhere.desktop")),
        env);
    EXPECT_EQ(run.status, 1); // one path is no startup item
    EXPECT_EQ(run.out,
        "✅ Desactivado: Panel\n✅ Movido a la Papelera: Mine\n❌ Error: \u201c"
            + t.path("elsewhere.desktop") + "\u201d no es un elemento de inicio.\n");
    std::stringstream copy;
    copy << std::ifstream(t.path("home/.config/autostart/panel.desktop")).rdbuf();
    EXPECT_EQ(
        copy.str(), "[Desktop Entry]\nHidden=true\nType=Application\nName=Panel\nExec=true\n");
    EXPECT_TRUE(t.exists("home/.local/share/Trash/files/mine.desktop"));
    EXPECT_TRUE(t.exists("sys/etc/xdg/autostart/panel.desktop"));

    auto ok = nlohmann::json::parse(runCli("--json " + onLinux + "launch-items --disable "
            + shellQuote(t.path("sys/etc/xdg/autostart/kde.desktop")),
        env)
                                        .out);
    EXPECT_EQ(ok,
        (nlohmann::json::array({{{"path", t.path("sys/etc/xdg/autostart/kde.desktop")},
            {"ok", true}, {"error", ""}}})));
    EXPECT_EQ(runCli(onLinux + "launch-items --disable", env).status, 2);
    EXPECT_EQ(runCli(onLinux + "launch-items extra", env).status, 2);
}

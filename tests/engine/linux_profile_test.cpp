// The shared scanner and removal on a Linux desktop's folders, rooted in a temporary
// home and system root.
#include "engine/admin/AdminPolicy.h"
#include "engine/desktop/UserDirs.h"
#include "engine/junk/AdminStage.h"
#include "engine/junk/ScanService.h"

#include "support/Names.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

struct LinuxDesktop : ::testing::Test, TestContext {
    LinuxDesktop()
        : TestContext(linuxPlaces())
    {
    }
    const ScanService service{context};
};

} // namespace

TEST_F(LinuxDesktop, JunkComesFromTheDesktopsOwnFolders)
{
    tree.file("home/.cache/thumbnails/big", 600'000);
    tree.file("home/.cache/fontconfig/cache", 600'000); // kept: every program maps it
    tree.file("home/.cache/small", 10);
    tree.file("home/Library/Caches/mac-only/x", 600'000); // a Mac folder means nothing here
    tree.file("sys/var/cache/apt/archives/tool_1.0_amd64.deb", 100);
    tree.file("sys/var/cache/debconf/config.dat", 100);
    tree.file("sys/var/log/syslog", 5);
    tree.file("sys/var/log/syslog.1", 7);
    tree.setMtime("sys/var/log/syslog.1", std::time(nullptr) - 2 * 3600); // done being written
    tree.file("home/.local/share/Trash/files/informe", 3);

    std::vector<std::string> steps, rows;
    const auto items = service.scanSystemJunk([&](const std::string& t) { steps.push_back(t); });
    EXPECT_EQ(steps.size(), 5u);
    for (const auto& i : items)
        rows.push_back(
            i.name + "|" + std::string(displayName(i.category)) + "|" + std::to_string(i.size));
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows,
        (std::vector<std::string>{"informe|Papelera|3", "syslog.1|Registros del Sistema|7",
            "thumbnails|Caché de Usuario|600000", "tool_1.0_amd64.deb|Caché del Sistema|100"}));

    EXPECT_TRUE(failures(service.deleteItems(items)).empty());
    EXPECT_FALSE(tree.exists("home/.local/share/Trash/files/informe"));
    EXPECT_FALSE(tree.exists("sys/var/log/syslog.1"));
    EXPECT_TRUE(tree.exists("sys/var/log/syslog"));
    EXPECT_TRUE(tree.exists("home/.cache/fontconfig/cache"));
}

TEST_F(LinuxDesktop, ChromiumCachesAndHistory)
{
    tree.file("home/.cache/chromium/Default/Cache/Cache_Data/data_0", 40);
    tree.file("home/.config/chromium/Default/GPUCache/data_1", 30);
    tree.file("home/.config/chromium/Default/History", 20);
    tree.file("home/.mozilla/firefox/places/places.sqlite", 20);

    const auto caches = service.scanBrowsers(false);
    ASSERT_EQ(caches.size(), 2u);
    for (const auto& item : caches)
        EXPECT_EQ(item.category, ScanCategory::browserChromium);
    const auto all = service.scanBrowsers(true);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all.back().name, "Historial · History");
    EXPECT_FALSE(all.back().isSelected);
}

// Between the scan and the clean one cache entry became a link, and then the cache
// folder itself a link to the home: the link alone goes and counts as a link, and
// nothing of the home is touched.
TEST_F(LinuxDesktop, ACleanTrustsNothingThatChangedSinceTheScan)
{
    tree.file("home/.cache/a/blob", 600'000);
    tree.file("home/.cache/b/blob", 600'000);
    const auto items = service.scanSystemJunk();
    ASSERT_EQ(items.size(), 2u);
    const ScanItem& a = items[0].name == "a" ? items[0] : items[1];
    const ScanItem& b = items[0].name == "a" ? items[1] : items[0];

    std::filesystem::remove_all(tree.path("home/.cache/a"));
    const std::string target = tree.file("elsewhere/big", 900'000);
    tree.link("home/.cache/a", target);
    const auto swapped = service.deleteItems({a});
    EXPECT_TRUE(failures(swapped).empty());
    EXPECT_EQ(swapped.freed(), static_cast<int64_t>(target.size()));
    EXPECT_TRUE(tree.exists("elsewhere/big"));

    std::filesystem::rename(tree.path("home/.cache"), tree.path("home/old-cache"));
    tree.link("home/.cache", tree.path("home"));
    tree.file("home/b/tesis.odt", 10); // what home/.cache/b leads to now
    const auto refused = service.deleteItems({b});
    ASSERT_EQ(failures(refused).size(), 1u);
    EXPECT_EQ(refused.freed(), 0);
    EXPECT_NE(failures(refused)[0].second.find("es tu carpeta de inicio"), std::string::npos);
    EXPECT_TRUE(tree.exists("home/b/tesis.odt"));
}

// The allow-list's own rules are checked with the listings; here, that it is theirs.
TEST_F(LinuxDesktop, AdministratorTakesOnlyFinishedLogsAndDownloadedPackages)
{
    const std::string sys = tree.path("sys");
    tree.file("sys/var/log/apt/history.log.2.gz", 1);
    tree.setMtime("sys/var/log/apt/history.log.2.gz", std::time(nullptr) - 2 * 3600);
    tree.file("sys/var/log/auth.log", 1);
    tree.file("sys/var/cache/apt/archives/x.deb", 1);
    tree.file("sys/Library/Caches/mac", 1);
    EXPECT_EQ(adminAreaOf(adminAreasOf(context), sys + "/var/log/apt/history.log.2.gz"),
        sys + "/var/log");
    EXPECT_TRUE(isAdminDeletable(adminAreasOf(context), sys + "/var/cache/apt/archives/x.deb"));
    EXPECT_FALSE(isAdminDeletable(adminAreasOf(context), sys + "/var/log/auth.log"));
    EXPECT_FALSE(isAdminDeletable(adminAreasOf(context), sys + "/Library/Caches/mac"));
}

TEST_F(LinuxDesktop, PersonalFoldersAreTheDesktopsNames)
{
    tree.text("config/user-dirs.dirs", "XDG_VIDEOS_DIR=\"" + tree.path("Vídeos") + "\"\n");
    setEnv("XDG_CONFIG_HOME", tree.path("config"));
    const auto& folders = context.folders.personal;
    ASSERT_EQ(folders.size(), 6u);
    EXPECT_EQ(folders[0], context.folders.realHome + "/Downloads");
    EXPECT_EQ(folders[4], tree.path("Vídeos"));
}

namespace {

const std::string kSpanish = "# This file is written by xdg-user-dirs-update\n"
                             "# If you want to change or add directories, just edit the line\n"
                             "XDG_DESKTOP_DIR=\"$HOME/Escritorio\"\n"
                             "XDG_DOWNLOAD_DIR=\"$HOME/Descargas\"\n"
                             "XDG_TEMPLATES_DIR=\"$HOME/Plantillas\"\n"
                             "XDG_PUBLICSHARE_DIR=\"$HOME/P\xc3\xba"
                             "blico\"\n"
                             "XDG_DOCUMENTS_DIR=\"$HOME/Documentos\"\n"
                             "XDG_MUSIC_DIR=\"$HOME/M\xc3\xbasica\"\n"
                             "XDG_PICTURES_DIR=\"$HOME/Im\xc3\xa1genes\"\n"
                             "XDG_VIDEOS_DIR=\"$HOME/V\xc3\xad"
                             "deos\"\n";

std::vector<std::string> under(const std::string& home, const std::vector<std::string>& names)
{
    std::vector<std::string> out;
    for (const auto& n : names)
        out.push_back(home + "/" + n);
    return out;
}

} // namespace

TEST(LinuxUserDirs, ReadsTheDesktopsNamesAndDefaultsWhatIsMissing)
{
    TestTree t;
    const std::string home = t.dir("ana");
    const std::vector<std::string> english
        = under(home, {"Downloads", "Documents", "Desktop", "Pictures", "Videos", "Music"});
    EXPECT_EQ(personalFolders(home, "").inOrder(), english); // no file at all

    t.text("ana/.config/user-dirs.dirs", kSpanish);
    const PersonalFolders es = personalFolders(home + "/", "");
    EXPECT_EQ(es.downloads, home + "/Descargas");
    EXPECT_EQ(es.inOrder(),
        under(home,
            {"Descargas", "Documentos", "Escritorio", "Im\xc3\xa1genes",
                "V\xc3\xad"
                "deos",
                "M\xc3\xbasica"}));
    // XDG_CONFIG_HOME wins when absolute; a relative one is ignored.
    t.text("conf/user-dirs.dirs", "XDG_MUSIC_DIR=\"/srv/m\xc3\xbasica/\"\n");
    EXPECT_EQ(personalFolders(home, t.path("conf")).music, "/srv/m\xc3\xbasica");
    EXPECT_EQ(personalFolders(home, t.path("conf")).downloads, home + "/Downloads");
    EXPECT_EQ(personalFolders(home, "conf").downloads, home + "/Descargas");
}

TEST(LinuxUserDirs, ReadsValuesAsTheShellWouldAndRefusesOtherForms)
{
    const std::string h = "/home/ana";
    const std::pair<std::string, std::string> cases[]
        = {{"XDG_DOWNLOAD_DIR=\"$HOME/Mis \\\"Descargas\\\"\"", h + "/Mis \"Descargas\""},
            {"XDG_DOWNLOAD_DIR=\"$HOME/a\\\\b \\$x \\`c\\`\"", h + "/a\\b $x `c`"},
            {"XDG_DOWNLOAD_DIR=\"/srv/compartido/\"", "/srv/compartido"},
            {"  XDG_DOWNLOAD_DIR=\"$HOME/sangrado\"  # nota\r", h + "/sangrado"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/uno\"\nXDG_DOWNLOAD_DIR=\"$HOME\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOME\"", h + "/Downloads"}, // disabled
            {"XDG_DOWNLOAD_DIR=\"$HOMEWORK/x\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/$USER\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/`rm -rf x`\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"Descargas\"", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=$HOME/sin-comillas", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR=\"$HOME/a\"basura", h + "/Downloads"},
            {"XDG_DOWNLOAD_DIR_OLD=\"$HOME/otra\"", h + "/Downloads"},
            {std::string("XDG_DOWNLOAD_DIR=\"$HOME/a\0b\"", 28), h + "/Downloads"}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parseUserDirs(text, h).downloads, expected) << text;
    EXPECT_EQ(parseUserDirs("XDG_DOWNLOAD_DIR=\"$HOME/d\"", "/").downloads, "/d");
}

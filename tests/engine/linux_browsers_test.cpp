#include "engine/browsers/linux/BrowserLocations.h"
#include "engine/browsers/linux/FirefoxProfiles.h"

#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <vector>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

// Each candidate as "browser | name | path below the tree".
std::vector<std::string> rows(const std::vector<BrowserCandidate>& list, const TestTree& t)
{
    std::vector<std::string> out;
    for (const auto& c : list)
        out.push_back(std::string(browserName(c.browser)) + " | " + c.candidate.name + " | "
            + c.candidate.path.substr(t.root().size() + 1));
    return out;
}

} // namespace

TEST(LinuxFirefoxProfiles, ProfilesIniRelativeAbsoluteAndRefused)
{
    const FirefoxInstall install{
        {"/h/.mozilla", {"firefox"}}, {"/h/.cache", {"mozilla", "firefox"}}};
    auto profiles
        = parseProfilesIni("[General]\r\nStartWithLastProfile=1\r\n"
                           "[Profile1]\r\nName=default\r\nIsRelative=1\r\nPath=ab.default\r\n"
                           "[Install4F96D1932A9F858E]\nDefault=ignored.default\n"
                           "[Profile0]\n IsRelative = 0 \nPath=/data/ff/work/\n"
                           "[Profile2]\nIsRelative=1\nPath=../../escape\n"
                           "[ProfileX]\nIsRelative=1\nPath=not-a-profile\n"
                           "[Profile4]\nIsRelative=1\nPath=/absolute-but-relative\n",
            install);
    ASSERT_EQ(profiles.size(), 2u);
    EXPECT_EQ(profiles[0].folderName, "ab.default");
    EXPECT_EQ(profiles[0].folder.path(), "/h/.mozilla/firefox/ab.default");
    EXPECT_EQ(profiles[0].cache.path(), "/h/.cache/mozilla/firefox/ab.default");
    // Firefox keeps an absolute profile's cache inside the profile itself.
    EXPECT_EQ(profiles[1].folderName, "work");
    EXPECT_EQ(profiles[1].cache.path(), "/data/ff/work");
}

TEST(LinuxBrowserCaches, FindsEveryInstallProfileAndHistory)
{
    TestTree t;
    const auto f = desktopFolders(t.path("home"), ::geteuid(), "", "", "");
    t.text("home/.mozilla/firefox/profiles.ini", "[Profile0]\nIsRelative=1\nPath=old.default\n");
    t.dir("home/.cache/mozilla/firefox/old.default/cache2");
    t.text("home/.config/mozilla/firefox/profiles.ini",
        "[Profile0]\nIsRelative=1\nPath=new.default-esr\n[Profile1]\nIsRelative=0\nPath="
            + t.path("elsewhere/work") + "\n[Profile2]\nIsRelative=1\nPath=linked.default\n");
    t.dir("home/.cache/mozilla/firefox/new.default-esr/cache2");
    t.dir("elsewhere/work/cache2");
    t.dir("outside/cache2");
    t.link("home/.cache/mozilla/firefox/linked.default", t.path("outside"));
    t.text(
        "home/snap/firefox/common/.mozilla/firefox/profiles.ini", "[Profile0]\nPath=s.default\n");
    t.dir("home/snap/firefox/common/.cache/mozilla/firefox/s.default/cache2");

    t.dir("home/.config/chromium/Default/GPUCache");
    t.dir("home/.cache/chromium/Default/Cache/Cache_Data");
    t.dir("home/.cache/chromium/Default/Code Cache/js");
    t.dir("home/.cache/chromium/Profile 1/Cache");
    t.dir("home/.cache/chromium/Profile x/Cache");
    t.dir("home/.config/chromium/Crash Reports/GPUCache");
    t.dir("home/.var/app/com.google.Chrome/cache/google-chrome/Default/Cache");
    t.dir("home/snap/chromium/common/.cache/chromium/Profile 2/Code Cache");
    t.dir("home/.config/BraveSoftware/Brave-Browser/Default/GPUCache");
    ASSERT_EQ(::chown(t.path("home/.config/BraveSoftware/Brave-Browser/Default/GPUCache").c_str(),
                  65534, 65534),
        0); // not the user's

    EXPECT_EQ(rows(listBrowserCaches(f), t),
        (std::vector<std::string>{"Mozilla Firefox | Caché (old.default) | "
                                  "home/.cache/mozilla/firefox/old.default/cache2",
            "Mozilla Firefox | Caché (new.default-esr) | "
            "home/.cache/mozilla/firefox/new.default-esr/cache2",
            "Mozilla Firefox | Caché (work) | elsewhere/work/cache2",
            "Mozilla Firefox | Caché (s.default) | "
            "home/snap/firefox/common/.cache/mozilla/firefox/s.default/cache2",
            "Google Chrome | Cache (Flatpak) | "
            "home/.var/app/com.google.Chrome/cache/google-chrome/Default/Cache",
            "Chromium | Cache | home/.cache/chromium/Default/Cache",
            "Chromium | Code Cache | home/.cache/chromium/Default/Code Cache",
            "Chromium | GPUCache | home/.config/chromium/Default/GPUCache",
            "Chromium | Cache (Profile 1) | home/.cache/chromium/Profile 1/Cache",
            "Chromium | Code Cache (Profile 2, Snap) | "
            "home/snap/chromium/common/.cache/chromium/Profile 2/Code Cache"}));

    // History: the Chromium family's only, never Firefox's places.
    t.file("home/.config/google-chrome/Default/History", 10);
    t.file("home/.config/google-chrome/Default/History-journal", 0);
    t.file("home/.config/microsoft-edge/Profile 3/History", 10);
    t.file("home/.config/mozilla/firefox/a.default/places.sqlite", 10);
    EXPECT_EQ(rows(listBrowserHistory(f), t),
        (std::vector<std::string>{
            "Google Chrome | Historial · History | home/.config/google-chrome/Default/History",
            "Google Chrome | Historial · History-journal | "
            "home/.config/google-chrome/Default/History-journal",
            "Microsoft Edge | Historial · History (Profile 3) | "
            "home/.config/microsoft-edge/Profile 3/History"}));
}

TEST(LinuxBrowserIdentity, ExecutablesAndDataRoots)
{
    EXPECT_EQ(browserOfExecutable("/usr/lib/firefox-esr/firefox-esr"), LinuxBrowser::firefox);
    EXPECT_EQ(
        browserOfExecutable("/snap/firefox/4173/usr/lib/firefox/firefox"), LinuxBrowser::firefox);
    EXPECT_EQ(browserOfExecutable("/usr/lib/chromium/chromium (deleted)"), LinuxBrowser::chromium);
    EXPECT_EQ(browserOfExecutable("/snap/chromium/2890/usr/lib/chromium-browser/chrome"),
        LinuxBrowser::chromium);
    EXPECT_EQ(browserOfExecutable("/app/extra/chrome"), LinuxBrowser::chrome);
    EXPECT_EQ(browserOfExecutable("/opt/microsoft/msedge/msedge"), LinuxBrowser::edge);
    EXPECT_EQ(browserOfExecutable("/opt/brave.com/brave/brave"), LinuxBrowser::brave);
    EXPECT_EQ(browserOfExecutable("/usr/bin/python3"), std::nullopt);
    EXPECT_EQ(browserOfExecutable("/opt/chromium-tools/chromedriver"), std::nullopt);
    EXPECT_EQ(executableBaseName("/usr/lib/firefox-esr/firefox-esr (deleted)"), "firefox-esr");

    TestTree t;
    const auto f = desktopFolders(t.path("home"), ::geteuid(), "", t.path("cfg"), "");
    t.text("cfg/mozilla/firefox/profiles.ini", "[Profile0]\nIsRelative=0\nPath=/srv/ff/work\n");
    auto firefox = browserDataRoots(LinuxBrowser::firefox, f);
    for (const std::string& root : {t.path("home/.mozilla/firefox"), t.path("cfg/mozilla/firefox"),
             t.path("home/.cache/mozilla/firefox"), t.path("home/.var/app/org.mozilla.firefox"),
             std::string("/srv/ff/work")})
        EXPECT_NE(std::find(firefox.begin(), firefox.end(), root), firefox.end()) << root;
    EXPECT_EQ(browserDataRoots(LinuxBrowser::chromium, f),
        (std::vector<std::string>{t.path("cfg/chromium"), t.path("home/.cache/chromium"),
            t.path("home/snap/chromium"), t.path("home/.var/app/org.chromium.Chromium")}));
}

// The developer caches tool: Xcode's locations on the Mac, the developer tools' caches
// on a Linux desktop (where each keeps its cache and what its variables move), and how
// a clean treats kept data, settings files, links and read-only trees.
#include "engine/devcaches/XcodeCleaner.h"
#include "engine/devcaches/XcodeLocations.h"
#include "engine/devcaches/linux/DeveloperCaches.h"
#include "engine/fs/PathText.h"

#include "support/Names.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <map>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

struct XcodeFixture : ::testing::Test, TestContext {
    std::string home = context.folders.home;

    std::string dev(const std::string& rel) const { return "home/Library/Developer/" + rel; }
    XcodeListing list() const
    {
        return listXcodeLocations(
            context.places.developer->locations(context), {}, treeMeasure(*context.pool));
    }
};

} // namespace

TEST_F(XcodeFixture, TicksOnlyRegenerableLocationsThatHoldData)
{
    tree.file(dev("Xcode/DerivedData/App-abc/Build/x.o"), 4000);
    tree.file(dev("Xcode/Archives/2024/App.xcarchive/dSYM"), 3000);
    tree.dir(dev("CoreSimulator/Caches/empty/sub"));
    tree.file(dev("CoreSimulator/Devices/UDID/data.img"), 2000);
    tree.file(dev("XCPlaygrounds/page.swift"), 10);

    const auto listing = list();
    EXPECT_TRUE(named(listing.items, "DerivedData").isSelected);
    for (const char* kept : {"Archives", "CoreSimulator Devices", "Playground Pages"}) {
        const auto& item = named(listing.items, kept);
        EXPECT_TRUE(item.isAvailable && !item.isSelected && !item.isRegenerable) << kept;
    }
    // Present but empty: "Vacío", unticked, and ticking it by hand still cleans nothing.
    auto empty = named(listing.items, "CoreSimulator Caches");
    EXPECT_FALSE(empty.isSelected);
    EXPECT_EQ(xcodeSizeText(empty), "Vacío");
    empty.isSelected = true;
    EXPECT_FALSE(isCleanable(empty));

    EXPECT_EQ(xcodeSizeText(named(listing.items, "Instruments")), "—"); // not there at all
    EXPECT_EQ(xcodeListingStatus(listing), "5 ubicaciones · 9 KB en total");
}

TEST_F(XcodeFixture, RegenerableDeletedKeptDataTrashedNestedCheckoutsFreeNothing)
{
    tree.file(dev("Xcode/DerivedData/App/Build/x.o"), 4000);
    tree.file(dev("Xcode/DerivedData/SwiftPM/checkouts/dep/Package.swift"), 600);
    tree.file(dev("Xcode/Archives/App.xcarchive/Info.plist"), 300);
    tree.file(dev("Instruments/AutoSave Information/run.trace"), 50);

    auto listing = list();
    // The checkouts have their own row but are part of DerivedData's bytes: counted once.
    EXPECT_EQ(named(listing.items, "SPM Checkouts").size, 600);
    EXPECT_EQ(listing.total, 4600 + 300 + 50);
    named(listing.items, "Archives").isSelected = true;

    const auto selection = xcodeCleanSelection(listing.items);
    ASSERT_EQ(selection.size(), 4u);
    const auto outcome = cleanXcodeLocations(context, selection);
    EXPECT_EQ(outcome.freed(), 4600 + 300 + 50); // not the checkouts, gone with DerivedData
    EXPECT_TRUE(leftPaths(outcome).empty());
    EXPECT_FALSE(tree.exists(dev("Xcode/DerivedData")));
    EXPECT_FALSE(tree.exists(dev("Instruments/AutoSave Information")));
    ASSERT_EQ(trash->moved, std::vector<std::string>{named(listing.items, "Archives").path});
    EXPECT_TRUE(tree.exists("trash/1/App.xcarchive/Info.plist"));
    EXPECT_TRUE(tree.exists(dev("Instruments"))); // only the location itself goes

    applyXcodeClean(listing.items, outcome);
    for (const auto& item : listing.items)
        EXPECT_FALSE(isCleanable(item)) << item.name;
    for (const char* name : {"SPM Checkouts", "Archives"}) // until the next scan
        EXPECT_EQ(xcodeSizeText(named(listing.items, name)), "Vacío");
    EXPECT_EQ(xcodeCleanStatus(listing.items, outcome), "✅ Liberado: 5 KB");
}

// Another folder standing at the path by the time of the clean is not the data the
// user was shown: it stays where it is, and the row is named as not cleaned.
TEST_F(XcodeFixture, KeptDataReplacedSinceTheListingStays)
{
    tree.file(dev("Xcode/Archives/App.xcarchive/Info.plist"), 300);
    auto listing = list();
    auto& archives = named(listing.items, "Archives");
    archives.isSelected = true;
    ASSERT_EQ(::rename(archives.path.c_str(), tree.path(dev("Xcode/Old")).c_str()), 0);
    tree.file(dev("Xcode/Archives/Other.xcarchive/Info.plist"), 300);

    const auto outcome = cleanXcodeLocations(context, xcodeCleanSelection(listing.items));
    EXPECT_TRUE(trash->moved.empty());
    EXPECT_EQ(leftPaths(outcome), std::vector<std::string>{archives.path});
    EXPECT_TRUE(tree.exists(dev("Xcode/Archives/Other.xcarchive/Info.plist")));
}

TEST_F(XcodeFixture, FailedRemovalsKeepTheirRowAndAreNamed)
{
    tree.file(dev("Xcode/iOS DeviceSupport/17.0/Symbols/dyld"), 8000);
    tree.file(dev("CoreSimulator/Caches/dyld/cache"), 700);
    tree.file(dev("CoreSimulator/Devices/UDID/data"), 900);
    tree.protect(dev("Xcode/iOS DeviceSupport/17.0/Symbols"));

    auto listing = list();
    named(listing.items, "CoreSimulator Devices").isSelected = true;
    trash->refuse.push_back(named(listing.items, "CoreSimulator Devices").path);

    const auto outcome = cleanXcodeLocations(context, xcodeCleanSelection(listing.items));
    EXPECT_EQ(outcome.freed(), 700);
    EXPECT_EQ(leftPaths(outcome).size(), 2u);
    EXPECT_TRUE(tree.exists(dev("Xcode/iOS DeviceSupport/17.0/Symbols/dyld")));
    EXPECT_TRUE(tree.exists(dev("CoreSimulator/Devices/UDID/data")));

    applyXcodeClean(listing.items, outcome);
    EXPECT_EQ(named(listing.items, "iOS DeviceSupport").size, 8000);
    EXPECT_TRUE(isCleanable(named(listing.items, "iOS DeviceSupport")));
    EXPECT_EQ(named(listing.items, "CoreSimulator Caches").size, 0);
    EXPECT_EQ(xcodeCleanStatus(listing.items, outcome),
        "✅ Liberado: 700 bytes · ⚠️ No se pudo limpiar: iOS DeviceSupport, CoreSimulator "
        "Devices");
}

TEST_F(XcodeFixture, LinkedLocationsAreListedAndCleanedAsTheLink)
{
    // DerivedData and Archives moved elsewhere and linked back: each row is the link.
    tree.file("elsewhere/DerivedData/big", 3'000'000);
    tree.file("elsewhere/DerivedData/SwiftPM/checkouts/dep/Package.swift", 600);
    tree.file("elsewhere/Archives/App.xcarchive/Info.plist", 300);
    tree.dir(dev("Xcode"));
    const std::string derived = tree.path("elsewhere/DerivedData");
    const std::string archives = tree.path("elsewhere/Archives");
    tree.link(dev("Xcode/DerivedData"), derived);
    tree.link(dev("Xcode/Archives"), archives);

    auto listing = list();
    EXPECT_TRUE(named(listing.items, "DerivedData").isLink);
    EXPECT_EQ(named(listing.items, "Archives").description,
        "Archivos .xcarchive exportados · Enlace · No se regenera (va a la Papelera)");
    // Beyond the link lies the target's data, which no row may reach.
    EXPECT_FALSE(named(listing.items, "SPM Checkouts").isAvailable);
    EXPECT_EQ(listing.total, static_cast<int64_t>(derived.size() + archives.size()));

    named(listing.items, "Archives").isSelected = true;
    const auto outcome = cleanXcodeLocations(context, xcodeCleanSelection(listing.items));
    EXPECT_EQ(outcome.freed(), static_cast<int64_t>(derived.size() + archives.size()));
    EXPECT_FALSE(tree.exists(dev("Xcode/DerivedData")));
    ASSERT_EQ(trash->moved, std::vector<std::string>{tree.path(dev("Xcode/Archives"))});
    EXPECT_TRUE(tree.exists("elsewhere/DerivedData/SwiftPM/checkouts/dep/Package.swift"));
    EXPECT_TRUE(tree.exists("elsewhere/Archives/App.xcarchive/Info.plist"));
}

namespace {

using Env = std::map<std::string, std::string>;

struct DeveloperCachesFixture : ::testing::Test, TestContext {
    DeveloperCachesFixture()
        : TestContext(linuxPlaces())
    {
    }
    std::string home = context.folders.home;

    std::vector<XcodeLocation> table(
        const Env& env, std::string_view xdgCache = "", std::string_view xdgData = "") const
    {
        return developerCaches(
            desktopFolders(home, 0, xdgCache, "", xdgData), [&env](const char* name) {
                auto it = env.find(name);
                return it == env.end() ? std::string() : it->second;
            });
    }

    static std::map<std::string, std::string> paths(const std::vector<XcodeLocation>& t)
    {
        std::map<std::string, std::string> out;
        for (const auto& r : t)
            out[r.name] = r.path;
        return out;
    }
};

} // namespace

TEST_F(DeveloperCachesFixture, WhereEachCacheLiesAndWhatGoesToTheTrash)
{
    const auto t = table({});
    ASSERT_EQ(t.size(), 16u);
    // What cannot be fetched again offline, or holds the IDEs' local history, goes to
    // the Trash; everything else is deleted.
    for (const auto& r : t) {
        const bool kept = r.name == "Maven Repository" || r.name == "Go Modules"
            || r.name == "Android System Images" || r.name == "JetBrains";
        EXPECT_EQ(r.regenerable, !kept) << r.name;
        EXPECT_EQ(r.readOnlyFolders, r.name == "Go Modules") << r.name;
    }
    EXPECT_EQ(named(t, "ccache").keep, std::vector<std::string>{"ccache.conf"});
    // The XDG folders move what lives in them, and only that.
    const auto xdg = paths(table({}, "/x/cache", "/x/data"));
    EXPECT_EQ(xdg.at("pip"), "/x/cache/pip");
    EXPECT_EQ(xdg.at("pnpm Store"), "/x/data/pnpm/store");
    EXPECT_EQ(xdg.at("npm"), home + "/.npm/_cacache");

    // Each tool's own variable, where it does more than name the folder.
    const auto p = paths(table({{"CCACHE_DIR", "/v/ccache/"}, {"npm_config_cache", "/v/npm"},
        {"GOPATH", "/v/gopath:/v/other"}, {"CARGO_HOME", "/v/cargo"}}));
    EXPECT_EQ(p.at("ccache"), "/v/ccache");
    EXPECT_EQ(p.at("npm"), "/v/npm/_cacache");          // npm's variable names the folder above
    EXPECT_EQ(p.at("Go Modules"), "/v/gopath/pkg/mod"); // the first GOPATH entry
    EXPECT_EQ(p.at("Cargo Git Checkouts"), "/v/cargo/git/checkouts");
    // GOMODCACHE wins over GOPATH, ANDROID_HOME over the older ANDROID_SDK_ROOT.
    const auto q = paths(table({{"GOMODCACHE", "/m"}, {"GOPATH", "/g"}, {"ANDROID_HOME", "/a"},
        {"ANDROID_SDK_ROOT", "/old"}}));
    EXPECT_EQ(q.at("Go Modules"), "/m");
    EXPECT_EQ(q.at("Android System Images"), "/a/system-images");
}

TEST_F(DeveloperCachesFixture, RefusedValuesKeepTheirRowAndSayWhy)
{
    // A relative or empty value is not a folder the tool could be sure of either.
    for (const std::string& stray : {std::string(), std::string("~/.ccache")})
        EXPECT_EQ(paths(table({{"CCACHE_DIR", stray}})).at("ccache"), home + "/.cache/ccache")
            << stray;
    // A value that is the home, above it, a personal folder or a link to one is where
    // the tool really writes: the row stays there, refused, rather than falling back
    // silently. A folder a row lies below counts as much as the row's own.
    tree.dir("home/Documents");
    tree.link("home/to-home", home);
    const std::pair<const char*, std::string> refused[]
        = {{"CCACHE_DIR", home}, {"CCACHE_DIR", "/"}, {"CCACHE_DIR", home + "/to-home"},
            {"PIP_CACHE_DIR", home + "/Documents"}, {"GOPATH", home}, {"CARGO_HOME", home + "/"},
            {"GRADLE_USER_HOME", tree.root()}};
    for (const auto& [variable, value] : refused) {
        const auto rows = table({{variable, value}});
        const std::string resolved = resolvedPath(value).value_or(value);
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
            [&](const XcodeLocation& r) {
                return isSameOrInside(r.path, resolved) && !r.refusal.empty();
            }))
            << variable << "=" << value;
    }
    auto cargoHome = table({{"CARGO_HOME", home}});
    EXPECT_EQ(named(cargoHome, "Cargo Git Checkouts").refusal,
        "CARGO_HOME=" + home + " es tu carpeta de inicio");
    // ccache keeps using its older folder while it exists.
    tree.dir("home/.ccache");
    EXPECT_EQ(paths(table({})).at("ccache"), home + "/.ccache");
}

TEST_F(DeveloperCachesFixture, CleanKeepsCcacheSettingsAndOpensUpGoModulesForTheTrash)
{
    tree.file("home/.cache/ccache/a/b/obj.o", 3000);
    tree.text("home/.cache/ccache/ccache.conf", "max_size = 20G\n");
    tree.file("home/go/pkg/mod/example.com/m@v1.0.0/m.go", 400);
    tree.file("home/go/pkg/mod/cache/download/example.com/m/@v/v1.0.0.zip", 300);
    tree.file("home/.m2/repository/org/apache/maven/x/1.0/x.jar", 200);
    tree.file("shared/tool/bin", 10);
    tree.link("home/go/pkg/mod/example.com/shared", tree.path("shared/tool"));
    for (const char* folder :
        {"home/go/pkg/mod/example.com/m@v1.0.0", "home/go/pkg/mod/example.com", "shared/tool",
            "home/.m2/repository/org/apache/maven/x/1.0"})
        ::chmod(tree.path(folder).c_str(), 0555);

    auto listing = listXcodeLocations(table({}), {}, treeMeasure(testPool()));
    for (auto& item : listing.items)
        item.isSelected = item.isAvailable && item.size > 0;
    const auto selection = xcodeCleanSelection(listing.items);
    ASSERT_EQ(selection.size(), 3u);
    EXPECT_EQ(xcodeConfirmText(linuxTexts(), selection),
        "Se limpiarán 3 categorías (4 KB).\n\nLas cachés se eliminan definitivamente; cada "
        "herramienta las regenerará cuando sea necesario.\n\n⚠️ Go Modules, Maven Repository "
        "contiene datos que las herramientas NO regeneran sin conexión (p. ej. dependencias, "
        "imágenes de emulador o el historial local del IDE). Se moverá a la Papelera.");

    const auto outcome = cleanXcodeLocations(context, selection);
    EXPECT_TRUE(leftPaths(outcome).empty());
    EXPECT_FALSE(tree.exists("home/.cache/ccache/a"));
    EXPECT_TRUE(tree.exists("home/.cache/ccache/ccache.conf")); // the user's settings stay
    ASSERT_EQ(trash->moved.size(), 2u);
    // The module cache went whole, its folders writable so the Trash can be emptied; the
    // folder a link inside led to, and the Maven repository, keep their modes.
    EXPECT_TRUE(tree.exists("trash/1/example.com/m@v1.0.0/m.go"));
    EXPECT_EQ(tree.mode("trash/1/example.com/m@v1.0.0"), 0755u);
    EXPECT_EQ(tree.mode("trash/1/example.com"), 0755u);
    EXPECT_EQ(tree.mode("shared/tool"), 0555u);
    EXPECT_EQ(tree.mode("trash/2/org/apache/maven/x/1.0"), 0555u);
}

// The developer caches tool on a Linux desktop: where each tool keeps its cache, what
// its variables move, and how a clean treats a settings file and a read-only tree.
#include "engine/locations/LocationsProfile.h"
#include "engine/locations/linux/DeveloperCaches.h"
#include "engine/xcode/XcodeCleaner.h"

#include "support/FakeBackends.h"
#include "support/TestTree.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <map>

using namespace tidvale;
using namespace tidvale::linuxdesk;

namespace {

using Env = std::map<std::string, std::string>;

struct DeveloperCachesFixture : ::testing::Test {
    TestTree tree;
    std::string home = tree.dir("home");

    std::vector<XcodeLocation> table(
        const Env& env, std::string_view xdgCache = "", std::string_view xdgData = "") const
    {
        return developerCaches(
            desktopFolders(home, 0, xdgCache, "", xdgData), [&env](const char* name) {
                auto it = env.find(name);
                return it == env.end() ? std::string() : it->second;
            });
    }

    static const XcodeLocation& row(const std::vector<XcodeLocation>& t, const std::string& name)
    {
        for (const auto& r : t)
            if (r.name == name)
                return r;
        throw std::runtime_error("no row " + name);
    }

    static std::map<std::string, std::string> paths(const std::vector<XcodeLocation>& t)
    {
        std::map<std::string, std::string> out;
        for (const auto& r : t)
            out[r.name] = r.path;
        return out;
    }

    mode_t mode(const std::string& rel) const
    {
        struct stat st { };
        ::lstat(tree.path(rel).c_str(), &st);
        return st.st_mode & 07777;
    }
};

} // namespace

TEST_F(DeveloperCachesFixture, DefaultsAreEachToolsOwnFoldersInAFixedOrder)
{
    const auto t = table({});
    const std::vector<std::pair<std::string, std::string>> expected = {{"ccache", "/.cache/ccache"},
        {"pip", "/.cache/pip"}, {"npm", "/.npm/_cacache"}, {"Yarn", "/.cache/yarn"},
        {"pnpm Store", "/.local/share/pnpm/store"}, {"Go Build Cache", "/.cache/go-build"},
        {"Go Modules", "/go/pkg/mod"}, {"Cargo Registry", "/.cargo/registry/cache"},
        {"Cargo Sources", "/.cargo/registry/src"}, {"Cargo Git Checkouts", "/.cargo/git/checkouts"},
        {"Gradle Caches", "/.gradle/caches"}, {"Maven Repository", "/.m2/repository"},
        {"JetBrains", "/.cache/JetBrains"}, {"Electron", "/.cache/electron"},
        {"node-gyp", "/.cache/node-gyp"}, {"Android System Images", "/Android/Sdk/system-images"}};
    ASSERT_EQ(t.size(), expected.size());
    for (size_t i = 0; i < t.size(); ++i) {
        EXPECT_EQ(t[i].name, expected[i].first);
        EXPECT_EQ(t[i].path, home + expected[i].second);
    }
    // What cannot be fetched again offline, or holds the IDEs' local history, goes to
    // the Trash; everything else is deleted.
    for (const auto& r : t) {
        const bool kept = r.name == "Maven Repository" || r.name == "Go Modules"
            || r.name == "Android System Images" || r.name == "JetBrains";
        EXPECT_EQ(r.regenerable, !kept) << r.name;
        EXPECT_EQ(r.readOnlyFolders, r.name == "Go Modules") << r.name;
    }
    EXPECT_EQ(row(t, "ccache").keep, std::vector<std::string>{"ccache.conf"});

    // The XDG folders move what lives in them.
    const auto xdg = paths(table({}, "/x/cache", "/x/data"));
    EXPECT_EQ(xdg.at("pip"), "/x/cache/pip");
    EXPECT_EQ(xdg.at("JetBrains"), "/x/cache/JetBrains");
    EXPECT_EQ(xdg.at("pnpm Store"), "/x/data/pnpm/store");
    EXPECT_EQ(xdg.at("npm"), home + "/.npm/_cacache");
}

TEST_F(DeveloperCachesFixture, EachToolsVariableMovesItsRow)
{
    const auto p = paths(table({{"CCACHE_DIR", "/v/ccache/"}, {"PIP_CACHE_DIR", "/v/pip"},
        {"npm_config_cache", "/v/npm"}, {"YARN_CACHE_FOLDER", "/v/yarn"}, {"PNPM_HOME", "/v/pnpm"},
        {"GOCACHE", "/v/gocache"}, {"GOPATH", "/v/gopath:/v/other"}, {"CARGO_HOME", "/v/cargo"},
        {"GRADLE_USER_HOME", "/v/gradle"}, {"electron_config_cache", "/v/electron"},
        {"NPM_CONFIG_DEVDIR", "/v/gyp"}, {"ANDROID_SDK_ROOT", "/v/sdk"}}));
    EXPECT_EQ(p.at("ccache"), "/v/ccache");
    EXPECT_EQ(p.at("pip"), "/v/pip");
    EXPECT_EQ(p.at("npm"), "/v/npm/_cacache"); // npm's variable names the folder above
    EXPECT_EQ(p.at("Yarn"), "/v/yarn");
    EXPECT_EQ(p.at("pnpm Store"), "/v/pnpm/store");
    EXPECT_EQ(p.at("Go Build Cache"), "/v/gocache");
    EXPECT_EQ(p.at("Go Modules"), "/v/gopath/pkg/mod"); // the first GOPATH entry
    EXPECT_EQ(p.at("Cargo Registry"), "/v/cargo/registry/cache");
    EXPECT_EQ(p.at("Cargo Git Checkouts"), "/v/cargo/git/checkouts");
    EXPECT_EQ(p.at("Gradle Caches"), "/v/gradle/caches");
    EXPECT_EQ(p.at("Electron"), "/v/electron");
    EXPECT_EQ(p.at("node-gyp"), "/v/gyp");
    EXPECT_EQ(p.at("Android System Images"), "/v/sdk/system-images");

    // GOMODCACHE wins over GOPATH, ANDROID_HOME over the older ANDROID_SDK_ROOT.
    const auto q = paths(table({{"GOMODCACHE", "/m"}, {"GOPATH", "/g"}, {"ANDROID_HOME", "/a"},
        {"ANDROID_SDK_ROOT", "/old"}}));
    EXPECT_EQ(q.at("Go Modules"), "/m");
    EXPECT_EQ(q.at("Android System Images"), "/a/system-images");
}

TEST_F(DeveloperCachesFixture, StrayValuesNeverMakeARowOfTheHome)
{
    // A relative, empty or dotted value is not a folder the tool could be sure of, and a
    // cache "at" the home or above it would make the whole home a cache to delete.
    const auto p
        = paths(table({{"CCACHE_DIR", home}, {"PIP_CACHE_DIR", tree.root()}, {"GOCACHE", "/"},
            {"YARN_CACHE_FOLDER", "relative/yarn"}, {"electron_config_cache", home + "/../x"},
            {"CARGO_HOME", ""}, {"GRADLE_USER_HOME", "~/.gradle"}}));
    EXPECT_EQ(p.at("ccache"), home + "/.cache/ccache");
    EXPECT_EQ(p.at("pip"), home + "/.cache/pip");
    EXPECT_EQ(p.at("Go Build Cache"), home + "/.cache/go-build");
    EXPECT_EQ(p.at("Yarn"), home + "/.cache/yarn");
    EXPECT_EQ(p.at("Electron"), home + "/.cache/electron");
    EXPECT_EQ(p.at("Cargo Registry"), home + "/.cargo/registry/cache");
    EXPECT_EQ(p.at("Gradle Caches"), home + "/.gradle/caches");
    // A folder the row lies below may be the home itself: GOPATH=$HOME is an old habit.
    EXPECT_EQ(paths(table({{"GOPATH", home}})).at("Go Modules"), home + "/pkg/mod");

    // ccache keeps using its older folder while it exists.
    tree.dir("home/.ccache");
    EXPECT_EQ(paths(table({})).at("ccache"), home + "/.ccache");
}

TEST_F(DeveloperCachesFixture, CleanKeepsCcacheSettingsAndOpensUpGoModulesForTheTrash)
{
    ScopedProfile desktop{linuxProfile()};
    auto trash = std::make_shared<FakeTrash>(tree.dir("trash"));
    ScopedFakeBackends fakes{nullptr, nullptr, trash};
    tree.file("home/.cache/ccache/a/b/obj.o", 3000);
    tree.text("home/.cache/ccache/ccache.conf", "max_size = 20G\n");
    tree.file("home/go/pkg/mod/example.com/m@v1.0.0/m.go", 400);
    tree.file("home/go/pkg/mod/cache/download/example.com/m/@v/v1.0.0.zip", 300);
    tree.file("home/.m2/repository/org/x/1.0/x.jar", 200);
    tree.file("shared/tool/bin", 10);
    tree.link("home/go/pkg/mod/example.com/shared", tree.path("shared/tool"));
    for (const char* folder : {"home/go/pkg/mod/example.com/m@v1.0.0",
             "home/go/pkg/mod/example.com", "shared/tool", "home/.m2/repository/org/x/1.0"})
        ::chmod(tree.path(folder).c_str(), 0555);

    auto listing = listXcodeLocations(table({}));
    for (auto& item : listing.items)
        item.isSelected = item.isAvailable && item.size > 0;
    const auto selection = xcodeCleanSelection(listing.items);
    ASSERT_EQ(selection.size(), 3u);
    EXPECT_EQ(xcodeConfirmText(selection),
        "Se limpiarán 3 categorías (4 KB).\n\nLas cachés se eliminan definitivamente; cada "
        "herramienta las regenerará cuando sea necesario.\n\n⚠️ Go Modules, Maven Repository "
        "contiene datos que las herramientas NO regeneran sin conexión (p. ej. dependencias, "
        "imágenes de emulador o el historial local del IDE). Se moverá a la Papelera.");

    const auto outcome = cleanXcodeLocations(selection);
    EXPECT_TRUE(outcome.failed.empty());
    EXPECT_FALSE(tree.exists("home/.cache/ccache/a"));
    EXPECT_TRUE(tree.exists("home/.cache/ccache/ccache.conf")); // the user's settings stay
    ASSERT_EQ(trash->moved.size(), 2u);
    // The module cache went whole, its folders writable so the Trash can be emptied; the
    // folder a link inside led to, and the Maven repository, keep their modes.
    EXPECT_TRUE(tree.exists("trash/1/example.com/m@v1.0.0/m.go"));
    EXPECT_EQ(mode("trash/1/example.com/m@v1.0.0"), 0755u);
    EXPECT_EQ(mode("trash/1/example.com"), 0755u);
    EXPECT_EQ(mode("shared/tool"), 0555u);
    EXPECT_EQ(mode("trash/2/org/x/1.0"), 0555u);
}

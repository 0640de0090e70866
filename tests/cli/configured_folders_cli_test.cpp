// A folder named by a variable is a claim: pointed at the home, a personal folder, a
// link to the home or the root, the clean a user schedules must leave the home exactly
// as it was, and say why it left a folder out.
#include "support/RunCli.h"
#include "support/TestTree.h"
#include "support/TreeListing.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

struct ConfiguredFolders : ::testing::Test {
    TestTree t;
    std::string home = t.dir("home");

    ConfiguredFolders()
    {
        for (const char* f : {"home/Documents/tesis.odt", "home/Pictures/foto.jpg",
                 "home/Projects/app/main.c", "home/git/checkouts/mine/x", "home/caches/y",
                 "home/store/z", "home/registry/cache/w"})
            t.file(f, 600'000);
        t.link("home/to-home", home);
        // An ordinary user's home: the listings take only what that user owns.
        ::chmod(t.root().c_str(), 0755);
        for (const auto& e : fs::recursive_directory_iterator(home))
            ::lchown(e.path().c_str(), 65534, 65534);
        ::lchown(home.c_str(), 65534, 65534);
    }

    CliOutputs asUser(const std::string& vars, const std::string& args)
    {
        return runCliApart(
            "--json --profile linux --system-root " + shellQuote(t.dir("sys")) + " " + args,
            // The developer's own tool folders (a build's CCACHE_DIR) must not reach it.
            "env -u CCACHE_DIR -u PIP_CACHE_DIR -u GOCACHE -u GOMODCACHE -u GOPATH -u CARGO_HOME"
            " -u GRADLE_USER_HOME -u npm_config_cache -u PNPM_HOME -u YARN_CACHE_FOLDER HOME="
                + shellQuote(home)
                + " XDG_CACHE_HOME= XDG_CONFIG_HOME= XDG_DATA_HOME= TIDVALE_PROFILE= " + vars
                + " setpriv --reuid=65534 --regid=65534 --clear-groups");
    }
};

} // namespace

TEST_F(ConfiguredFolders, CacheFolderSetToTheHomeOrAPersonalFolderListsNothingAndSaysWhy)
{
    const std::string before = treeListing(home);
    for (const std::string& value :
        {home, home + "/", home + "/.cache/..", home + "/to-home", home + "/Documents", t.root()}) {
        const auto run = asUser("XDG_CACHE_HOME=" + shellQuote(value), "clean --yes");
        EXPECT_EQ(run.status, 0) << value;
        EXPECT_TRUE(nlohmann::json::parse(run.out)["removed"].empty()) << value;
        EXPECT_NE(run.err.find("⚠️ XDG_CACHE_HOME="), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("no se listan cachés"), std::string::npos) << run.err;
        ASSERT_EQ(treeListing(home), before) << value;
    }
    // The same folder as a cache that is really one is still cleaned.
    t.file("home/.cache/thumbnails/t", 600'000);
    ::lchown(t.path("home/.cache").c_str(), 65534, 65534);
    ::lchown(t.path("home/.cache/thumbnails").c_str(), 65534, 65534);
    ::lchown(t.path("home/.cache/thumbnails/t").c_str(), 65534, 65534);
    const auto run = asUser("", "clean --yes");
    EXPECT_EQ(nlohmann::json::parse(run.out)["freed"], 600'000);
    EXPECT_TRUE(run.err.find("⚠️") == std::string::npos) << run.err;
}

TEST_F(ConfiguredFolders, DeveloperVariablesSetToTheUsersFoldersCleanNothing)
{
    const std::string before = treeListing(home);
    for (const std::string& vars :
        {"CCACHE_DIR=" + home + "/Documents", "PIP_CACHE_DIR=" + home + "/Pictures",
            "GOCACHE=" + home + "/Projects", "YARN_CACHE_FOLDER=" + home + "/Projects",
            "electron_config_cache=" + home + "/Projects", "npm_config_devdir=" + home,
            "CARGO_HOME=" + home, "GRADLE_USER_HOME=" + home, "PNPM_HOME=" + home,
            "CCACHE_DIR=" + home + "/to-home", "CARGO_HOME=" + home + "/to-home/"}) {
        // Ticked rows, and each row named by hand: neither touches the user's folders.
        const auto ticked = asUser(vars, "xcode --clean --yes");
        EXPECT_EQ(ticked.status, 0) << vars << ticked.out;
        EXPECT_TRUE(nlohmann::json::parse(ticked.out)["removed"].empty()) << vars;
        for (const char* row : {"ccache", "pip", "Go Build Cache", "Yarn", "Electron", "node-gyp",
                 "Cargo Git Checkouts", "Cargo Registry", "Gradle Caches", "pnpm Store"}) {
            const auto named = asUser(vars, std::string("xcode --clean --yes '") + row + "'");
            EXPECT_TRUE(nlohmann::json::parse(named.out)["removed"].empty()) << vars << " " << row;
        }
        ASSERT_EQ(treeListing(home), before) << vars;
    }
    // The guard compares where a path leads, not how it is written: with HOME a link,
    // the home's real path is the home all the same.
    const std::string linked = t.link("linked-home", home);
    const auto run = runCliApart("--json --profile linux xcode --clean --yes",
        "HOME=" + shellQuote(linked) + " GOCACHE=" + shellQuote(home)
            + " setpriv --reuid=65534 --regid=65534 --clear-groups");
    EXPECT_TRUE(nlohmann::json::parse(run.out)["removed"].empty());
    EXPECT_EQ(treeListing(home), before);
}

// As root a cache folder of "/" or a system folder would offer the machine itself.
TEST_F(ConfiguredFolders, RootsSystemFoldersAreRefusedToo)
{
    const auto cache
        = runCliApart("--json --profile linux --system-root " + shellQuote(t.dir("sys")) + " clean",
            "HOME=" + shellQuote(home) + " XDG_CACHE_HOME=/");
    EXPECT_TRUE(nlohmann::json::parse(cache.out)["removed"].empty());
    EXPECT_NE(cache.err.find("XDG_CACHE_HOME=/ es la raíz del sistema"), std::string::npos);
    const auto rows = nlohmann::json::parse(
        runCliApart("--json --profile linux xcode", "HOME=" + shellQuote(home) + " CCACHE_DIR=/etc")
            .out);
    EXPECT_EQ(rows[0]["refusal"], "CCACHE_DIR=/etc es una carpeta del sistema");
    EXPECT_EQ(rows[0]["isSelected"], false);
}

// A cache the real ccache made is recognised and emptied, and ccache goes on using it.
TEST(RealDeveloperCaches, CcacheFilledByCcacheIsCleanedAndStillWorks)
{
    if (std::system("command -v ccache >/dev/null && command -v cc >/dev/null") != 0)
        GTEST_SKIP() << "ccache or a C compiler is not installed";
    TestTree t;
    const std::string home = t.dir("home");
    t.text("src/x.c", "int f(void) { return 42; }\n");
    const std::string env
        = "env -u CCACHE_DIR -u XDG_CACHE_HOME -u TIDVALE_PROFILE HOME=" + shellQuote(home);
    const std::string compile = env + " ccache cc -c " + shellQuote(t.path("src/x.c")) + " -o "
        + shellQuote(t.path("src/x.o")) + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(compile.c_str()), 0);
    ASSERT_EQ(std::system(compile.c_str()), 0);
    const auto run = runCliApart("--json --profile linux xcode --clean --yes ccache", env);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto report = nlohmann::json::parse(run.out);
    ASSERT_EQ(report["removed"].size(), 1u) << run.out;
    EXPECT_GT(report["freed"], 0);
    for (const auto& e : fs::directory_iterator(home + "/.cache/ccache"))
        EXPECT_EQ(e.path().filename(), "ccache.conf") << "left: " << e.path();
    EXPECT_EQ(std::system(compile.c_str()), 0);
}

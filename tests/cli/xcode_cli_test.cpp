// tidvale-cli xcode: the developer caches listing of each profile, run as a user would.
#include "support/RunCli.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

TEST(XcodeCli, ListsElevenLocationsWithTheirFields)
{
    TestTree t;
    t.file("home/Library/Developer/Xcode/DerivedData/App/x.o", 2000);
    t.file("home/Library/Developer/Xcode/Archives/a.xcarchive/dSYM", 700);
    const std::string env = "HOME=" + shellQuote(t.path("home"));
    auto r = runCli("--profile mac --json xcode", env);
    ASSERT_EQ(r.status, 0);
    auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(json.size(), 11u);
    EXPECT_EQ(json[0],
        (nlohmann::json{{"name", "DerivedData"},
            {"path", t.path("home/Library/Developer/Xcode/DerivedData")}, {"size", 2000},
            {"description", "Archivos compilados de proyectos Xcode"}, {"isSelected", true},
            {"isAvailable", true}, {"isRegenerable", true}}));
    EXPECT_EQ(json[1]["isSelected"], false); // kept data is never ticked by a listing
    EXPECT_EQ(json[10]["name"], "Instruments");
    EXPECT_EQ(json[10]["isAvailable"], false);

    auto text = runCli("--profile mac xcode", env);
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("2 ubicaciones · 3 KB en total"), std::string::npos);
    EXPECT_TRUE(t.exists("home/Library/Developer/Xcode/DerivedData/App/x.o")); // read-only
    EXPECT_EQ(runCli("xcode extra", env).status, 2);
}

TEST(XcodeCli, OnALinuxDesktopListsTheDeveloperToolsCaches)
{
    TestTree t;
    t.file("home/.cache/pip/http/a", 1500);
    t.file("cargo/registry/cache/index/serde.crate", 900);
    t.file("home/.m2/repository/org/x.jar", 400);
    // Every variable the table reads, set empty unless the case moves it, so that the
    // machine's own settings cannot leak in.
    std::string env = "HOME=" + shellQuote(t.path("home"))
        + " CARGO_HOME=" + shellQuote(t.path("cargo")) + " XDG_CACHE_HOME= XDG_DATA_HOME=";
    for (const char* name : {"CCACHE_DIR", "PIP_CACHE_DIR", "npm_config_cache", "NPM_CONFIG_CACHE",
             "YARN_CACHE_FOLDER", "PNPM_HOME", "GOCACHE", "GOMODCACHE", "GOPATH",
             "GRADLE_USER_HOME", "electron_config_cache", "npm_config_devdir", "NPM_CONFIG_DEVDIR",
             "ANDROID_HOME", "ANDROID_SDK_ROOT"})
        env += std::string(" ") + name + "=";
    auto r = runCli("--profile linux --json xcode", env);
    ASSERT_EQ(r.status, 0);
    auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(json.size(), 16u);
    EXPECT_EQ(json[1],
        (nlohmann::json{{"name", "pip"}, {"path", t.path("home/.cache/pip")}, {"size", 1500},
            {"description", "Paquetes de Python descargados"}, {"isSelected", true},
            {"isAvailable", true}, {"isRegenerable", true}}));
    EXPECT_EQ(json[7]["path"], t.path("cargo/registry/cache"));
    EXPECT_EQ(json[7]["isSelected"], true);
    EXPECT_EQ(json[11]["name"], "Maven Repository");
    EXPECT_EQ(json[11]["isSelected"], false);
    EXPECT_EQ(json[11]["description"],
        "Repositorio local de dependencias Maven · No se regenera (va a la Papelera)");

    auto text = runCli("xcode", "TIDVALE_PROFILE=linux " + env);
    EXPECT_NE(text.out.find("3 ubicaciones · 3 KB en total"), std::string::npos);
    EXPECT_TRUE(t.exists("home/.cache/pip/http/a"));
}

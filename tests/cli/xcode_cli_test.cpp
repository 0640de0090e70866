// tidvale-cli xcode: the Xcode cleaner's listing, run as a user would.
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
    auto r = runCli("--json xcode", env);
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

    auto text = runCli("xcode", env);
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("2 ubicaciones · 3 KB en total"), std::string::npos);
    EXPECT_TRUE(t.exists("home/Library/Developer/Xcode/DerivedData/App/x.o")); // read-only
    EXPECT_EQ(runCli("xcode extra", env).status, 2);
}

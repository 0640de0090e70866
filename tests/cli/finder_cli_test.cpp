// The finder reports as scripts and the benchmarks read them.
#include "support/RunCli.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

TEST(FinderCli, DupesJsonHasGroupsWithHashSizeFilesAndWasted)
{
    TestTree t;
    t.file("Documents/a.bin", 5000, 'a');
    t.file("Desktop/a copy.bin", 5000, 'a');
    t.file("Desktop/\xff-odd 'name'.bin", 5000, 'a');
    t.file("Desktop/4096", 4096, 'b'); // too small to compare
    t.file("Documents/4096", 4096, 'b');
    const auto r = runCli(
        "--json dupes " + shellQuote(t.path("Documents")) + " -- " + shellQuote(t.path("Desktop")));
    ASSERT_EQ(r.status, 0);
    const auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(json["groups"].size(), 1u);
    const auto& g = json["groups"][0];
    EXPECT_EQ(g["size"], 5000);
    EXPECT_EQ(g["hash"].get<std::string>().substr(0, 5), "5000_");
    ASSERT_EQ(g["files"].size(), 3u);
    EXPECT_EQ(g["files"][0], t.path("Documents/a.bin")); // roots in the order given
    EXPECT_EQ(json["wasted"], 10000);
}

TEST(FinderCli, LargeAndDownloadsListWithIsoDatesAndKinds)
{
    TestTree t;
    std::filesystem::resize_file(t.file("Movies/film.mov", 0), 2000);
    std::filesystem::resize_file(t.file("Movies/clip.mov", 0), 1999);
    t.setMtime("Movies/film.mov", 1700000000);
    const auto large = runCli("--json large --min 2000 " + shellQuote(t.path("Movies")));
    ASSERT_EQ(large.status, 0);
    EXPECT_EQ(nlohmann::json::parse(large.out),
        (nlohmann::json::array(
            {{{"name", "film.mov"}, {"path", t.path("Movies/film.mov")}, {"size", 2000},
                {"modified", "2023-11-14T22:13:20Z"}, {"kind", "Película QuickTime"}}})));

    t.file("dl/new.zip", 100);
    t.file("dl/old.pdf", 200);
    t.file("dl/.hidden", 1);
    t.setMtime("dl/old.pdf", 1000000000);
    const auto all = runCli("--json downloads " + shellQuote(t.path("dl")));
    ASSERT_EQ(all.status, 0);
    const auto json = nlohmann::json::parse(all.out);
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["name"], "old.pdf"); // oldest first
    EXPECT_EQ(json[0]["date"], "2001-09-09T01:46:40Z");
    EXPECT_EQ(json[0]["kind"], "Documento PDF");
    const auto year = runCli("--json downloads --filter 4 " + shellQuote(t.path("dl")));
    EXPECT_EQ(nlohmann::json::parse(year.out).size(), 1u);
}

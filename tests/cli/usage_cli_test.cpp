// `usage` as a script reads it, and its export as ncdu itself reads it back.
#include "support/RunCli.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <map>

TEST(UsageCli, JsonTreeAndAnExportThatNcduReadsBack)
{
    TestTree t;
    t.file("docs/a.txt", 3000);
    t.file("docs/deep/b.bin", 7000);
    t.file("music/\xff-odd \"name\"", 500);
    t.link("docs/alias", "/etc");
    ASSERT_EQ(::link(t.path("docs/a.txt").c_str(), t.path("music/same.txt").c_str()), 0);

    const auto r = runCli("--json usage --depth 1 --top 1 " + shellQuote(t.root()));
    ASSERT_EQ(r.status, 0);
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["size"], 3000 + 7000 + 500 + 4);
    ASSERT_EQ(json["children"].size(), 1u); // the biggest folder only
    EXPECT_EQ(json["children"][0]["path"], t.path("docs"));
    EXPECT_FALSE(json["children"][0].contains("children"));

    if (std::system("command -v ncdu >/dev/null") != 0)
        GTEST_SKIP() << "ncdu is not installed (scripts/install-deps.sh)";
    const std::string ours = t.path("export.json"), theirs = t.path("ncdu.json");
    ASSERT_EQ(runCli("usage --export " + shellQuote(ours) + " " + shellQuote(t.path("docs"))
                  + " && ncdu -f " + shellQuote(ours) + " -o " + shellQuote(theirs))
                  .status,
        0);
    // ncdu writes back what it understood: every name with its size.
    std::map<std::string, int64_t> sizes;
    std::function<void(const nlohmann::json&, const std::string&)> read
        = [&](const nlohmann::json& item, const std::string& at) {
              const auto& info = item.is_array() ? item[0] : item;
              const std::string path = at + "/" + info["name"].get<std::string>();
              sizes[path] = info.value("asize", int64_t{0});
              if (item.is_array())
                  for (size_t i = 1; i < item.size(); ++i)
                      read(item[i], path);
          };
    read(nlohmann::json::parse(readFile(theirs))[3], "");
    const std::string docs = "/" + t.path("docs");
    EXPECT_EQ(sizes,
        (std::map<std::string, int64_t>{{docs, 0}, {docs + "/a.txt", 3000}, {docs + "/alias", 4},
            {docs + "/deep", 0}, {docs + "/deep/b.bin", 7000}}));
}

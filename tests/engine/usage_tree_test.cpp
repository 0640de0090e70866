// The disk map's tree: what it keeps, what it folds, and what it counts once or never.
#include "engine/usage/UsageTree.h"
#include "support/MountNamespace.h"
#include "support/TestPool.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <grp.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace tidvale;

namespace {

UsageEntry child(const UsageTree& tree, UsageId folder, const std::string& name)
{
    for (const auto& e : tree.children(folder))
        if (e.name == name)
            return e;
    return {};
}

} // namespace

TEST(UsageTree, FoldsSmallFilesCountsLinksAsLinksAndHardLinksOnce)
{
    TestTree t;
    int64_t many = 0;
    for (int i = 1; i <= 30; ++i) {
        t.file("many/f" + std::to_string(i), static_cast<size_t>(i) * 100);
        many += i * 100;
    }
    t.file("big/one", 150000);
    t.file("big/two", 30000);
    t.link("alias", "/etc");
    t.file("b/h1", 5000);
    t.dir("c");
    ASSERT_EQ(::link(t.path("b/h1").c_str(), t.path("c/h2").c_str()), 0);

    UsageTree tree(t.root());
    ASSERT_TRUE(mapUsage(testPool(), tree, {}));
    const UsageEntry root = tree.entry(kUsageRoot);
    EXPECT_EQ(root.bytes, many + 180000 + 5000 + 4); // the link is its four bytes
    EXPECT_EQ(root.items, 31u + 3 + 1 + 2 + 2);      // folders and every file, folded or not
    EXPECT_TRUE(child(tree, kUsageRoot, "alias").is(usageLink));

    // A folder keeps its biggest files and its whole total.
    const UsageEntry manyDir = child(tree, kUsageRoot, "many");
    const auto kept = tree.children(manyDir.id);
    ASSERT_EQ(kept.size(), 24u);
    EXPECT_EQ(kept.front().bytes, 3000);
    EXPECT_EQ(kept.back().bytes, 700);
    EXPECT_EQ(manyDir.bytes, many);
    EXPECT_EQ(manyDir.items, 30u);

    // The second name of the hard-linked file adds nothing wherever it is met.
    const int64_t b = child(tree, kUsageRoot, "b").bytes, c = child(tree, kUsageRoot, "c").bytes;
    EXPECT_EQ(b + c, 5000);

    // Pieces under 21 % of the centre merge into one "otros" per folder; the rings
    // still go all the way round.
    const auto pieces = tree.rings(kUsageRoot, 2, 0.21);
    double ring = 0;
    std::vector<std::string> names;
    for (const auto& p : pieces)
        if (p.depth == 1) {
            ring += p.span;
            names.push_back(p.name);
        }
    EXPECT_NEAR(ring, 1.0, 1e-9);
    EXPECT_EQ(names, (std::vector<std::string>{"big", "otros"}));
    EXPECT_EQ(std::count_if(pieces.begin(), pieces.end(),
                  [](const UsagePiece& p) { return p.depth == 2 && p.name == "one"; }),
        1);

    // What went to the Trash leaves the totals above it.
    ASSERT_TRUE(tree.remove(child(tree, kUsageRoot, "big").id));
    EXPECT_EQ(tree.entry(kUsageRoot).bytes, many + 5000 + 4);
    EXPECT_EQ(tree.path(kept.front().id), t.path("many/f30"));
}

TEST(UsageTree, FoldersRemovedWhileMappedOrUnreadableOrOnOtherMounts)
{
    TestTree t;
    t.file("stays/a", 10);
    t.file("gone/b", 20);
    bool removed = false;
    UsageTree tree(t.root());
    // The root is read alone before its folders, so the first count comes between.
    JobControl job({}, nullptr, [&](int64_t, int64_t) {
        if (!std::exchange(removed, true))
            std::filesystem::remove_all(t.path("gone"));
    });
    ASSERT_TRUE(mapUsage(testPool(), tree, job));
    EXPECT_EQ(tree.children(kUsageRoot).size(), 1u);
    EXPECT_EQ(tree.entry(kUsageRoot).bytes, 10);
    EXPECT_EQ(tree.entry(kUsageRoot).items, 2u);

    t.file("closed/secret", 1000);
    ::chmod(t.root().c_str(), 0755);
    ::chmod(t.path("stays").c_str(), 0755);
    ::chmod(t.path("closed").c_str(), 0700);
    const auto asNobody = inChild([&]() -> ChildFindings {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            return {{"skip", "cannot become nobody"}};
        UsageTree seen(t.root());
        mapUsage(testPool(), seen, {});
        return {{"closed", std::to_string(child(seen, kUsageRoot, "closed").flags)},
            {"total", std::to_string(seen.entry(kUsageRoot).bytes)}};
    });
    if (!asNobody.count("skip")) {
        EXPECT_EQ(std::stoi(asNobody.at("closed")), usageFolder | usageUnreadable);
        EXPECT_EQ(asNobody.at("total"), "10");
    }

    t.file("bound/c", 30);
    t.dir("tmp");
    const auto mounted = withPrivateMounts([&]() -> ChildFindings {
        if (!mountTmpfs(t.path("tmp")) || !bindMount(t.path("stays"), t.path("bound")))
            return kCannotMount;
        std::ofstream(t.path("tmp/inside")) << "hidden";
        UsageTree seen(t.root());
        mapUsage(testPool(), seen, {});
        return {{"tmp", std::to_string(child(seen, kUsageRoot, "tmp").flags)},
            {"bound", std::to_string(child(seen, kUsageRoot, "bound").flags)},
            {"total", std::to_string(seen.entry(kUsageRoot).bytes)}};
    });
    if (mounted.count("skip"))
        GTEST_SKIP() << mounted.at("skip");
    EXPECT_EQ(std::stoi(mounted.at("tmp")), usageFolder | usageOtherVolume);
    EXPECT_EQ(std::stoi(mounted.at("bound")), usageFolder | usageOtherVolume);
    EXPECT_EQ(mounted.at("total"), std::to_string(10 + 1000));
}

#include "engine/core/AppleScript.h"
#include "engine/locations/LocationsProfile.h"
#include "engine/scan/AdminHelper.h"
#include "engine/scan/AdminPolicy.h"
#include "engine/scan/ScanService.h"
#include "engine/scan/SystemLocations.h"

#include "support/FakeBackends.h"
#include "support/TestTree.h"

#include <gtest/gtest.h>

#include <future>
#include <random>
#include <sstream>

using namespace tidvale;

struct AllowCase {
    const char* path;
    bool allowed;
};

class AllowListTest : public ::testing::TestWithParam<AllowCase> { };

TEST_P(AllowListTest, OnlyStandardPathsStrictlyInsideTheTwoFolders)
{
    const ScopedProfile mac(macProfile());
    EXPECT_EQ(isAdminDeletable(GetParam().path), GetParam().allowed) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Paths, AllowListTest,
    ::testing::Values(AllowCase{"/Library/Caches/com.apple.x", true},
        AllowCase{"/Library/Logs/a", true}, AllowCase{"/Library/Caches/a/b/c", true},
        AllowCase{"/Library/Caches/", false}, AllowCase{"/Library/Caches", false},
        AllowCase{"/Library/Logs/", false}, AllowCase{"/Library/Logs", false},
        AllowCase{"/Library/Caches/a/../b", false}, AllowCase{"/Library/Caches/..", false},
        AllowCase{"/Library/Caches//a", false}, AllowCase{"/Library/Caches/a/", false},
        AllowCase{"/Library/Caches/./a", false}, AllowCase{"/library/caches/a", false},
        AllowCase{"/Library/CachesX/a", false}, AllowCase{"Library/Caches/a", false},
        AllowCase{"~/Library/Caches/a", false}, AllowCase{"/Users/me/Library/Caches/a", false},
        AllowCase{"", false}, AllowCase{"/Library/Caches/a\"b\\c", true}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(AdminPolicy, StandardizationRules)
{
    const ScopedProfile mac(macProfile());
    EXPECT_EQ(standardizedPath("/a//b/./c/../d/"), "/a/b/d");
    EXPECT_EQ(standardizedPath("/../a"), "/a");
    EXPECT_EQ(standardizedPath("/"), "/");
    EXPECT_EQ(standardizedPath("a/../../b"), "../b");
}

// No accepted path may lie outside the two folders, whatever it is made of.
TEST(AdminPolicy, RandomPathsNeverEscapeTheFolders)
{
    const ScopedProfile mac(macProfile());
    std::mt19937 rng(20261206);
    const std::vector<std::string> pieces{"/", "//", ".", "..", "Library", "Caches", "Logs", "a",
        "~", "\"", "\\", "\n", " ", "Caches/", "/Library/Caches/", "/Library/Logs/"};
    for (int i = 0; i < 200000; ++i) {
        std::string p;
        const int n = 1 + static_cast<int>(rng() % 8);
        for (int k = 0; k < n; ++k)
            p += pieces[rng() % pieces.size()];
        if (!isAdminDeletable(p))
            continue;
        const std::string std = standardizedPath(p);
        ASSERT_EQ(std, p);
        ASSERT_TRUE((p.starts_with("/Library/Caches/") && p.size() > 16)
            || (p.starts_with("/Library/Logs/") && p.size() > 14))
            << p;
        ASSERT_EQ(p.find("/../"), std::string::npos);
        ASSERT_FALSE(p.ends_with("/.."));
    }
}

TEST(AdminPolicy, ScriptQuotesEveryPathByteForByte)
{
    const ScopedProfile mac(macProfile());
    EXPECT_EQ(adminDeletionScript({"/Library/Caches/P1", "/Library/Logs/P2"}),
        "do shell script \"/bin/rm -rf -- \" & quoted form of \"/Library/Caches/P1\" & \" \" & "
        "quoted form of \"/Library/Logs/P2\" with administrator privileges");
    EXPECT_EQ(adminDeletionScript({"/Library/Caches/a\"b"}),
        "do shell script \"/bin/rm -rf -- \" & quoted form of \"/Library/Caches/a\\\"b\" with "
        "administrator privileges");
    // A backslash before a quote: the backslash is doubled first, then the quote escaped.
    EXPECT_EQ(appleScriptEscape("x\\\"y"), "x\\\\\\\"y");
    EXPECT_EQ(informationWindowScript("/tmp/a \"b\"\\c"),
        "tell application \"Finder\" to open information window of (POSIX file "
        "\"/tmp/a \\\"b\\\"\\\\c\" as alias)");
}

TEST(AdminDeletion, EarlyCasesCompleteSynchronouslyWithMessages)
{
    const ScopedProfile mac(macProfile());
    auto runner = std::make_shared<FakePrivilegedRunner>();
    ScopedFakeBackends fakes{nullptr, runner};
    bool called = false;
    ScanService::shared().deleteItemsAsAdministrator(
        {}, [&](int64_t freed, std::vector<std::string> m) {
            called = true;
            EXPECT_EQ(freed, 0);
            EXPECT_TRUE(m.empty());
        });
    EXPECT_TRUE(called);

    called = false;
    ScanItem outside{"x", "/home/me/Library/Caches/x", 9, ScanCategory::userCache, true, true};
    ScanService::shared().deleteItemsAsAdministrator(
        {outside}, [&](int64_t freed, std::vector<std::string> m) {
            called = true;
            EXPECT_EQ(freed, 0);
            EXPECT_EQ(m, std::vector<std::string>{"Ruta no permitida: /home/me/Library/Caches/x"});
        });
    EXPECT_TRUE(called);
    EXPECT_TRUE(runner->requests.empty());
}

TEST(AdminDeletion, AcceptedItemsRunOnceAndFailureCountsNothing)
{
    const ScopedProfile mac(macProfile());
    auto runner = std::make_shared<FakePrivilegedRunner>();
    ScopedFakeBackends fakes{nullptr, runner};
    std::vector<ScanItem> items{
        {"a", "/Library/Caches/a", 100, ScanCategory::systemCache, true, true},
        {"b", "/Library/Caches/../b", 5, ScanCategory::systemCache, true, true},
        {"c", "/Library/Logs/c", 20, ScanCategory::systemLogs, false, true},
    };
    // The default dispatcher runs the work on a thread and delivers there: wait for it.
    auto run = [&](std::optional<std::string> answer) {
        runner->answer = answer;
        std::promise<std::pair<int64_t, std::vector<std::string>>> done;
        ScanService::shared().deleteItemsAsAdministrator(
            items, [&](int64_t f, std::vector<std::string> m) {
                done.set_value({f, m});
            });
        return done.get_future().get();
    };
    auto ok = run(std::nullopt);
    EXPECT_EQ(ok.first, 120);
    EXPECT_EQ(ok.second, std::vector<std::string>{"Ruta no permitida: /Library/Caches/../b"});
    ASSERT_EQ(runner->requests.size(), 1u);
    EXPECT_EQ(runner->requests[0].paths,
        (std::vector<std::string>{"/Library/Caches/a", "/Library/Logs/c"}));

    auto cancelled = run(std::string("El usuario canceló."));
    EXPECT_EQ(cancelled.first, 0);
    EXPECT_EQ(cancelled.second,
        (std::vector<std::string>{
            "Ruta no permitida: /Library/Caches/../b", "El usuario canceló."}));
}

TEST(AdminHelperTest, ChecksAgainAndRemovesWithoutFollowingLinks)
{
    const ScopedProfile mac(macProfile());
    TestTree t;
    SystemLocations::setRoot(t.path("sys"));
    t.file("sys/Library/Caches/junk/x", 1);
    t.file("sys/Library/Logs/old.log", 1);
    t.file("elsewhere/keep", 1);
    t.link("sys/Library/Caches/linked", t.path("elsewhere"));
    std::ostringstream errors;
    int status = runAdminHelper(
        {"--", t.path("sys/Library/Caches/junk"), t.path("sys/Library/Logs/old.log"),
            t.path("sys/Library/Caches/linked/keep"), t.path("elsewhere/keep"),
            t.path("sys/Library/Caches")},
        errors);
    SystemLocations::setRoot("");
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(t.exists("sys/Library/Caches/junk"));
    EXPECT_FALSE(t.exists("sys/Library/Logs/old.log"));
    EXPECT_TRUE(t.exists("elsewhere/keep"));
    const std::string text = errors.str();
    EXPECT_NE(text.find("Ruta no permitida: " + t.path("elsewhere/keep")), std::string::npos);
    EXPECT_NE(
        text.find("Ruta no permitida: " + t.path("sys/Library/Caches") + "\n"), std::string::npos);
    EXPECT_NE(text.find("“keep”"), std::string::npos); // the linked path failed to resolve

    std::ostringstream usage;
    EXPECT_EQ(runAdminHelper({"/Library/Caches/x"}, usage), 2);
}

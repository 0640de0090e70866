#include "engine/admin/AdminHelper.h"
#include "engine/admin/AdminPolicy.h"
#include "engine/desktop/SystemLocations.h"
#include "engine/format/AppleScript.h"
#include "engine/fs/SafeRemove.h"
#include "engine/junk/AdminStage.h"
#include "engine/junk/JunkCleanRules.h"
#include "engine/junk/ScanService.h"
#include "platform/PrivilegedReport.h"

#include "support/Names.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

using namespace tidvale;

namespace {

// The Mac's rules on the real root: the paths below never reach the disk.
struct MacAtRoot : TestContext {
    MacAtRoot() { context.folders.systemRoot = ""; }
};

} // namespace

TEST(AdminPolicy, OnlyStandardPathsStrictlyInsideTheTwoFolders)
{
    const MacAtRoot mac;
    for (const char* allowed : {"/Library/Caches/com.apple.x", "/Library/Logs/a",
             "/Library/Caches/a/b/c", "/Library/Caches/a\"b\\c"})
        EXPECT_TRUE(isAdminDeletable(adminAreasOf(mac.context), allowed)) << allowed;
    for (const char* refused : {"/Library/Caches/", "/Library/Caches", "/Library/Logs/",
             "/Library/Logs", "/Library/Caches/a/../b", "/Library/Caches/..", "/Library/Caches//a",
             "/Library/Caches/a/", "/Library/Caches/./a", "/library/caches/a", "/Library/CachesX/a",
             "Library/Caches/a", "~/Library/Caches/a", "/Users/me/Library/Caches/a", ""})
        EXPECT_FALSE(isAdminDeletable(adminAreasOf(mac.context), refused)) << refused;
}

TEST(AdminPolicy, ScriptQuotesEveryPathByteForByte)
{
    // A backslash before a quote: the backslash is doubled first, then the quote escaped.
    EXPECT_EQ(adminDeletionScript({"/Library/Caches/P1", "/Library/Logs/a\\\"b"}),
        "do shell script \"/bin/rm -rf -- \" & quoted form of \"/Library/Caches/P1\" & \" \" & "
        "quoted form of \"/Library/Logs/a\\\\\\\"b\" with administrator privileges");
    EXPECT_EQ(informationWindowScript("/tmp/a \"b\""),
        "tell application \"Finder\" to open information window of (POSIX file "
        "\"/tmp/a \\\"b\\\"\" as alias)");
}

TEST(AdminDeletion, EachItemCountsOnItsOwn)
{
    const MacAtRoot mac;
    const ScanService service(mac.context);
    auto& runner = mac.runner;
    std::vector<ScanItem> items{
        {"a", "/Library/Caches/a", 100, ScanCategory::systemCache, true, true},
        {"b", "/Library/Caches/../b", 5, ScanCategory::systemCache, true, true},
        {"c", "/Library/Logs/c", 20, ScanCategory::systemLogs, false, true},
        {"d", "/Library/Logs/d", 3, ScanCategory::systemLogs, true, true},
        {"e", "/Library/Logs/e", 7, ScanCategory::systemLogs, true, true}};
    auto run = [&](std::optional<std::string> answer) {
        runner->answer = answer;
        return service.deleteItemsAsAdministrator(items);
    };

    // Nothing the allow-list takes: no password is asked.
    EXPECT_TRUE(service.deleteItemsAsAdministrator({}).outcomes.empty());
    EXPECT_EQ(adminFailureLines(service.deleteItemsAsAdministrator({items[1]})),
        std::vector<std::string>{"Ruta no permitida: /Library/Caches/../b"});
    EXPECT_TRUE(runner->requests.empty());

    auto ok = run(std::nullopt);
    EXPECT_EQ(ok.freed(), 130);
    EXPECT_EQ(goneNames(ok), (std::vector<std::string>{"a", "c", "d", "e"}));
    EXPECT_EQ(
        adminFailureLines(ok), std::vector<std::string>{"Ruta no permitida: /Library/Caches/../b"});
    ASSERT_EQ(runner->requests.size(), 1u);
    EXPECT_EQ(runner->requests[0].paths,
        (std::vector<std::string>{
            "/Library/Caches/a", "/Library/Logs/c", "/Library/Logs/d", "/Library/Logs/e"}));

    // A vanished item is gone all the same; a failed or refused one stays and is named.
    using platform::PrivilegedStatus;
    runner->outcomes["/Library/Caches/a"] = {PrivilegedStatus::missing, 0};
    runner->outcomes["/Library/Logs/c"] = {PrivilegedStatus::failed, EBUSY};
    runner->outcomes["/Library/Logs/d"] = {PrivilegedStatus::refused, 0};
    auto mixed = run(std::nullopt);
    EXPECT_EQ(mixed.freed(), 107);
    EXPECT_EQ(goneNames(mixed), (std::vector<std::string>{"a", "e"}));
    EXPECT_EQ(adminFailureLines(mixed),
        (std::vector<std::string>{"Ruta no permitida: /Library/Caches/../b",
            "No se ha podido eliminar “c” porque está en uso.",
            "Ruta no permitida: /Library/Logs/d"}));

    // A run that failed as a whole knows nothing of any item.
    runner->outcomes.clear();
    auto cancelled = run(std::string("El usuario canceló."));
    EXPECT_EQ(cancelled.freed(), 0);
    EXPECT_TRUE(goneNames(cancelled).empty());
    EXPECT_EQ(adminFailureLines(cancelled),
        (std::vector<std::string>{
            "Ruta no permitida: /Library/Caches/../b", "El usuario canceló."}));
}

TEST(AdminHelperTest, ChecksAgainAndReportsEachPathByIndex)
{
    TestContext mac;
    TestTree& t = mac.tree;
    t.file("sys/Library/Caches/junk/x", 1);
    t.file("sys/Library/Logs/old.log", 1);
    t.file("sys/Library/Logs/odd\nname\t\"q\"/x", 1);
    t.file("sys/Library/Logs/locked/x", 1);
    t.protect("sys/Library/Logs/locked");
    t.file("elsewhere/keep", 1);
    t.link("sys/Library/Caches/linked", t.path("elsewhere"));
    std::ostringstream report;
    std::ostringstream errors;
    const std::vector<std::string> paths{t.path("sys/Library/Caches/junk"),
        t.path("sys/Library/Logs/old.log"), t.path("sys/Library/Caches/linked/keep"),
        t.path("elsewhere/keep"), t.path("sys/Library/Caches"),
        t.path("sys/Library/Caches/vanished"), t.path("sys/Library/Logs/odd\nname\t\"q\""),
        t.path("sys/Library/Logs/locked/x")};
    std::vector<std::string> args{"--"};
    args.insert(args.end(), paths.begin(), paths.end());
    const int status = runAdminHelper(adminAreasOf(mac.context), args, report, errors);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(errors.str().empty());
    EXPECT_FALSE(t.exists("sys/Library/Caches/junk"));
    EXPECT_FALSE(t.exists("sys/Library/Logs/old.log"));
    EXPECT_FALSE(t.exists("sys/Library/Logs/odd\nname\t\"q\""));
    EXPECT_TRUE(t.exists("elsewhere/keep"));
    EXPECT_TRUE(t.exists("sys/Library/Logs/locked/x"));
    // The linked path does not resolve without following the link.
    const int linked = platform::parsePrivilegedReport(report.str(), paths.size())[2].error;
    EXPECT_TRUE(linked == ENOTDIR || linked == ELOOP) << linked;
    EXPECT_EQ(report.str(),
        "removed\t0\nremoved\t1\nerror\t2\t" + std::to_string(linked)
            + "\nrefused\t3\nrefused\t4\nmissing\t5\nremoved\t6\nerror\t7\t" + std::to_string(EPERM)
            + "\n");

    // Nothing but vanished and removed paths: the helper succeeds.
    std::ostringstream again;
    EXPECT_EQ(
        runAdminHelper(adminAreasOf(mac.context), {"--", paths[0], paths[5]}, again, errors), 0);
    EXPECT_EQ(again.str(), "missing\t0\nmissing\t1\n");

    std::ostringstream usage;
    EXPECT_EQ(runAdminHelper(adminAreasOf(mac.context), {"/Library/Caches/x"}, report, usage), 2);
    EXPECT_FALSE(usage.str().empty());
}

TEST(AdminHelperTest, ReportParsingTrustsOnlyWellFormedLines)
{
    using platform::PrivilegedStatus;
    using R = platform::PrivilegedPathResult;
    // Every status survives the trip.
    std::string all;
    const std::vector<R> sent{{PrivilegedStatus::removed, 0}, {PrivilegedStatus::missing, 0},
        {PrivilegedStatus::refused, 0}, {PrivilegedStatus::failed, EIO},
        {PrivilegedStatus::failed, kErrorMountPoint}};
    for (size_t i = 0; i < sent.size(); ++i)
        all += platform::privilegedReportLine(i, sent[i]);
    EXPECT_EQ(platform::parsePrivilegedReport(all, sent.size()), sent);

    // Out of range, repeated, malformed and unterminated lines say nothing.
    const auto parsed = platform::parsePrivilegedReport(
        "removed\t9\nerror\t0\t5\nremoved\t0\nremoved\t+1\nerror\t1\t0\nmissing\t1\tx\n"
        "removed 2\nremoved\t-2\ngone\t2\n\nremoved\t2",
        3);
    EXPECT_EQ(parsed, (std::vector<R>{{PrivilegedStatus::failed, 5}, {}, {}}));
}

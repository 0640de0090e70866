#include "engine/scan/JunkCleanRules.h"

#include <gtest/gtest.h>

using namespace tidvale;

namespace {

ScanItem item(const std::string& name, bool selected = true, bool admin = false, int64_t size = 10)
{
    return {name, "/x/" + name, size, ScanCategory::userCache, selected, admin};
}

std::vector<std::string> names(const std::vector<ScanItem>& items)
{
    std::vector<std::string> out;
    for (const auto& i : items)
        out.push_back(i.name);
    return out;
}

} // namespace

TEST(JunkCleanRules, ConfirmationCountsDirectAndAdministratorRows)
{
    std::vector<ScanItem> rows{item("a"), item("b", true, true), item("c"), item("off", false),
        item("d"), item("e", true, true), item("off-admin", false, true)};
    const auto selection = junkSelection(rows);
    EXPECT_EQ(junkConfirmMessage(selection), "¿Eliminar 5 elemento(s)?");
    EXPECT_EQ(junkConfirmInformative(selection),
        "3 elemento(s) se eliminarán directamente.\n2 elemento(s) requieren contraseña de "
        "administrador (se pedirá a continuación).");

    const auto plain = junkSelection({item("a"), item("b", false, true)});
    EXPECT_EQ(junkConfirmInformative(plain), "Esta acción no se puede deshacer.");
    EXPECT_EQ(junkSelection({item("a", false)}).count(), 0u);
}

TEST(JunkCleanRules, SystemJunkKeepsOnlyUnfinishedRowsPrivacyAlsoKeepsUnticked)
{
    const std::vector<ScanItem> rows{
        item("gone"), item("failed"), item("off", false), item("admin", true, true), item("gone2")};
    DeleteResult result;
    result.failures = {{"/x/failed", "no"}};
    result.needsAdmin = {rows[3]};

    EXPECT_EQ(names(junkRowsAfterDirectStage(rows, result)),
        (std::vector<std::string>{"failed", "admin"}));
    EXPECT_EQ(names(privacyRowsAfterClean(rows, result)),
        (std::vector<std::string>{"failed", "off", "admin"}));
    EXPECT_EQ(names(rowsWithout(junkRowsAfterDirectStage(rows, result), result.needsAdmin)),
        std::vector<std::string>{"failed"});
}

TEST(JunkCleanRules, FailureReportShowsFiveLinesAtMost)
{
    std::vector<std::pair<std::string, std::string>> failures;
    for (int i = 1; i <= 7; ++i)
        failures.emplace_back("/p/" + std::to_string(i), "m" + std::to_string(i));
    failures.emplace_back("/odd\nname", "m8");
    const auto lines = junkFailureLines(failures);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[7], "⚠️ /odd\xEF\xBF\xBDname:\nm8"); // one report line per failure
    EXPECT_EQ(junkFailureReport(lines),
        "⚠️ /p/1:\nm1\n\n⚠️ /p/2:\nm2\n\n⚠️ /p/3:\nm3\n\n⚠️ /p/4:\nm4\n\n⚠️ "
        "/p/5:\nm5");
    EXPECT_EQ(junkFailureReport({"only"}), "only");
}

TEST(JunkCleanRules, AdministratorPromptListsFiveNamesAndHowManyMore)
{
    std::vector<ScanItem> seven;
    for (int i = 1; i <= 7; ++i)
        seven.push_back(item("n" + std::to_string(i), true, true));
    const std::string head
        = " archivo(s) del sistema no se pueden eliminar sin tu contraseña de administrador:\n\n";
    EXPECT_EQ(adminPromptText(seven), "7" + head + "• n1\n• n2\n• n3\n• n4\n• n5\n  …y 2 más");
    seven.resize(6);
    EXPECT_TRUE(adminPromptText(seven).ends_with("• n5\n  …y 1 más"));
    seven.resize(5);
    EXPECT_EQ(adminPromptText(seven), "5" + head + "• n1\n• n2\n• n3\n• n4\n• n5");
}

TEST(JunkCleanRules, PrivacyFailuresAreSortedWithoutRepeatsFiveAtMost)
{
    DeleteResult result;
    for (const char* m : {"f", "Cierra Safari y vuelve a intentarlo.", "b", "e",
             "Cierra Safari y vuelve a intentarlo.", "d", "c", "a"})
        result.failures.emplace_back("/p", m);
    EXPECT_EQ(privacyFailureText(result), "Cierra Safari y vuelve a intentarlo.\na\nb\nc\nd");
    EXPECT_EQ(privacyFailureText(DeleteResult{}), "");
}

#pragma once

// What the System Junk and Privacy screens decide around a clean: what to ask, which
// rows stay and how the outcome reads. Plain functions of the screens' copies of the
// list, so that the screens only show what these return.
#include "engine/junk/ScanService.h"

#include <string>
#include <vector>

namespace tidvale {

// The ticked entries in list order, split by whether they need a password.
struct JunkSelection {
    std::vector<ScanItem> direct;
    std::vector<ScanItem> admin;
    size_t count() const { return direct.size() + admin.size(); }
};
JunkSelection junkSelection(const std::vector<ScanItem>& items);

// "¿Eliminar N elemento(s)?" and its informative text.
std::string junkConfirmMessage(const JunkSelection& selection);
std::string junkConfirmInformative(const JunkSelection& selection);

// What a confirmation shows under "Mostrar detalles": one "path — size" line per item,
// in order, so the user sees where the bytes are before anything goes. Long lists
// end with how many more there are.
std::string removalDetails(const std::vector<ScanItem>& items);

// The line a confirmation adds when the Trash is among `items`: emptying it is for
// good, and what was just moved there from another screen goes too. Empty otherwise.
std::string trashEmptyingLine(const std::vector<ScanItem>& items);

// System Junk keeps only the rows the direct stage could not finish: its failures and
// the rows set aside for the administrator. Every other row leaves, unticked ones too.
std::vector<ScanItem> junkRowsAfterDirectStage(
    const std::vector<ScanItem>& items, const RemovalReport& report);

// Privacy keeps the unticked rows as well as the failed and set-aside ones.
std::vector<ScanItem> privacyRowsAfterClean(
    const std::vector<ScanItem>& items, const RemovalReport& report);

// The rows left once the administrator stage's `report` is in: the gone ones leave.
std::vector<ScanItem> rowsWithout(const std::vector<ScanItem>& items, const RemovalReport& report);

// The rows of `items` the direct stage's `report` left for the administrator, as the
// administrator stage takes them.
std::vector<ScanItem> itemsNeedingAdministrator(
    const std::vector<ScanItem>& items, const RemovalReport& report);

// One "⚠️ path:\nmessage" line per item refused or failed, in order.
std::vector<std::string> junkFailureLines(const RemovalReport& report);

// The administrator stage's report: each distinct message of what stayed, in the
// report's order; a run that failed as a whole says so once.
std::vector<std::string> adminFailureLines(const RemovalReport& report);

// The failure report's text: the first five lines, a blank line between each.
std::string junkFailureReport(const std::vector<std::string>& lines);

// The administrator prompt's text: the count, five "• name" lines, and a tail with
// how many more there are.
std::string adminPromptText(const std::vector<ScanItem>& needsAdmin);

// "✅ Liberado: <bytes>" when something was freed, else "ℹ️ No se liberó espacio".
std::string junkFinalStatus(int64_t freed);

// Privacy's failure text: the distinct messages in text order, the first five, one a
// line. Rows set aside for the administrator are named too: this screen has no
// password step, so without a word they would stay behind unexplained.
std::string privacyFailureText(const RemovalReport& report);

// The items not inside another item of the list, in list order. The junk scan and the
// browser scan overlap (a large browser cache is also an entry of the user's cache
// folder): the inner item is measured and removed with its container, so it must
// neither be counted twice in a total nor be deleted a second time and reported as
// missing.
std::vector<ScanItem> outermostItems(const std::vector<ScanItem>& items);

// How many of `items` a clean of their outermost ones left behind: the refused and
// set-aside items, and every item lying inside one, since it went only with its
// container.
size_t leftoverCount(const std::vector<ScanItem>& items, const RemovalReport& report);

// The bytes the items take on disk: the sizes of the outermost ones.
int64_t totalSize(const std::vector<ScanItem>& items);

// The text a screen shows for a name or path that may hold line breaks or other
// control characters: each becomes a visible replacement mark.
std::string singleLine(const std::string& text);

} // namespace tidvale

#include "gui/tools/systemjunk/SystemJunkViewController.h"

#include "engine/junk/JunkCleanRules.h"
#include "engine/junk/ScanService.h"
#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/ItemMenu.h"
#include "gui/tools/systemjunk/SystemJunkModel.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/Labels.h"
#include "gui/widgets/PrimaryButton.h"

#include <QLabel>
#include <QMenu>
#include <QTableView>

namespace tidvale::gui {
namespace {

struct JunkListing {
    std::vector<ScanItem> items;
    std::map<std::string, ListedStamp> listed;
    std::vector<std::string> notices;
};

} // namespace

void SystemJunkViewController::loadView()
{
    const QColor orange = systemColor(SystemColor::orange);
    setUpScreen({QStringLiteral("Basura del Sistema"),
        QStringLiteral("Eliminá cachés, logs y archivos temporales"), QStringLiteral("trash.fill"),
        orange});
    addStartButton(QStringLiteral("Escanear"), [this] { doScan(); });
    cleanButton_ = addButton(QStringLiteral("Limpiar Seleccionados"), systemColor(SystemColor::red),
        [this] { doClean(); });
    items_ = new SystemJunkModel(this);
    tableView_ = makeTableList(items_, {44, {30, 220, 140, 90}, SystemJunkModel::name});
    setList(tableView_, ContentInset::margins,
        QStringLiteral("Pulsa «Escanear» para buscar cachés, registros y lo que guarda la "
                       "Papelera."));
    addFooter(makeLabel(QStringLiteral("🔒 Requiere contraseña de administrador para eliminarse"),
        11, QFont::Normal, orange, this));
}

void SystemJunkViewController::doScan()
{
    if (!readyForJob())
        return;
    JunkListing before{items_->items(), listed_, {}};
    items_->setItems({});
    cleanButton_->setEnabled(false);
    setStatus({});
    runJob(
        [service = &services().scan](const JobControl& job) {
            // The status line stays still while this screen scans; Smart Scan tells the steps.
            JunkListing listing{
                service->scanSystemJunk(job.withoutText()), {}, service->folderNotices()};
            for (const ScanItem& item : listing.items)
                readListedStamp(item.path, listing.listed[item.path]);
            return listing;
        },
        [this](JunkListing found) {
            int64_t total = 0;
            for (const auto& item : found.items)
                total += item.size;
            items_->setItems(std::move(found.items));
            listed_ = std::move(found.listed);
            setStatus(withNotices(QStringLiteral("Total: ") + junkBytesText(total), found.notices));
            updateCleanButton();
        },
        [this, before = std::move(before)]() mutable {
            items_->setItems(std::move(before.items));
            listed_ = std::move(before.listed);
            updateCleanButton();
        });
}

void SystemJunkViewController::updateCleanButton()
{
    cleanButton_->setEnabled(!items_->items().empty() && !administratorRunning_ && !isBusy());
}

void SystemJunkViewController::doClean()
{
    if (!items_ || administratorRunning_)
        return;
    const JunkSelection selection = junkSelection(items_->items());
    if (selection.count() == 0)
        return;
    std::vector<ScanItem> ticked = selection.direct;
    ticked.insert(ticked.end(), selection.admin.begin(), selection.admin.end());
    std::string informative = junkConfirmInformative(selection);
    if (const std::string trash = trashEmptyingLine(ticked); !trash.empty())
        informative += "\n" + trash;
    AlertRequest alert{AlertStyle::warning, QString::fromStdString(junkConfirmMessage(selection)),
        QString::fromStdString(informative),
        {QStringLiteral("Eliminar"), QStringLiteral("Cancelar")},
        QString::fromStdString(removalDetails(ticked)), true};
    showAlert(this, alert, [this](int answer) {
        if (answer == 0)
            runDirectStage();
    });
}

void SystemJunkViewController::runDirectStage()
{
    runRemoval([service = &services().scan, items = items_->items()](
                   const JobControl& job) { return service->deleteItems(items, job); },
        [this](const RemovalReport& report) {
            freed_ = report.freed();
            auto needsAdmin = itemsNeedingAdministrator(items_->items(), report);
            items_->setItems(junkRowsAfterDirectStage(items_->items(), report));
            reportFailures(
                junkFailureLines(report), [this, needsAdmin = std::move(needsAdmin)]() mutable {
                    if (needsAdmin.empty())
                        finishClean();
                    else
                        askForAdministrator(std::move(needsAdmin));
                });
        });
}

void SystemJunkViewController::reportFailures(
    const std::vector<std::string>& lines, std::function<void()> next)
{
    ToolViewController::reportFailures(QStringLiteral("Algunos archivos no se pudieron eliminar"),
        junkFailureReport(lines), std::move(next));
}

void SystemJunkViewController::askForAdministrator(std::vector<ScanItem> needsAdmin)
{
    // Where the prompt cannot be shown, the answer is the safe one: nothing more is
    // deleted.
    if (!isVisible()) {
        finishClean();
        return;
    }
    AlertRequest alert{AlertStyle::informational,
        QStringLiteral("Se requieren permisos de administrador"),
        QString::fromStdString(adminPromptText(needsAdmin)),
        {QStringLiteral("Eliminar con contraseña"), QStringLiteral("Omitir")}, {}, true};
    showAlert(this, alert, [this, needsAdmin = std::move(needsAdmin)](int answer) mutable {
        if (answer == 0)
            runAdministratorStage(std::move(needsAdmin));
        else
            finishClean();
    });
}

void SystemJunkViewController::runAdministratorStage(std::vector<ScanItem> needsAdmin)
{
    administratorRunning_ = true;
    updateCleanButton();
    // The worker waits for the password dialog and the privileged run. Only the rows
    // whose items are gone leave and count; the others stay, and the report names them.
    runWait(
        [service = &services().scan, needsAdmin = std::move(needsAdmin)] {
            return service->deleteItemsAsAdministrator(needsAdmin);
        },
        [this](const RemovalReport& report) {
            administratorRunning_ = false;
            noteRemoval(report);
            freed_ += report.freed();
            items_->setItems(rowsWithout(items_->items(), report));
            reportFailures(adminFailureLines(report), {});
            finishClean();
        });
}

void SystemJunkViewController::finishClean()
{
    updateCleanButton();
    setStatus(QString::fromStdString(junkFinalStatus(freed_)));
    emit cleanFinished();
}

void SystemJunkViewController::menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked)
{
    menu->clear();
    if (!clicked.isValid() || clicked.row() >= items_->rowCount())
        return;
    const std::string path = items_->items()[static_cast<size_t>(clicked.row())].path;
    itemMenu(menu, path).reveal().separator().trash([this, path] { trashFromMenu(path); });
}

// At once, with no confirmation, and only while the path holds what the scan found.
// A refusal of the Trash is silent and leaves the row; an item that changed since
// the scan stays too, and the status line says why.
void SystemJunkViewController::trashFromMenu(const std::string& path)
{
    const auto& list = items_->items();
    const auto it
        = std::find_if(list.begin(), list.end(), [&](const ScanItem& i) { return i.path == path; });
    if (it == list.end())
        return;
    const auto stamp = listed_.find(path);
    const RemovalTarget target{
        path, path, stamp != listed_.end() ? stamp->second : ListedStamp{}, it->size};
    runRowRemoval([target, trash = context().backends.trash](
                      const JobControl&) { return trashTargets(*trash, {target}); },
        items_, [](const ScanItem& i) { return i.path; }, QStringLiteral("✅ Liberado: "));
}

} // namespace tidvale::gui

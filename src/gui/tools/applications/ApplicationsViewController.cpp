#include "gui/tools/applications/ApplicationsViewController.h"

#include "engine/apps/AppInventory.h"
#include "engine/system/SystemInfoService.h"
#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"
#include "gui/text/PlatformText.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/ItemMenu.h"
#include "gui/tools/applications/AppCellDelegates.h"
#include "gui/tools/applications/AppIcons.h"
#include "gui/tools/applications/AppListModel.h"
#include "gui/tools/applications/AppUninstallTexts.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"
#include "platform/ApplicationRemover.h"
#include "platform/Workspace.h"

#include <QLabel>
#include <QMenu>
#include <QTableView>

#include <algorithm>
#include <set>

namespace tidvale::gui {
namespace {

std::string rowPath(const AppRow& row)
{
    return row.info.path;
}

// Icons pixel-sharp on a double-density screen.
constexpr int kIconPixels = AppListModel::iconPoints * 2;
constexpr int kRowHeight = 50;

// The Mac uninstalls by moving bundles to the Trash; a Linux desktop asks the tools
// that installed each application.
bool usesPackageTools(const Context& context)
{
    return context.places.apps->usesPackageTools();
}

} // namespace

ApplicationsViewController::ApplicationsViewController(
    const ScreenServices& services, QWidget* parent)
    : ToolViewController(services, parent)
    , apps_(new AppListModel(this))
{
}

void ApplicationsViewController::loadView()
{
    setUpScreen({QStringLiteral("Aplicaciones"),
        QStringLiteral("Desinstalá apps completas y libera espacio en disco"),
        QStringLiteral("app.fill"), systemColor(SystemColor::green)});
    addStartButton(QStringLiteral("Cargar Apps"), [this] { loadApps(); });
    uninstallButton_ = addButton(QStringLiteral("Desinstalar"), systemColor(SystemColor::red),
        [this] { uninstallSelected(); });
    // A Debian version ("153.0.8esr-1~deb12u1") is longer than a bundle's, and a row
    // that cannot be uninstalled says why under its name: there the name takes the
    // room left.
    tableView_ = usesPackageTools(context())
        ? makeTableList(apps_,
            {kRowHeight, {44, 200, 150, 90}, AppListModel::nameColumn,
                QAbstractItemView::ExtendedSelection})
        : makeTableList(
            apps_, {kRowHeight, {44, 200, 80, 90}, -1, QAbstractItemView::ExtendedSelection});
    tableView_->setItemDelegateForColumn(
        AppListModel::iconColumn, new CentredIconDelegate(tableView_));
    tableView_->setItemDelegateForColumn(
        AppListModel::nameColumn, new AppNameDelegate(kRowHeight, tableView_));
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &ApplicationsViewController::updateUninstallButton);
    setList(tableView_, ContentInset::margins,
        QStringLiteral("Pulsa «Cargar Apps» para ver tus aplicaciones y lo que ocupan."));
}

// Enabled when a selected row can go: a row that cannot says why under its name.
void ApplicationsViewController::updateUninstallButton()
{
    if (!uninstallButton_)
        return;
    bool any = false;
    for (const QModelIndex& index : tableView_->selectionModel()->selectedRows())
        any = any || apps_->items()[static_cast<size_t>(index.row())].info.removable;
    uninstallButton_->setEnabled(!isBusy() && any);
}

std::vector<AppInfo> ApplicationsViewController::listedApps() const
{
    std::vector<AppInfo> listed;
    listed.reserve(apps_->items().size());
    for (const AppRow& row : apps_->items())
        listed.push_back(row.info);
    return listed;
}

void ApplicationsViewController::loadApps()
{
    if (!readyForJob())
        return;
    auto before = apps_->items();
    apps_->setItems({});
    uninstallButton_->setEnabled(false);
    setStatus(QStringLiteral("Cargando aplicaciones..."));
    const SystemInfoService* service = &services().info;
    // Asked again here, off the window's thread: the cause is said once, on the status
    // line, rather than at the end of every Debian row.
    std::shared_ptr<platform::ApplicationRemover> remover
        = usesPackageTools(context()) ? context().backends.applicationRemover : nullptr;
    runJob(
        [service, remover](const JobControl& job) {
            std::pair<std::vector<AppRow>, QString> listed;
            for (AppInfo& app : service->getInstalledApps(job)) {
                if (job.cancelled())
                    break;
                QImage icon = loadAppIconImage(app.iconFile, kIconPixels);
                listed.first.push_back({std::move(app), std::move(icon), {}});
            }
            if (remover && !job.cancelled())
                if (const auto cause = remover->packageRemovalUnavailable())
                    listed.second = displayText(*cause);
            return listed;
        },
        [this](std::pair<std::vector<AppRow>, QString> listed) {
            const QString cause = listed.second;
            const bool blocked = !cause.isEmpty()
                && std::any_of(listed.first.begin(), listed.first.end(), [](const AppRow& r) {
                       return r.info.source == AppSource::deb && !r.info.removable;
                   });
            apps_->setSharedCause(blocked ? cause : QString());
            apps_->setItems(std::move(listed.first));
            QString status = QString::number(apps_->rowCount()) + QStringLiteral(" aplicaciones");
            if (blocked)
                status
                    += QStringLiteral(" · No se pueden desinstalar paquetes de Debian: ") + cause;
            setStatus(status);
            updateUninstallButton();
        },
        [this, before = std::move(before)]() mutable {
            apps_->setItems(std::move(before));
            updateUninstallButton();
        });
}

void ApplicationsViewController::uninstallSelected()
{
    if (!tableView_ || isBusy())
        return;
    QModelIndexList rows = tableView_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end(),
        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<AppInfo> targets;
    QStringList names;
    for (const QModelIndex& index : rows) {
        targets.push_back(apps_->items()[static_cast<size_t>(index.row())].info);
        names << displayText(targets.back().name);
    }
    if (usesPackageTools(context())) {
        uninstallApps(targets);
        return;
    }
    AlertRequest alert;
    alert.style = AlertStyle::warning;
    alert.message = QStringLiteral("¿Mover a la Papelera?");
    alert.informativeText
        = QStringLiteral("Se moverán a la Papelera:\n• ") + names.join(QStringLiteral("\n• "));
    alert.buttons = {QStringLiteral("Mover a Papelera"), QStringLiteral("Cancelar")};
    showAlert(this, alert, [this, targets](int answer) {
        if (answer == 0)
            moveToTrash(targets);
    });
}

// Each bundle is moved on its own, and only while it is still the bundle that was
// listed: a bundle replaced since (an update installed meanwhile) is another program
// than the one the user chose. Only what the Trash took is counted and dropped from
// the list; the status line names what stayed and why.
void ApplicationsViewController::moveToTrash(const std::vector<AppInfo>& targets)
{
    if (isBusy())
        return; // a new listing owns the rows now
    std::vector<AppInfo> listed;
    std::set<std::string> seen;
    for (const AppInfo& target : targets) {
        const auto& all = apps_->items();
        const bool stillListed = std::any_of(all.begin(), all.end(),
            [&](const AppRow& row) { return row.info.path == target.path; });
        if (stillListed && seen.insert(target.path).second)
            listed.push_back(target);
    }
    runListRemoval([targets = targetsOf(listed), trash = context().backends.trash](
                       const JobControl& job) { return trashTargets(*trash, targets, job); },
        apps_, rowPath, QStringLiteral("✅ Movidas a Papelera · Liberado: "),
        [this](const RemovalReport&) { updateUninstallButton(); });
}

void ApplicationsViewController::menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked)
{
    menu->clear();
    if (!clicked.isValid() || clicked.row() >= apps_->rowCount())
        return;
    const AppInfo& app = apps_->items()[static_cast<size_t>(clicked.row())].info;
    if (usesPackageTools(context())) {
        linuxMenu(menu, app);
        return;
    }
    const std::string path = app.path;
    itemMenu(menu, path)
        .reveal()
        .launch()
        .separator()
        .trash([this, path] { trashApp(path); }, QStringLiteral("Mover a Papelera (Desinstalar)"));
}

// At once, with no confirmation. A refusal of the Trash leaves the bundle listed and
// the status line as it was; a bundle replaced since the listing stays and is named.
void ApplicationsViewController::trashApp(const std::string& path)
{
    if (isBusy())
        return;
    const auto& all = apps_->items();
    const auto it = std::find_if(
        all.begin(), all.end(), [&](const AppRow& row) { return row.info.path == path; });
    if (it == all.end())
        return;
    runRowRemoval(
        [targets = targetsOf(std::vector<AppInfo>{it->info}), trash = context().backends.trash](
            const JobControl&) { return trashTargets(*trash, targets); },
        apps_, rowPath, QStringLiteral("✅ Desinstalada · Liberado: "),
        [this](const RemovalReport&) { updateUninstallButton(); });
}

// The entry is revealed where the user can find the program: an AppImage's own file,
// else the menu entry. Opening runs the entry as the desktop's menu would. A package
// is removed for good, not moved to the Trash, so the entry says so.
void ApplicationsViewController::linuxMenu(QMenu* menu, const AppInfo& app)
{
    const std::string shown
        = app.source == AppSource::appimage && !app.payload.empty() ? app.payload : app.path;
    itemMenu(menu, app.path)
        .action(platformText(context(), &PlatformTexts::revealInFolder), QStringLiteral("folder"),
            [shown, workspace = context().backends.workspace] { workspace->reveal(shown); })
        .launch()
        .separator()
        .trash([this, app] { uninstallApps({app}); }, QStringLiteral("Desinstalar…"))
        .enabled(app.removable && !isBusy());
}

// Every step that asks the system runs on a worker: the package manager may take long
// to answer, and the password dialog of the removal waits for the user.
void ApplicationsViewController::uninstallApps(const std::vector<AppInfo>& chosen)
{
    if (!readyForJob())
        return;
    UninstallPlan plan = planUninstall(listedApps(), chosen);
    if (plan.units.empty()) {
        if (!plan.skipped.empty())
            setStatus(notUninstallableText(plan));
        return;
    }
    const QString before = statusLabel()->text();
    setStatus(QStringLiteral("Comprobando qué se quitará..."));
    runJob([plan, remover = context().backends.applicationRemover](
               const JobControl&) { return previewUninstall(*remover, plan); },
        [this, plan, before](const platform::PackageRemovalPreview& preview) {
            setStatus(before);
            updateUninstallButton();
            confirmUninstall(plan, preview);
        },
        [this] { updateUninstallButton(); });
    updateUninstallButton();
}

void ApplicationsViewController::confirmUninstall(
    const UninstallPlan& plan, const platform::PackageRemovalPreview& preview)
{
    AlertRequest alert;
    alert.style = AlertStyle::warning;
    if (preview.error) {
        alert.message = QStringLiteral("No se pudo preparar la desinstalación");
        alert.informativeText = displayText(*preview.error);
        alert.buttons = {QStringLiteral("OK")};
        showAlert(this, alert, [](int) {});
        return;
    }
    alert.message = QStringLiteral("¿Desinstalar?");
    alert.informativeText = uninstallConfirmationText(plan, listedApps(), preview.others);
    alert.buttons = {QStringLiteral("Desinstalar"), QStringLiteral("Cancelar")};
    // A package removed is gone: no Trash keeps its files.
    alert.deletesPermanently = true;
    showAlert(this, alert, [this, plan, others = preview.others](int answer) {
        if (answer == 0)
            runUninstall(plan, others);
    });
}

// Only what is gone afterwards leaves the list and is counted; what stayed is named
// with the text of what refused it.
void ApplicationsViewController::runUninstall(
    const UninstallPlan& plan, const std::vector<platform::DebianPackage>& others)
{
    if (isBusy())
        return; // a new listing owns the rows now
    setStatus(QStringLiteral("Desinstalando..."));
    runRemoval([&context = context(), listed = listedApps(), plan, others](
                   const JobControl& job) { return uninstall(context, listed, plan, others, job); },
        [this, listed = listedApps()](const RemovalReport& report) {
            const std::set<std::string> gone = uninstalledEntries(listed, report);
            apps_->removeIf([&](const AppRow& row) { return gone.count(row.info.path) > 0; });
            updateUninstallButton();
            setStatus(uninstallOutcomeText(listed, report));
        });
    updateUninstallButton();
}

} // namespace tidvale::gui

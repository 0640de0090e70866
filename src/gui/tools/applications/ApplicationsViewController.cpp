#include "gui/tools/applications/ApplicationsViewController.h"

#include "engine/system/SystemInfoService.h"
#include "gui/tools/ScreenParts.h"
#include "gui/tools/TrashReport.h"
#include "gui/tools/applications/AppIcons.h"
#include "gui/tools/applications/AppListModel.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/jobs/Background.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/text/PlatformText.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ScreenHeader.h"
#include "gui/style/Symbols.h"
#include "platform/Workspace.h"
#include "gui/text/DisplayText.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>

#include <set>

namespace tidvale::gui {
namespace {

// Icons pixel-sharp on a double-density screen.
constexpr int kIconPixels = AppListModel::iconPoints * 2;

// Draws the icon 36 points square, centred in its cell, scaled to fit.
class CentredIconDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(
        QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // Only the row's background (selection, alternating colour) comes from the
        // style; the icon is drawn here, where its size is ours to choose.
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        const QWidget* view = option.widget;
        QStyle* style = view ? view->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, p, view);
        const auto pixmap = index.data(Qt::DecorationRole).value<QPixmap>();
        if (pixmap.isNull())
            return;
        const int side
            = std::min({AppListModel::iconPoints, option.rect.width(), option.rect.height()});
        QSize size = pixmap.size().scaled(side, side, Qt::KeepAspectRatio);
        QRect target(QPoint(), size);
        target.moveCenter(option.rect.center());
        p->save();
        p->setRenderHint(QPainter::SmoothPixmapTransform);
        p->drawPixmap(target, pixmap);
        p->restore();
    }
};

QString appCountText(size_t n)
{
    return QString::number(n) + QStringLiteral(" aplicaciones");
}

} // namespace

ApplicationsViewController::ApplicationsViewController(QWidget* parent)
    : ToolViewController(parent)
    , apps_(new AppListModel(this))
    , sysInfo_(SystemInfoService::shared())
{
}

void ApplicationsViewController::loadView()
{
    scanButton_
        = new PrimaryButton(QStringLiteral("Cargar Apps"), systemColor(SystemColor::green), this);
    connect(scanButton_, &PrimaryButton::clicked, this, &ApplicationsViewController::loadApps);
    uninstallButton_
        = new PrimaryButton(QStringLiteral("Desinstalar"), systemColor(SystemColor::red), this);
    uninstallButton_->setEnabled(false);
    connect(uninstallButton_, &PrimaryButton::clicked, this,
        &ApplicationsViewController::uninstallSelected);
    progress_ = new ActivityIndicator(this);
    statusLabel_ = makeStatusLabel(this);
    tableView_ = layOutListScreen(this,
        makeScreenHeader(QStringLiteral("Aplicaciones"),
            QStringLiteral("Desinstalá apps completas y libera espacio en disco"),
            QStringLiteral("app.fill"), systemColor(SystemColor::green)),
        scanButton_, uninstallButton_, progress_, statusLabel_, 50);

    tableView_->setModel(apps_);
    tableView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tableView_->setItemDelegateForColumn(
        AppListModel::iconColumn, new CentredIconDelegate(tableView_));
    tableView_->setColumnWidth(AppListModel::iconColumn, 44);
    tableView_->setColumnWidth(AppListModel::nameColumn, 200);
    tableView_->setColumnWidth(AppListModel::versionColumn, 80);
    tableView_->setColumnWidth(AppListModel::sizeColumn, 90);
    tableView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tableView_, &QTableView::customContextMenuRequested, this,
        &ApplicationsViewController::showContextMenu);
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &ApplicationsViewController::updateUninstallButton);
}

void ApplicationsViewController::updateUninstallButton()
{
    if (uninstallButton_)
        uninstallButton_->setEnabled(!loading_ && tableView_->selectionModel()->hasSelection());
}

void ApplicationsViewController::loadApps()
{
    ensureViewLoaded();
    if (loading_)
        return;
    loading_ = true;
    apps_->setApps({});
    uninstallButton_->setEnabled(false);
    scanButton_->setEnabled(false);
    progress_->startAnimation();
    statusLabel_->setText(QStringLiteral("Cargando aplicaciones..."));

    const SystemInfoService* service = &sysInfo_;
    runInBackground(
        this,
        [service](const ProgressSink& progress) {
            std::vector<AppRow> rows;
            for (AppInfo& app : service->getInstalledApps(progress)) {
                QImage icon = loadAppIconImage(app.iconFile, kIconPixels);
                rows.push_back({std::move(app), std::move(icon)});
            }
            return rows;
        },
        [this](std::vector<AppRow> rows) {
            loading_ = false;
            const size_t count = rows.size();
            apps_->setApps(std::move(rows));
            statusLabel_->setText(appCountText(count));
            progress_->stopAnimation();
            scanButton_->setEnabled(true);
            updateUninstallButton();
        },
        [this](const QString& text) { statusLabel_->setText(text); });
}

void ApplicationsViewController::uninstallSelected()
{
    if (!tableView_ || loading_)
        return;
    QModelIndexList rows = tableView_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end(),
        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<ListedItem> targets;
    QStringList names;
    for (const QModelIndex& index : rows) {
        const AppInfo& app = apps_->apps()[static_cast<size_t>(index.row())].info;
        targets.push_back({app.path, app.listed});
        names << displayText(app.name);
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
void ApplicationsViewController::moveToTrash(const std::vector<ListedItem>& targets)
{
    if (loading_)
        return; // a new listing owns the rows now
    std::vector<ListedItem> listed;
    std::vector<int64_t> sizes;
    std::set<std::string> seen;
    for (const ListedItem& target : targets) {
        const auto& all = apps_->apps();
        const auto it = std::find_if(all.begin(), all.end(),
            [&](const AppRow& row) { return row.info.path == target.path; });
        if (it == all.end() || !seen.insert(target.path).second)
            continue; // already gone from the list
        listed.push_back(target);
        sizes.push_back(it->info.size);
    }
    const auto results = trashListedItems(listed);
    std::set<std::string> moved;
    int64_t freed = 0;
    TrashTally tally;
    for (size_t i = 0; i < results.size(); ++i) {
        tally.add(results[i]);
        if (results[i].outcome == TrashOutcome::moved) {
            moved.insert(listed[i].path);
            freed += sizes[i];
        }
    }
    apps_->removePaths(moved);
    updateUninstallButton();
    statusLabel_->setText(trashStatusText(
        QStringLiteral("✅ Movidas a Papelera · Liberado: ") + fileBytesText(freed), tally));
}

void ApplicationsViewController::showContextMenu(const QPoint& pos)
{
    const QModelIndex index = tableView_->indexAt(pos);
    // Below the last row there is nothing to act on, and an empty menu would only be
    // a blank box, so none is shown.
    if (!index.isValid() || index.row() >= apps_->rowCount())
        return;
    const std::string path = apps_->apps()[static_cast<size_t>(index.row())].info.path;
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QColor tint = labelColor(this);
    menu->addAction(symbolIcon(QStringLiteral("folder"), tint),
        platformText(&PlatformTexts::revealInFolder), this,
        [this, path] { showAppInFinder(path); });
    menu->addAction(symbolIcon(QStringLiteral("play.circle"), tint),
        QStringLiteral("Abrir Aplicación"), this, [this, path] { launchApp(path); });
    menu->addSeparator();
    menu->addAction(symbolIcon(QStringLiteral("trash"), tint),
        QStringLiteral("Mover a Papelera (Desinstalar)"), this, [this, path] { trashApp(path); });
    menu->popup(tableView_->viewport()->mapToGlobal(pos));
}

void ApplicationsViewController::showAppInFinder(const std::string& path)
{
    platform::Service<platform::Workspace>::get()->reveal(path);
}

void ApplicationsViewController::launchApp(const std::string& path)
{
    platform::Service<platform::Workspace>::get()->launchApplication(path);
}

void ApplicationsViewController::trashApp(const std::string& path)
{
    if (loading_)
        return;
    const auto& all = apps_->apps();
    const auto it = std::find_if(
        all.begin(), all.end(), [&](const AppRow& row) { return row.info.path == path; });
    if (it == all.end())
        return;
    const int64_t size = it->info.size;
    const auto results = trashListedItems({{path, it->info.listed}});
    switch (results.front().outcome) {
    case TrashOutcome::moved:
        apps_->removePaths({path});
        updateUninstallButton();
        statusLabel_->setText(QStringLiteral("✅ Desinstalada · Liberado: ") + fileBytesText(size));
        break;
    case TrashOutcome::changed: {
        TrashTally tally;
        tally.add(results.front());
        statusLabel_->setText(trashStatusText({}, tally));
        break;
    }
    case TrashOutcome::failed:
        break; // refused: the bundle stays listed and the line is left as it was
    }
}

} // namespace tidvale::gui

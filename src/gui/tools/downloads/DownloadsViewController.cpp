#include "gui/tools/downloads/DownloadsViewController.h"

#include "gui/tools/FinderLists.h"
#include "gui/tools/TrashReport.h"
#include "gui/tools/downloads/DownloadsModel.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/jobs/Background.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/widgets/Labels.h"
#include "gui/text/PlatformText.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ScreenHeader.h"
#include "platform/Workspace.h"
#include "gui/text/DisplayText.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

namespace tidvale::gui {

const std::vector<DownloadItem>& DownloadsViewController::items() const
{
    static const std::vector<DownloadItem> none;
    return model_ ? model_->items() : none;
}

void DownloadsViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Descargas"),
        QStringLiteral("Administra y limpia tu carpeta Downloads"),
        QStringLiteral("arrow.down.circle.fill"), systemColor(SystemColor::mint)));

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(20, 12, 20, 8);
    bar->setSpacing(8);
    bar->addWidget(
        makeLabel(QStringLiteral("Filtrar:"), 12, QFont::Normal, secondaryLabelColor(this), this));
    filterPop_ = new QComboBox(this);
    for (const auto& f : kAgeFilters)
        filterPop_->addItem(QString::fromUtf8(f.title));
    filterPop_->setCurrentIndex(0);
    connect(
        filterPop_, &QComboBox::currentIndexChanged, this, &DownloadsViewController::filterChanged);
    bar->addWidget(filterPop_);
    loadButton_ = new PrimaryButton(
        QStringLiteral("Cargar Descargas"), systemColor(SystemColor::mint), this);
    connect(loadButton_, &PrimaryButton::clicked, this, &DownloadsViewController::loadDownloads);
    bar->addWidget(loadButton_);
    selectAllBtn_ = new PrimaryButton(
        QStringLiteral("Seleccionar Todo"), systemColor(SystemColor::gray), this);
    selectAllBtn_->setEnabled(false);
    connect(
        selectAllBtn_, &PrimaryButton::clicked, this, &DownloadsViewController::toggleSelectAll);
    bar->addWidget(selectAllBtn_);
    trashButton_ = new PrimaryButton(
        QStringLiteral("Mover a Papelera"), systemColor(SystemColor::red), this);
    trashButton_->setEnabled(false);
    connect(trashButton_, &PrimaryButton::clicked, this, &DownloadsViewController::doTrash);
    bar->addWidget(trashButton_);
    bar->addStretch(1);
    layout->addLayout(bar);
    layout->addLayout(makeStatusRow(progress_, statusLabel_, this));

    model_ = new DownloadsModel(this);
    connect(model_, &DownloadsModel::rowTicked, this, &DownloadsViewController::toggleRow);
    tableView_ = new QTableView(this);
    tableView_->setModel(model_);
    styleList(tableView_, 40);
    tableView_->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView_->setItemDelegate(new ListCellDelegate(Qt::ElideRight, 40, tableView_));
    const int widths[] = {30, 220, 90, 110, 120};
    for (int c = 0; c < DownloadsModel::columnTotal; ++c)
        tableView_->setColumnWidth(c, widths[c]);
    tableView_->horizontalHeader()->setStretchLastSection(true);
    connect(tableView_, &QTableView::customContextMenuRequested, this, [this](const QPoint& pos) {
        popUpContextMenu(tableView_, pos,
            [this](QMenu* menu, const QModelIndex& index) { menuNeedsUpdate(menu, index.row()); });
    });
    layout->addWidget(tableView_, 1);
}

void DownloadsViewController::loadDownloads()
{
    ensureViewLoaded();
    if (loading_)
        return;
    loading_ = true;
    allItems_.clear();
    model_->setItems({});
    trashButton_->setEnabled(false);
    selectAllBtn_->setEnabled(false);
    loadButton_->setEnabled(false);
    progress_->startAnimation();
    const std::string folder = folder_.empty() ? downloadsFolder() : folder_;
    runInBackground(
        this, [folder](const ProgressSink&) { return listDownloads(folder); },
        [this](std::vector<DownloadItem> listed) { finishLoading(std::move(listed)); });
}

void DownloadsViewController::finishLoading(std::vector<DownloadItem> listed)
{
    allItems_ = std::move(listed);
    filterChanged();
    progress_->stopAnimation();
    loadButton_->setEnabled(true);
    selectAllBtn_->setEnabled(!items().empty());
    loading_ = false;
    emit loadFinished();
}

void DownloadsViewController::filterChanged()
{
    if (!model_)
        return;
    model_->setItems(
        filterDownloads(allItems_, filterPop_->currentIndex(), std::chrono::system_clock::now()));
    statusLabel_->setText(displayText(downloadsSummary(items())));
    selectAllBtn_->setEnabled(!items().empty());
    updateTrashButton();
}

void DownloadsViewController::updateTrashButton()
{
    trashButton_->setEnabled(std::any_of(
        items().begin(), items().end(), [](const DownloadItem& i) { return i.isSelected; }));
}

void DownloadsViewController::recordTick(const std::string& path, bool ticked)
{
    const auto it = std::find_if(
        allItems_.begin(), allItems_.end(), [&](const DownloadItem& i) { return i.path == path; });
    if (it != allItems_.end())
        it->isSelected = ticked;
}

void DownloadsViewController::toggleRow(int row, bool ticked)
{
    if (row < 0 || row >= static_cast<int>(items().size()))
        return;
    if (items()[static_cast<size_t>(row)].isSelected != ticked)
        model_->setTicked(row, ticked);
    recordTick(items()[static_cast<size_t>(row)].path, ticked);
    updateTrashButton();
}

void DownloadsViewController::toggleSelectAll()
{
    const bool allTicked = !items().empty()
        && std::all_of(
            items().begin(), items().end(), [](const DownloadItem& i) { return i.isSelected; });
    const bool tick = !allTicked;
    for (int row = 0; row < static_cast<int>(items().size()); ++row) {
        model_->setTicked(row, tick);
        recordTick(items()[static_cast<size_t>(row)].path, tick);
    }
    selectAllBtn_->setText(tick && !items().empty() ? QStringLiteral("Deseleccionar Todo")
                                                    : QStringLiteral("Seleccionar Todo"));
    updateTrashButton();
}

void DownloadsViewController::doTrash()
{
    std::vector<DownloadItem> ticked;
    int64_t total = 0;
    for (const auto& item : items())
        if (item.isSelected) {
            ticked.push_back(item);
            total += item.size;
        }
    if (ticked.empty())
        return;
    AlertRequest alert;
    alert.message = QStringLiteral("¿Mover %1 archivo(s) a la Papelera?").arg(ticked.size());
    alert.informativeText = QStringLiteral("Se liberarán ~") + fileBytesText(total)
        + QStringLiteral(" al vaciar la Papelera.");
    alert.buttons = {QStringLiteral("Mover"), QStringLiteral("Cancelar")};
    showAlert(this, alert, [this, ticked](int answer) {
        if (answer == 0)
            moveTicked(ticked);
    });
}

// Only entries still as they were listed are moved: a download that finished under
// the same name since, or a folder whose entries changed, stays ticked and listed.
void DownloadsViewController::moveTicked(const std::vector<DownloadItem>& ticked)
{
    std::vector<ListedItem> listed;
    for (const auto& entry : ticked)
        listed.push_back({entry.path, entry.listed});
    const auto results = trashListedItems(listed);
    int64_t freed = 0;
    TrashTally tally;
    std::set<std::string> moved;
    for (size_t i = 0; i < results.size(); ++i) {
        tally.add(results[i]);
        if (results[i].outcome == TrashOutcome::moved) {
            freed += ticked[i].size;
            moved.insert(ticked[i].path);
        }
    }
    std::erase_if(allItems_, [&](const DownloadItem& i) { return moved.count(i.path) > 0; });
    filterChanged();
    statusLabel_->setText(
        trashStatusText(QStringLiteral("✅ Liberado: ") + fileBytesText(freed), tally));
}

void DownloadsViewController::menuNeedsUpdate(QMenu* menu, int clickedRow)
{
    menu->clear();
    if (clickedRow < 0 || clickedRow >= static_cast<int>(items().size()))
        return;
    const std::string path = items()[static_cast<size_t>(clickedRow)].path;
    addMenuItem(menu, platformText(&PlatformTexts::revealInFolder), QStringLiteral("folder"),
        [this, path] { showInFinder(path); });
    addMenuItem(menu, QStringLiteral("Abrir"), QStringLiteral("arrow.up.right.square"),
        [this, path] { openFile(path); });
    addMenuItem(menu, QStringLiteral("Obtener Información"), QStringLiteral("info.circle"),
        [this, path] { getInfo(path); });
    menu->addSeparator();
    addMenuItem(menu, QStringLiteral("Mover a Papelera"), QStringLiteral("trash"),
        [this, path] { trashFromMenu(path); });
}

void DownloadsViewController::showInFinder(const std::string& path)
{
    if (!path.empty())
        platform::Service<platform::Workspace>::get()->reveal(path);
}

void DownloadsViewController::openFile(const std::string& path)
{
    if (!path.empty())
        platform::Service<platform::Workspace>::get()->openWithDefaultApplication(path);
}

void DownloadsViewController::getInfo(const std::string& path)
{
    if (!path.empty())
        platform::Service<platform::Workspace>::get()->showInformation(path);
}

void DownloadsViewController::trashFromMenu(const std::string& path)
{
    const auto& shown = items();
    const auto it = std::find_if(
        shown.begin(), shown.end(), [&](const DownloadItem& i) { return i.path == path; });
    if (path.empty() || it == shown.end())
        return;
    const int64_t size = it->size;
    const int row = static_cast<int>(it - shown.begin());
    const auto results = trashListedItems({{path, it->listed}});
    TrashTally tally;
    tally.add(results.front());
    if (results.front().outcome == TrashOutcome::moved) {
        std::erase_if(allItems_, [&](const DownloadItem& i) { return i.path == path; });
        model_->removeRowAt(row);
    }
    statusLabel_->setText(
        trashStatusText(QStringLiteral("✅ Eliminado · Liberado: ") + fileBytesText(size), tally));
}

} // namespace tidvale::gui

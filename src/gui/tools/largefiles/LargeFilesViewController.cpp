#include "gui/tools/largefiles/LargeFilesViewController.h"

#include "engine/fs/Homes.h"
#include "gui/tools/FinderLists.h"
#include "gui/tools/TrashReport.h"
#include "gui/tools/largefiles/LargeFilesModel.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/jobs/Background.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
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

const std::vector<LargeFileItem>& LargeFilesViewController::items() const
{
    static const std::vector<LargeFileItem> none;
    return model_ ? model_->items() : none;
}

void LargeFilesViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Archivos Grandes"),
        QStringLiteral("Encuentra archivos que ocupan demasiado espacio"),
        QStringLiteral("doc.zipper"), systemColor(SystemColor::pink)));

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(20, 12, 20, 8);
    bar->setSpacing(8);
    bar->addWidget(
        makeLabel(QStringLiteral("Mayor de:"), 12, QFont::Normal, secondaryLabelColor(this), this));
    thresholdPop_ = new QComboBox(this);
    for (const auto& t : kLargeFileThresholds)
        thresholdPop_->addItem(QString::fromUtf8(t.title));
    thresholdPop_->setCurrentIndex(kDefaultLargeFileThreshold);
    connect(thresholdPop_, &QComboBox::currentIndexChanged, this,
        &LargeFilesViewController::thresholdChanged);
    bar->addWidget(thresholdPop_);
    scanButton_
        = new PrimaryButton(QStringLiteral("Escanear"), systemColor(SystemColor::pink), this);
    connect(scanButton_, &PrimaryButton::clicked, this, &LargeFilesViewController::doScan);
    bar->addWidget(scanButton_);
    trashButton_ = new PrimaryButton(
        QStringLiteral("Mover a Papelera"), systemColor(SystemColor::red), this);
    trashButton_->setEnabled(false);
    connect(trashButton_, &PrimaryButton::clicked, this, &LargeFilesViewController::doTrash);
    bar->addWidget(trashButton_);
    bar->addStretch(1);
    layout->addLayout(bar);
    layout->addLayout(makeStatusRow(progress_, statusLabel_, this));

    model_ = new LargeFilesModel(this);
    tableView_ = new QTableView(this);
    tableView_->setModel(model_);
    styleList(tableView_, 44);
    tableView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tableView_->setItemDelegate(new ListCellDelegate(Qt::ElideRight, 44, tableView_));
    tableView_->setItemDelegateForColumn(
        LargeFilesModel::pathColumn, new ListCellDelegate(Qt::ElideMiddle, 44, tableView_));
    const int widths[] = {220, 200, 90, 110};
    for (int c = 0; c < LargeFilesModel::columnTotal; ++c)
        tableView_->setColumnWidth(c, widths[c]);
    tableView_->horizontalHeader()->setStretchLastSection(true);
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &LargeFilesViewController::updateTrashButton);
    connect(tableView_, &QTableView::customContextMenuRequested, this, [this](const QPoint& pos) {
        popUpContextMenu(tableView_, pos,
            [this](QMenu* menu, const QModelIndex& index) { menuNeedsUpdate(menu, index.row()); });
    });
    layout->addWidget(tableView_, 1);
}

void LargeFilesViewController::thresholdChanged()
{
    const int index = thresholdPop_->currentIndex();
    if (index >= 0 && index < static_cast<int>(kLargeFileThresholds.size()))
        thresholdBytes_ = kLargeFileThresholds[static_cast<size_t>(index)].bytes;
}

void LargeFilesViewController::doScan()
{
    ensureViewLoaded();
    if (searching_)
        return;
    searching_ = true;
    model_->setItems({});
    trashButton_->setEnabled(false);
    progress_->startAnimation();
    scanButton_->setEnabled(false);
    statusLabel_->setText(QStringLiteral("Escaneando..."));

    const int64_t threshold = thresholdBytes_; // a later change applies to the next search
    const auto roots = roots_.empty() ? defaultScanFolders() : roots_;
    runInBackground(
        this,
        [roots, threshold](
            const ProgressSink& progress) { return findLargeFiles(roots, threshold, progress); },
        [this](std::vector<LargeFileItem> found) { finishSearch(std::move(found)); },
        [this](const QString& text) { statusLabel_->setText(text); });
}

void LargeFilesViewController::finishSearch(std::vector<LargeFileItem> found)
{
    model_->setItems(std::move(found));
    statusLabel_->setText(displayText(largeFilesSummary(model_->items())));
    trashButton_->setEnabled(!model_->items().empty());
    progress_->stopAnimation();
    scanButton_->setEnabled(true);
    searching_ = false;
    emit scanFinished();
}

void LargeFilesViewController::updateTrashButton()
{
    trashButton_->setEnabled(!model_->items().empty());
}

void LargeFilesViewController::doTrash()
{
    std::vector<LargeFileItem> targets;
    QModelIndexList rows = tableView_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const auto& row : rows)
        targets.push_back(model_->items()[static_cast<size_t>(row.row())]);
    if (rows.isEmpty())
        targets = model_->items();
    if (targets.empty())
        return;
    AlertRequest alert;
    alert.message = QStringLiteral("¿Mover %1 archivo(s) a la Papelera?").arg(targets.size());
    alert.informativeText = QStringLiteral("Se liberará espacio al vaciar la Papelera.");
    alert.buttons = {QStringLiteral("Mover"), QStringLiteral("Cancelar")};
    showAlert(this, alert, [this, targets](int answer) {
        if (answer == 0)
            moveTargets(targets);
    });
}

// Only files still as the search found them are moved: a path that holds another
// file by now, or the same file rewritten, stays where it is and in the list.
void LargeFilesViewController::moveTargets(const std::vector<LargeFileItem>& targets)
{
    std::vector<ListedItem> listed;
    for (const auto& target : targets)
        listed.push_back({target.path, target.listed});
    const auto results = trashListedItems(listed);
    int64_t freed = 0;
    TrashTally tally;
    std::set<std::string> moved;
    for (size_t i = 0; i < results.size(); ++i) {
        tally.add(results[i]);
        if (results[i].outcome == TrashOutcome::moved) {
            freed += targets[i].size;
            moved.insert(targets[i].path);
        }
    }
    model_->removePaths(moved);
    statusLabel_->setText(
        trashStatusText(QStringLiteral("✅ Liberado: ") + fileBytesText(freed), tally));
    updateTrashButton();
}

void LargeFilesViewController::menuNeedsUpdate(QMenu* menu, int clickedRow)
{
    menu->clear();
    if (clickedRow < 0 || clickedRow >= static_cast<int>(model_->items().size()))
        return;
    const std::string path = model_->items()[static_cast<size_t>(clickedRow)].path;
    addMenuItem(menu, platformText(&PlatformTexts::revealInFolder), QStringLiteral("folder"),
        [this, path] { showInFinder(path); });
    addMenuItem(menu, QStringLiteral("Obtener Información"), QStringLiteral("info.circle"),
        [this, path] { getInfo(path); });
    menu->addSeparator();
    addMenuItem(menu, QStringLiteral("Mover a Papelera"), QStringLiteral("trash"),
        [this, path] { trashItem(path); });
}

void LargeFilesViewController::showInFinder(const std::string& path)
{
    if (!path.empty())
        platform::Service<platform::Workspace>::get()->reveal(path);
}

void LargeFilesViewController::getInfo(const std::string& path)
{
    if (!path.empty())
        platform::Service<platform::Workspace>::get()->showInformation(path);
}

void LargeFilesViewController::trashItem(const std::string& path)
{
    const auto& items = model_->items();
    const auto it = std::find_if(
        items.begin(), items.end(), [&](const LargeFileItem& i) { return i.path == path; });
    if (path.empty() || it == items.end())
        return; // only a listed file is ever moved, and only as it was listed
    const int64_t size = it->size;
    const int row = static_cast<int>(it - items.begin());
    const auto results = trashListedItems({{path, it->listed}});
    TrashTally tally;
    tally.add(results.front());
    if (results.front().outcome == TrashOutcome::moved)
        model_->removeRowAt(row);
    statusLabel_->setText(
        trashStatusText(QStringLiteral("✅ Eliminado · Liberado: ") + fileBytesText(size), tally));
}

} // namespace tidvale::gui

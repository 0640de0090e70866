#include "gui/tools/downloads/DownloadsViewController.h"

#include "engine/settings/KeepList.h"

#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"
#include "gui/text/PlatformText.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/ItemMenu.h"
#include "gui/tools/downloads/DownloadsModel.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"

#include <QComboBox>
#include <QMenu>
#include <QTableView>

namespace tidvale::gui {

const std::vector<DownloadItem>& DownloadsViewController::allItems() const
{
    static const std::vector<DownloadItem> none;
    return model_ ? model_->items() : none;
}

std::vector<DownloadItem> DownloadsViewController::items() const
{
    std::vector<DownloadItem> shown;
    for (int row = 0; shown_ && row < shown_->rowCount(); ++row)
        shown.push_back(
            model_->items()[static_cast<size_t>(shown_->mapToSource(shown_->index(row, 0)).row())]);
    return shown;
}

void DownloadsViewController::loadView()
{
    // The Mac names its folder "Downloads"; elsewhere the folder is named as it is on
    // disk ("Descargas" in a Spanish session).
    QString folderName = platformText(context(), &PlatformTexts::downloadsFolderName);
    if (folderName.isEmpty()) {
        const std::string folder = folder_.empty() ? downloadsFolder(context()) : folder_;
        folderName = displayText(folder.substr(folder.rfind('/') + 1));
    }
    setUpScreen({QStringLiteral("Descargas"),
                    QStringLiteral("Administra y limpia tu carpeta ") + folderName,
                    QStringLiteral("arrow.down.circle.fill"), systemColor(SystemColor::mint)},
        ToolbarStyle::rowThenStatus);
    QStringList ages;
    for (const auto& f : kAgeFilters)
        ages << QString::fromUtf8(f.title);
    filterPop_ = addPopUp(QStringLiteral("Filtrar:"), ages, 0, [this] { filterChanged(); });
    addStartButton(QStringLiteral("Cargar Descargas"), [this] { loadDownloads(); });
    selectAllBtn_ = addButton(QStringLiteral("Seleccionar Todo"), systemColor(SystemColor::gray),
        [this] { toggleSelectAll(); });
    trashButton_ = addButton(
        QStringLiteral("Mover a Papelera"), systemColor(SystemColor::red), [this] { doTrash(); });

    model_ = new DownloadsModel(this);
    connect(model_, &DownloadsModel::ticked, this, &DownloadsViewController::updateTrashButton);
    shown_ = new DownloadsAgeFilter(this);
    shown_->setSourceModel(model_);
    tableView_ = makeTableList(shown_, {40, {30, 220, 90, 110, 120}});
    setList(tableView_, ContentInset::edgeToEdge,
        QStringLiteral("Pulsa «Cargar Descargas» para ver lo que guarda tu carpeta ") + folderName
            + QStringLiteral("."));
}

void DownloadsViewController::loadDownloads()
{
    if (!readyForJob())
        return;
    auto before = model_->items();
    model_->setItems({});
    trashButton_->setEnabled(false);
    selectAllBtn_->setEnabled(false);
    const std::string folder = folder_.empty() ? downloadsFolder(context()) : folder_;
    runJob(
        [folder, measure = treeMeasure(*context().pool), &settings = context().settings](
            const JobControl& job) {
            auto listed = listDownloads(folder, job, measure);
            dropKept(listed, keptPaths(settings));
            return listed;
        },
        [this](std::vector<DownloadItem> listed) {
            model_->setItems(std::move(listed));
            filterChanged();
        },
        [this, before = std::move(before)]() mutable {
            model_->setItems(std::move(before));
            filterChanged();
        });
}

void DownloadsViewController::filterChanged()
{
    if (!model_)
        return;
    shown_->setAge(filterPop_->currentIndex(), std::chrono::system_clock::now());
    setStatus(displayText(downloadsSummary(items())));
    selectAllBtn_->setEnabled(shown_->rowCount() > 0);
    updateTrashButton();
}

void DownloadsViewController::updateTrashButton()
{
    const auto shown = items();
    trashButton_->setEnabled(std::any_of(
        shown.begin(), shown.end(), [](const DownloadItem& i) { return i.isSelected; }));
}

void DownloadsViewController::toggleRow(int row, bool ticked)
{
    if (row < 0 || row >= shown_->rowCount())
        return;
    shown_->setData(shown_->index(row, DownloadsModel::checkColumn),
        ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

void DownloadsViewController::toggleSelectAll()
{
    const auto shown = items();
    const bool allTicked = !shown.empty()
        && std::all_of(
            shown.begin(), shown.end(), [](const DownloadItem& i) { return i.isSelected; });
    const bool tick = !allTicked;
    for (int row = 0; row < shown_->rowCount(); ++row)
        model_->setTicked(shown_->mapToSource(shown_->index(row, 0)).row(), tick);
    selectAllBtn_->setText(tick && !shown.empty() ? QStringLiteral("Deseleccionar Todo")
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
            moveToTrash(ticked, QStringLiteral("✅ Liberado: "));
    });
}

// Only entries still as they were listed are moved: a download that finished under
// the same name since, or a folder whose entries changed, stays ticked and listed.
void DownloadsViewController::moveToTrash(std::vector<DownloadItem> targets, const QString& success)
{
    runListRemoval([trash = context().backends.trash, targets = targetsOf(targets)](
                       const JobControl& job) { return trashTargets(*trash, targets, job); },
        model_, [](const DownloadItem& i) { return i.path; }, success,
        [this](const RemovalReport&) { filterChanged(); });
}

void DownloadsViewController::menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked)
{
    menu->clear();
    if (!clicked.isValid() || clicked.row() >= shown_->rowCount())
        return;
    const std::string path
        = model_->items()[static_cast<size_t>(shown_->mapToSource(clicked).row())].path;
    itemMenu(menu, path).reveal().open().info().separator().trash([this, path] {
        // Only an entry still shown is moved, and only as it was listed.
        for (const auto& item : items())
            if (item.path == path)
                return moveToTrash({item}, QStringLiteral("✅ Eliminado · Liberado: "));
    });
}

} // namespace tidvale::gui

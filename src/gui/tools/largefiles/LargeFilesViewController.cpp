#include "gui/tools/largefiles/LargeFilesViewController.h"

#include "engine/settings/KeepList.h"

#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/ItemMenu.h"
#include "gui/tools/largefiles/LargeFilesModel.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"

#include <QComboBox>
#include <QMenu>
#include <QTableView>

namespace tidvale::gui {

const std::vector<LargeFileItem>& LargeFilesViewController::items() const
{
    static const std::vector<LargeFileItem> none;
    return model_ ? model_->items() : none;
}

void LargeFilesViewController::loadView()
{
    setUpScreen({QStringLiteral("Archivos Grandes"),
                    QStringLiteral("Encuentra archivos que ocupan demasiado espacio"),
                    QStringLiteral("doc.zipper"), systemColor(SystemColor::pink)},
        ToolbarStyle::rowThenStatus);
    QStringList thresholds;
    for (const auto& t : kLargeFileThresholds)
        thresholds << QString::fromUtf8(t.title);
    thresholdPop_ = addPopUp(QStringLiteral("Mayor de:"), thresholds, kDefaultLargeFileThreshold,
        [this] { thresholdChanged(); });
    addStartButton(QStringLiteral("Escanear"), [this] { doScan(); });
    trashButton_ = addButton(
        QStringLiteral("Mover a Papelera"), systemColor(SystemColor::red), [this] { doTrash(); });

    model_ = new LargeFilesModel(this);
    tableView_ = makeTableList(model_,
        {44, {220, 200, 90, 110}, LargeFilesModel::pathColumn, QAbstractItemView::ExtendedSelection,
            Qt::ElideRight, LargeFilesModel::pathColumn});
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &LargeFilesViewController::updateTrashButton);
    setList(tableView_, ContentInset::edgeToEdge,
        QStringLiteral("Elige un tamaño y pulsa «Escanear» para buscar en tus carpetas."));
}

void LargeFilesViewController::thresholdChanged()
{
    const int index = thresholdPop_->currentIndex();
    if (index >= 0 && index < static_cast<int>(kLargeFileThresholds.size()))
        thresholdBytes_ = kLargeFileThresholds[static_cast<size_t>(index)].bytes;
}

void LargeFilesViewController::doScan()
{
    if (!readyForJob())
        return;
    auto before = model_->items();
    model_->setItems({});
    trashButton_->setEnabled(false);
    setStatus(QStringLiteral("Escaneando..."));
    const int64_t threshold = thresholdBytes_; // a later change applies to the next search
    const auto roots = roots_.empty() ? context().folders.personal : roots_;
    runJob(
        [pool = context().pool, roots, threshold, &settings = context().settings](
            const JobControl& job) {
            auto found = findLargeFiles(*pool, roots, threshold, job);
            dropKept(found, keptPaths(settings));
            return found;
        },
        [this](std::vector<LargeFileItem> found) {
            model_->setItems(std::move(found));
            setStatus(displayText(largeFilesSummary(model_->items())));
            updateTrashButton();
        },
        [this, before = std::move(before)]() mutable {
            model_->setItems(std::move(before));
            updateTrashButton();
        });
}

void LargeFilesViewController::updateTrashButton()
{
    trashButton_->setEnabled(!model_->items().empty());
}

// The selected files, or every file when none is selected.
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
            moveToTrash(targets, QStringLiteral("✅ Liberado: "));
    });
}

// Only files still as the search found them are moved: a path that holds another
// file by now, or the same file rewritten, stays where it is and in the list.
void LargeFilesViewController::moveToTrash(
    std::vector<LargeFileItem> targets, const QString& success)
{
    runListRemoval([trash = context().backends.trash, targets = targetsOf(targets)](
                       const JobControl& job) { return trashTargets(*trash, targets, job); },
        model_, [](const LargeFileItem& i) { return i.path; }, success,
        [this](const RemovalReport&) { updateTrashButton(); });
}

void LargeFilesViewController::menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked)
{
    menu->clear();
    if (!clicked.isValid() || clicked.row() >= model_->rowCount())
        return;
    const std::string path = model_->items()[static_cast<size_t>(clicked.row())].path;
    itemMenu(menu, path).reveal().info().separator().trash([this, path] {
        // Only a file still listed is moved, and only as it was listed.
        const auto& all = model_->items();
        const auto it = std::find_if(
            all.begin(), all.end(), [&](const LargeFileItem& i) { return i.path == path; });
        if (it != all.end())
            moveToTrash({*it}, QStringLiteral("✅ Eliminado · Liberado: "));
    });
}

} // namespace tidvale::gui

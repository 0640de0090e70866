#include "gui/tools/duplicates/DuplicatesViewController.h"

#include "engine/finders/DuplicateRemoval.h"
#include "engine/fs/Homes.h"
#include "gui/tools/FinderLists.h"
#include "gui/tools/TrashReport.h"
#include "gui/tools/duplicates/DuplicatesModel.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/jobs/Background.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/text/PlatformText.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ScreenHeader.h"
#include "platform/Workspace.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTreeView>
#include <QVBoxLayout>

namespace tidvale::gui {

const std::vector<DuplicateGroup>& DuplicatesViewController::groups() const
{
    static const std::vector<DuplicateGroup> none;
    return model_ ? model_->groups() : none;
}

void DuplicatesViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Archivos Duplicados"),
        QStringLiteral("Detecta copias exactas y libera espacio"),
        QStringLiteral("doc.on.doc.fill"), systemColor(SystemColor::indigo)));

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(20, 12, 20, 8);
    bar->setSpacing(8);
    scanButton_ = new PrimaryButton(
        QStringLiteral("Escanear Duplicados"), systemColor(SystemColor::indigo), this);
    connect(scanButton_, &PrimaryButton::clicked, this, &DuplicatesViewController::doScan);
    bar->addWidget(scanButton_);
    cleanButton_ = new PrimaryButton(
        QStringLiteral("Eliminar Duplicados"), systemColor(SystemColor::red), this);
    cleanButton_->setEnabled(false);
    connect(cleanButton_, &PrimaryButton::clicked, this, &DuplicatesViewController::doClean);
    bar->addWidget(cleanButton_);
    bar->addStretch(1);
    layout->addLayout(bar);
    layout->addLayout(makeStatusRow(progress_, statusLabel_, this));

    model_ = new DuplicatesModel(this);
    outlineView_ = new QTreeView(this);
    outlineView_->setModel(model_);
    styleList(outlineView_, 40);
    outlineView_->setHeaderHidden(true);
    outlineView_->setIndentation(20);
    outlineView_->setSelectionMode(QAbstractItemView::SingleSelection);
    outlineView_->setItemDelegate(new ListCellDelegate(Qt::ElideMiddle, 40, outlineView_));
    const int widths[] = {360, 90, 200};
    for (int c = 0; c < DuplicatesModel::columnTotal; ++c)
        outlineView_->setColumnWidth(c, widths[c]);
    outlineView_->header()->setStretchLastSection(true);
    connect(outlineView_, &QTreeView::customContextMenuRequested, this, [this](const QPoint& pos) {
        popUpContextMenu(outlineView_, pos,
            [this](QMenu* menu, const QModelIndex& index) { menuNeedsUpdate(menu, index); });
    });
    layout->addWidget(outlineView_, 1);
}

void DuplicatesViewController::showGroups(std::vector<DuplicateGroup> groups)
{
    model_->setGroups(std::move(groups));
    outlineView_->expandAll(); // every file visible after each change
}

void DuplicatesViewController::doScan()
{
    ensureViewLoaded();
    if (searching_)
        return;
    searching_ = true;
    showGroups({});
    cleanButton_->setEnabled(false);
    progress_->startAnimation();
    scanButton_->setEnabled(false);
    statusLabel_->setText(QStringLiteral("Buscando duplicados..."));

    const auto roots = roots_.empty() ? defaultScanFolders() : roots_;
    runInBackground(
        this,
        [roots](const ProgressSink& progress) {
            return findDuplicates(roots, [&](size_t buckets) {
                progress("Calculando hashes para " + std::to_string(buckets) + " grupos...");
            });
        },
        [this](DuplicateSearch result) { finishSearch(std::move(result)); },
        [this](const QString& text) { statusLabel_->setText(text); });
}

void DuplicatesViewController::finishSearch(DuplicateSearch result)
{
    showGroups(std::move(result.groups));
    if (groups().empty())
        statusLabel_->setText(QStringLiteral("✅ No se encontraron duplicados"));
    else
        showCountAndWaste();
    cleanButton_->setEnabled(!groups().empty());
    progress_->stopAnimation();
    scanButton_->setEnabled(true);
    searching_ = false;
    emit scanFinished();
}

void DuplicatesViewController::showCountAndWaste()
{
    statusLabel_->setText(QStringLiteral("%1 grupos · ").arg(groups().size())
        + fileBytesText(wastedTotal(groups())) + QStringLiteral(" desperdiciados"));
}

void DuplicatesViewController::doClean()
{
    if (groups().empty())
        return;
    int64_t copies = 0;
    for (const auto& g : groups())
        copies += g.extraCopies();
    AlertRequest alert;
    alert.message = QStringLiteral("¿Eliminar %1 duplicados?").arg(copies);
    alert.informativeText = QStringLiteral("Se conservará un archivo de cada grupo y se moverán "
                                           "%1 copias a la Papelera. Se liberarán ~")
                                .arg(copies)
        + fileBytesText(wastedTotal(groups())) + QStringLiteral(".");
    alert.buttons = {QStringLiteral("Eliminar Duplicados"), QStringLiteral("Cancelar")};
    showAlert(this, alert, [this](int answer) {
        if (answer != 0)
            return;
        int64_t freed = 0;
        TrashTally tally;
        for (const auto& group : groups()) {
            const auto removal = trashExtraCopies(group);
            freed += removal.freed;
            tally.add(removal.tally);
        }
        showGroups({});
        statusLabel_->setText(
            trashStatusText(QStringLiteral("✅ Liberado: ") + fileBytesText(freed), tally));
        cleanButton_->setEnabled(false);
    });
}

void DuplicatesViewController::menuNeedsUpdate(QMenu* menu, const QModelIndex& clicked)
{
    menu->clear();
    const DuplicateGroup* group = model_->groupAt(clicked);
    if (!group || group->files.empty())
        return;
    if (const DuplicateFile* file = model_->fileAt(clicked)) {
        const std::string path = file->path;
        addMenuItem(menu, platformText(&PlatformTexts::revealInFolder), QStringLiteral("folder"),
            [this, path] { showInFinder(path); });
        menu->addSeparator();
        addMenuItem(menu, QStringLiteral("Mover a Papelera"), QStringLiteral("trash"),
            [this, path] { trashFromMenu(path); });
        addMenuItem(menu, QStringLiteral("Obtener Información"), QStringLiteral("info.circle"),
            [this, path] { getInfoFromMenu(path); });
        return;
    }
    const std::string hash = group->hash;
    const std::string original = group->files.front().path;
    addMenuItem(menu,
        QStringLiteral("Eliminar Duplicados de este Grupo (%1 copias)").arg(group->extraCopies()),
        QStringLiteral("doc.on.doc"), [this, hash] { cleanGroupFromMenu(hash); });
    menu->addSeparator();
    addMenuItem(menu, platformText(&PlatformTexts::revealOriginal), QStringLiteral("folder"),
        [this, original] { showInFinder(original); });
}

void DuplicatesViewController::cleanGroupFromMenu(const std::string& hash)
{
    auto groups = model_->groups();
    const auto it = std::find_if(
        groups.begin(), groups.end(), [&](const DuplicateGroup& g) { return g.hash == hash; });
    if (hash.empty() || it == groups.end())
        return;
    const auto removal = trashExtraCopies(*it);
    groups.erase(it);
    showGroups(std::move(groups));
    cleanButton_->setEnabled(!this->groups().empty());
    // The status line is left as it was, unless copies had to stay where they were.
    if (removal.tally.changed > 0 || removal.tally.failed > 0)
        statusLabel_->setText(trashStatusText(
            QStringLiteral("✅ Liberado: ") + fileBytesText(removal.freed), removal.tally));
}

void DuplicatesViewController::showInFinder(const std::string& path)
{
    if (!path.empty())
        platform::Service<platform::Workspace>::get()->reveal(path);
}

void DuplicatesViewController::getInfoFromMenu(const std::string& path)
{
    if (!path.empty())
        platform::Service<platform::Workspace>::get()->showInformation(path);
}

void DuplicatesViewController::trashFromMenu(const std::string& path)
{
    if (path.empty())
        return;
    auto groups = model_->groups();
    const auto owner = std::find_if(groups.begin(), groups.end(), [&](const DuplicateGroup& g) {
        return std::any_of(
            g.files.begin(), g.files.end(), [&](const DuplicateFile& f) { return f.path == path; });
    });
    if (owner == groups.end())
        return;
    const auto removal = trashOneCopy(*owner, path);
    if (removal.moved.empty()) {
        statusLabel_->setText(trashStatusText({}, removal.tally));
        return;
    }
    for (auto& g : groups)
        std::erase_if(g.files, [&](const DuplicateFile& f) { return f.path == path; });
    std::erase_if(groups, [](const DuplicateGroup& g) { return g.files.size() < 2; });
    showGroups(std::move(groups));
    if (this->groups().empty())
        statusLabel_->setText(QStringLiteral("✅ Sin duplicados"));
    else
        showCountAndWaste();
}

} // namespace tidvale::gui

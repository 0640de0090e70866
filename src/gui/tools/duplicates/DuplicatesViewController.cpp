#include "gui/tools/duplicates/DuplicatesViewController.h"

#include "engine/settings/KeepList.h"

#include "engine/finders/DuplicateRemoval.h"
#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/PlatformText.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/ItemMenu.h"
#include "gui/tools/duplicates/DuplicatesModel.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTreeView>

namespace tidvale::gui {
namespace {

// The first group with a copy at `path`, or the end.
template <class Groups> auto groupHolding(Groups& groups, const std::string& path)
{
    return std::find_if(groups.begin(), groups.end(), [&](const DuplicateGroup& g) {
        return std::any_of(
            g.files.begin(), g.files.end(), [&](const DuplicateFile& f) { return f.path == path; });
    });
}

} // namespace

const std::vector<DuplicateGroup>& DuplicatesViewController::groups() const
{
    static const std::vector<DuplicateGroup> none;
    return model_ ? model_->groups() : none;
}

void DuplicatesViewController::loadView()
{
    setUpScreen({QStringLiteral("Archivos Duplicados"),
                    QStringLiteral("Detecta copias exactas y libera espacio"),
                    QStringLiteral("doc.on.doc.fill"), systemColor(SystemColor::indigo)},
        ToolbarStyle::rowThenStatus);
    addStartButton(QStringLiteral("Escanear Duplicados"), [this] { doScan(); });
    cleanButton_ = addButton(QStringLiteral("Eliminar Duplicados"), systemColor(SystemColor::red),
        [this] { doClean(); });
    model_ = new DuplicatesModel(this);
    outlineView_ = makeTreeList(model_,
        {40, {360, 90, 200}, -1, QAbstractItemView::SingleSelection, Qt::ElideMiddle, -1, false});
    setList(outlineView_, ContentInset::edgeToEdge,
        QStringLiteral("Pulsa «Escanear Duplicados» para buscar copias exactas en tus carpetas."));
    // The menu's "Conservar esta copia" without opening the menu.
    auto* keep = new QAction(outlineView_);
    keep->setShortcut(keepCopyKey());
    keep->setShortcutContext(Qt::WidgetShortcut);
    outlineView_->addAction(keep);
    connect(keep, &QAction::triggered, this, [this] {
        if (const DuplicateFile* file = model_->fileAt(outlineView_->currentIndex()))
            keepFromMenu(std::string(file->path)); // a copy: the list is rebuilt
    });
}

QKeySequence DuplicatesViewController::keepCopyKey()
{
    return QKeySequence(Qt::CTRL | Qt::Key_K);
}

void DuplicatesViewController::showGroups(std::vector<DuplicateGroup> groups)
{
    model_->setGroups(std::move(groups));
    outlineView_->expandAll(); // every file visible after each change
}

void DuplicatesViewController::doScan()
{
    if (!readyForJob())
        return;
    auto before = groups();
    showGroups({});
    cleanButton_->setEnabled(false);
    setStatus(QStringLiteral("Buscando duplicados..."));
    const auto roots = roots_.empty() ? context().folders.personal : roots_;
    runJob(
        [pool = context().pool, roots, &settings = context().settings](const JobControl& job) {
            auto search = findDuplicates(*pool, roots, job);
            dropKeptCopies(search, keptPaths(settings));
            return search;
        },
        [this](DuplicateSearch result) {
            showGroups(std::move(result.groups));
            if (groups().empty())
                setStatus(QStringLiteral("✅ No se encontraron duplicados"));
            else
                showCountAndWaste();
            cleanButton_->setEnabled(!groups().empty());
        },
        [this, before = std::move(before)]() mutable {
            showGroups(std::move(before));
            cleanButton_->setEnabled(!groups().empty());
        });
}

void DuplicatesViewController::showCountAndWaste()
{
    setStatus(QStringLiteral("%1 grupos · ").arg(groups().size())
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
    showAlert(this, alert, [this, copies](int answer) {
        if (answer != 0)
            return;
        runRemoval(
            [trash = context().backends.trash, groups = groups(), copies](const JobControl& job) {
                RemovalReport all;
                int64_t handled = 0;
                for (const auto& group : groups) {
                    // Each group counts its own copies; the sheet hears them all as one run.
                    const JobControl groupJob({}, nullptr,
                        [&](int64_t done, int64_t) { job.count(handled + done, copies); });
                    all.append(trashExtraCopies(*trash, group, groupJob));
                    handled += group.extraCopies();
                }
                return all;
            },
            [this](const RemovalReport& all) {
                showGroups({});
                showRemovalStatus(QStringLiteral("✅ Liberado: "), all);
                cleanButton_->setEnabled(false);
            });
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
        itemMenu(menu, path)
            .reveal()
            .separator()
            .action(QStringLiteral("Conservar esta copia"), QStringLiteral("shield"),
                [this, path] { keepFromMenu(path); })
            .shortcut(keepCopyKey())
            .enabled(file != &group->files.front())
            .trash([this, path] { trashFromMenu(path); })
            .info();
        return;
    }
    const std::string hash = group->hash;
    itemMenu(menu, group->files.front().path)
        .action(QStringLiteral("Eliminar Duplicados de este Grupo (%1 copias)")
                    .arg(group->extraCopies()),
            QStringLiteral("doc.on.doc"), [this, hash] { cleanGroupFromMenu(hash); })
        .separator()
        .reveal(platformText(context(), &PlatformTexts::revealOriginal));
}

void DuplicatesViewController::cleanGroupFromMenu(const std::string& hash)
{
    const auto& all = groups();
    const auto it = std::find_if(
        all.begin(), all.end(), [&](const DuplicateGroup& g) { return g.hash == hash; });
    if (hash.empty() || it == all.end())
        return;
    runRemoval([trash = context().backends.trash, group = *it](
                   const JobControl& job) { return trashExtraCopies(*trash, group, job); },
        [this, hash](const RemovalReport& removal) {
            auto left = groups();
            std::erase_if(left, [&](const DuplicateGroup& g) { return g.hash == hash; });
            showGroups(std::move(left));
            cleanButton_->setEnabled(!groups().empty());
            // The status line is left as it was, unless copies had to stay where they were.
            if (!removal.left().empty())
                showRemovalStatus(QStringLiteral("✅ Liberado: "), removal);
        });
}

void DuplicatesViewController::keepFromMenu(const std::string& path)
{
    // A removal under way works on the groups as they were when it started.
    if (isBusy())
        return;
    auto all = groups();
    const auto owner = groupHolding(all, path);
    if (path.empty() || owner == all.end())
        return;
    *owner = withKeptCopy(std::move(*owner), path);
    const int row = static_cast<int>(owner - all.begin());
    showGroups(std::move(all));
    outlineView_->setCurrentIndex(model_->index(0, 0, model_->index(row, 0)));
}

void DuplicatesViewController::trashFromMenu(const std::string& path)
{
    const auto& all = groups();
    const auto owner = groupHolding(all, path);
    if (path.empty() || owner == all.end())
        return;
    runRemoval([trash = context().backends.trash, group = *owner, path](
                   const JobControl&) { return trashOneCopy(*trash, group, path); },
        [this, path](const RemovalReport& removal) {
            if (!removal.isGone(path)) {
                showRemovalStatus({}, removal);
                return;
            }
            auto left = groups();
            for (auto& g : left)
                std::erase_if(g.files, [&](const DuplicateFile& f) { return f.path == path; });
            std::erase_if(left, [](const DuplicateGroup& g) { return g.files.size() < 2; });
            showGroups(std::move(left));
            if (groups().empty())
                setStatus(QStringLiteral("✅ Sin duplicados"));
            else
                showCountAndWaste();
        });
}

} // namespace tidvale::gui

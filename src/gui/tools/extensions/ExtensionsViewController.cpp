#include "gui/tools/extensions/ExtensionsViewController.h"

#include "engine/fs/SafeRemove.h"
#include "engine/system/SystemInfoService.h"
#include "gui/style/Colors.h"
#include "gui/text/DisplayText.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/extensions/LaunchItemModel.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"

#include <QTableView>

namespace tidvale::gui {

ExtensionsViewController::ExtensionsViewController(QWidget* parent)
    : ToolViewController(parent)
    , items_(new LaunchItemModel(this))
    , sysInfo_(SystemInfoService::shared())
{
}

void ExtensionsViewController::loadView()
{
    setUpScreen({QStringLiteral("Extensiones"),
        QStringLiteral("Administrá los agentes y daemons de inicio"),
        QStringLiteral("puzzlepiece.fill"), systemColor(SystemColor::yellow)});
    addStartButton(QStringLiteral("Cargar Elementos"), [this] { loadItems(); });
    removeButton_ = addButton(QStringLiteral("Eliminar Seleccionado"),
        systemColor(SystemColor::red), [this] { removeSelected(); });
    tableView_ = makeTableList(
        items_, {50, {260, 140, 200}, -1, QAbstractItemView::SingleSelection, Qt::ElideMiddle});
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &ExtensionsViewController::updateRemoveButton);
    setList(tableView_, ContentInset::margins,
        QStringLiteral("Pulsa «Cargar Elementos» para ver los agentes y daemons que se inician "
                       "solos."));
}

void ExtensionsViewController::updateRemoveButton()
{
    if (removeButton_)
        removeButton_->setEnabled(!isBusy() && tableView_->selectionModel()->hasSelection());
}

void ExtensionsViewController::loadItems()
{
    if (!readyForJob())
        return;
    items_->setItems({});
    removeButton_->setEnabled(false);
    const SystemInfoService* service = &sysInfo_;
    runJob([service](const JobControl&) { return service->getLaunchItems(); },
        [this](std::vector<LaunchItem> items) {
            items_->setItems(std::move(items));
            setStatus(
                QString::number(items_->rowCount()) + QStringLiteral(" elementos encontrados"));
            updateRemoveButton();
        });
}

void ExtensionsViewController::removeSelected()
{
    if (!tableView_ || isBusy())
        return;
    const QModelIndexList selected = tableView_->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    const int row = selected.first().row();
    if (row < 0 || row >= items_->rowCount())
        return;
    const LaunchItem item = items_->items()[static_cast<size_t>(row)];
    AlertRequest alert;
    alert.style = AlertStyle::warning;
    alert.message = QStringLiteral("¿Eliminar agente de inicio?");
    alert.informativeText = QStringLiteral("Se eliminará:\n") + displayText(item.name)
        + QStringLiteral("\n\nEsto puede afectar el funcionamiento de algunas aplicaciones.");
    alert.buttons = {QStringLiteral("Eliminar"), QStringLiteral("Cancelar")};
    showAlert(this, alert, [this, row, item](int answer) {
        if (answer == 0)
            removeItem(row, item.path, item.name);
    });
}

// The file itself is deleted, not moved to the Trash, and the job is left as it is.
void ExtensionsViewController::removeItem(int row, const std::string& path, const std::string& name)
{
    if (isBusy())
        return; // a new listing owns the rows now
    runRemoval([path](const JobControl&) { return tidvale::removeItem(path); },
        [this, row, path, name](const RemoveOutcome& outcome) {
            if (!outcome.ok()) {
                setStatus(QStringLiteral("❌ Error: ")
                    + displayText(describeRemoveError(outcome.error, outcome.where)));
                return;
            }
            // The row asked about, unless the list changed under the alert.
            const auto& all = items_->items();
            if (row < static_cast<int>(all.size()) && all[static_cast<size_t>(row)].path == path)
                items_->removeRows(row, 1);
            else
                items_->removeIf([&](const LaunchItem& i) { return i.path == path; });
            updateRemoveButton();
            setStatus(QStringLiteral("✅ Eliminado: ") + displayText(name));
        });
}

} // namespace tidvale::gui

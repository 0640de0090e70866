#include "gui/tools/extensions/ExtensionsViewController.h"

#include "engine/startup/LaunchItemPlaces.h"
#include "engine/startup/LaunchItemTexts.h"
#include "engine/system/SystemInfoService.h"
#include "gui/style/Colors.h"
#include "gui/text/DisplayText.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/extensions/LaunchItemModel.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"

#include <QTableView>

namespace tidvale::gui {

ExtensionsViewController::ExtensionsViewController(const ScreenServices& services, QWidget* parent)
    : ToolViewController(services, parent)
    , items_(new LaunchItemModel(this))
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
    auto before = items_->items();
    items_->setItems({});
    removeButton_->setEnabled(false);
    const SystemInfoService* service = &services().info;
    runJob([service](const JobControl&) { return service->getLaunchItems(); },
        [this](std::vector<LaunchItem> items) {
            items_->setItems(std::move(items));
            setStatus(
                QString::number(items_->rowCount()) + QStringLiteral(" elementos encontrados"));
            updateRemoveButton();
        },
        [this, before = std::move(before)]() mutable {
            items_->setItems(std::move(before));
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
    // The wording follows what deleting does to this kind of item: on the Mac the
    // property list goes, on a Linux desktop an entry is trashed or hidden.
    const LaunchItemConfirmation asked = confirmationFor(item);
    AlertRequest alert;
    alert.style = AlertStyle::warning;
    alert.message = displayText(asked.message);
    alert.informativeText = displayText(asked.informativeText);
    alert.buttons = {displayText(asked.confirmButton), QStringLiteral("Cancelar")};
    showAlert(this, alert, [this, row, item](int answer) {
        if (answer == 0)
            removeItem(row, item);
    });
}

// The places decide what deleting means: the Mac's property list is deleted outright
// (the job is left as it is); a Linux desktop's entry goes to the Trash or is hidden by
// a user copy, and a user unit is disabled. Nothing under /etc or /usr is touched.
void ExtensionsViewController::removeItem(int row, const LaunchItem& item)
{
    if (isBusy())
        return; // a new listing owns the rows now
    runRemoval(
        [&context = context(), item](
            const JobControl&) { return context.places.launchItems->disable(context, item); },
        [this, row, item](const RemovalOutcome& outcome) {
            if (!outcome.isGone()) {
                setStatus(displayText(failedText(outcome.message)));
                return;
            }
            auto matches = [&](const LaunchItem& i) { return i.path == item.path; };
            const auto& all = items_->items();
            const bool hidden = item.action == LaunchItemAction::hideSystemEntry
                || item.action == LaunchItemAction::hideUserEntry;
            if (hidden) {
                // A hidden entry stays where the desktop keeps it, now disabled.
                auto rows = all;
                for (auto& i : rows)
                    if (matches(i))
                        i.isEnabled = false;
                items_->setItems(std::move(rows));
            } else if (row < static_cast<int>(all.size())
                && all[static_cast<size_t>(row)].path == item.path) {
                // The row asked about, unless the list changed under the alert.
                items_->removeRows(row, 1);
            } else {
                items_->removeIf(matches);
            }
            updateRemoveButton();
            setStatus(displayText(doneTextFor(item)));
        });
}

} // namespace tidvale::gui

#include "gui/tools/extensions/ExtensionsViewController.h"

#include "engine/startup/LaunchItemPlaces.h"
#include "engine/startup/LaunchItemTexts.h"
#include "engine/system/SystemInfoService.h"
#include "gui/style/Colors.h"
#include "gui/text/DisplayText.h"
#include "gui/text/PlatformText.h"
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
    setUpScreen(
        {QStringLiteral("Extensiones"), platformText(context(), &PlatformTexts::startupSubtitle),
            QStringLiteral("puzzlepiece.fill"), systemColor(SystemColor::yellow)});
    addStartButton(QStringLiteral("Cargar Elementos"), [this] { loadItems(); });
    removeButton_ = addButton(platformText(context(), &PlatformTexts::startupButton),
        systemColor(SystemColor::red), [this] { removeSelected(); });
    // A Linux desktop's kinds ("Servicio (Usuario) · desactivado") are longer than the
    // Mac's.
    const bool longKinds = platformText(context(), &PlatformTexts::startupButton)
        != QStringLiteral("Eliminar Seleccionado");
    tableView_ = makeTableList(items_,
        {50, longKinds ? std::vector<int>{220, 220, 200} : std::vector<int>{260, 140, 200}, -1,
            QAbstractItemView::SingleSelection, Qt::ElideMiddle});
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &ExtensionsViewController::updateRemoveButton);
    setList(
        tableView_, ContentInset::margins, platformText(context(), &PlatformTexts::startupHint));
}

// The button says what it will do to the selected item: delete, trash, disable, or
// turn on again one that is switched off.
void ExtensionsViewController::updateRemoveButton()
{
    if (!removeButton_)
        return;
    const LaunchItem* item = selectedItem();
    removeButton_->setText(item ? displayText(actionTitleFor(*item))
                                : platformText(context(), &PlatformTexts::startupButton));
    // Turning on is no removal: it is not drawn in the removals' red.
    removeButton_->setBgColor(
        systemColor(item && !item->isEnabled ? SystemColor::green : SystemColor::red));
    removeButton_->setEnabled(!isBusy() && item && (item->isEnabled || item->canEnable));
}

const LaunchItem* ExtensionsViewController::selectedItem() const
{
    if (!tableView_)
        return nullptr;
    const QModelIndexList selected = tableView_->selectionModel()->selectedRows();
    if (selected.isEmpty() || selected.first().row() >= items_->rowCount())
        return nullptr;
    return &items_->items()[static_cast<size_t>(selected.first().row())];
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
    if (!item.isEnabled) {
        if (item.canEnable)
            enableItem(item);
        return; // switched off already: there is nothing more to switch off
    }
    // The wording follows what deleting does to this kind of item: on the Mac the
    // property list goes, on a Linux desktop an entry is trashed or hidden.
    const LaunchItemConfirmation asked = confirmationFor(item);
    AlertRequest alert;
    alert.style = AlertStyle::warning;
    alert.message = displayText(asked.message);
    alert.informativeText = displayText(asked.informativeText);
    alert.buttons = {displayText(asked.confirmButton), QStringLiteral("Cancelar")};
    alert.deletesPermanently = item.action == LaunchItemAction::deleteFile;
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
                || item.action == LaunchItemAction::hideUserEntry
                || item.action == LaunchItemAction::disableUnit;
            if (hidden) {
                // A hidden entry or a disabled unit stays listed, switched off, and can
                // be turned on again.
                auto rows = all;
                for (auto& i : rows)
                    if (matches(i)) {
                        i.isEnabled = false;
                        i.canEnable = true;
                    }
                items_->setItems(std::move(rows));
                reselect(item.path);
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

// Turning an item on asks nothing: it undoes what disabling did. The list is read
// again after it, since what starts now may be the machine's entry the user's copy hid.
void ExtensionsViewController::enableItem(const LaunchItem& item)
{
    if (isBusy())
        return;
    // Nothing is removed: the spinner turns while the button waits for the answer.
    removeButton_->setEnabled(false);
    runWait(
        [&context = context(), item] {
            const RemovalOutcome outcome = context.places.launchItems->enable(context, item);
            return std::make_pair(outcome,
                outcome.isGone() ? context.places.launchItems->list(context)
                                 : std::vector<LaunchItem>{});
        },
        [this, item](std::pair<RemovalOutcome, std::vector<LaunchItem>> result) {
            if (!result.first.isGone()) {
                updateRemoveButton();
                setStatus(displayText(failedText(result.first.message)));
                return;
            }
            items_->setItems(std::move(result.second));
            reselect(item.path);
            updateRemoveButton();
            setStatus(displayText(enabledTextFor(item)));
        });
}

// The row of the item at `path`, or of the entry of the same file name that took its
// place (the machine's, once the user's copy is gone).
void ExtensionsViewController::reselect(const std::string& path)
{
    auto fileName = [](const std::string& p) { return p.substr(p.rfind('/') + 1); };
    const auto& rows = items_->items();
    for (bool exact : {true, false})
        for (size_t i = 0; i < rows.size(); ++i)
            if (exact ? rows[i].path == path : fileName(rows[i].path) == fileName(path)) {
                tableView_->selectRow(static_cast<int>(i));
                return;
            }
}

} // namespace tidvale::gui

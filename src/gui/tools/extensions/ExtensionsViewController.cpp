#include "gui/tools/extensions/ExtensionsViewController.h"

#include "engine/locations/LocationsProfile.h"
#include "engine/system/LaunchItemTexts.h"
#include "engine/system/SystemInfoService.h"
#include "gui/tools/ScreenParts.h"
#include "gui/tools/extensions/LaunchItemModel.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/Background.h"
#include "gui/widgets/ByteTexts.h"
#include "gui/widgets/Colors.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ScreenHeader.h"

#include <QLabel>
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
    loadButton_ = new PrimaryButton(
        QStringLiteral("Cargar Elementos"), systemColor(SystemColor::yellow), this);
    connect(loadButton_, &PrimaryButton::clicked, this, &ExtensionsViewController::loadItems);
    removeButton_ = new PrimaryButton(
        QStringLiteral("Eliminar Seleccionado"), systemColor(SystemColor::red), this);
    removeButton_->setEnabled(false);
    connect(
        removeButton_, &PrimaryButton::clicked, this, &ExtensionsViewController::removeSelected);
    progress_ = new ActivityIndicator(this);
    statusLabel_ = makeStatusLabel(this);
    tableView_ = layOutListScreen(this,
        makeScreenHeader(QStringLiteral("Extensiones"),
            QStringLiteral("Administrá los agentes y daemons de inicio"),
            QStringLiteral("puzzlepiece.fill"), systemColor(SystemColor::yellow)),
        loadButton_, removeButton_, progress_, statusLabel_, 50);

    tableView_->setModel(items_);
    tableView_->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView_->setTextElideMode(Qt::ElideMiddle);
    tableView_->setColumnWidth(LaunchItemModel::nameColumn, 260);
    tableView_->setColumnWidth(LaunchItemModel::sourceColumn, 140);
    tableView_->setColumnWidth(LaunchItemModel::pathColumn, 200);
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &ExtensionsViewController::updateRemoveButton);
}

void ExtensionsViewController::updateRemoveButton()
{
    if (removeButton_)
        removeButton_->setEnabled(!loading_ && tableView_->selectionModel()->hasSelection());
}

void ExtensionsViewController::loadItems()
{
    ensureViewLoaded();
    if (loading_)
        return;
    loading_ = true;
    items_->setItems({});
    removeButton_->setEnabled(false);
    loadButton_->setEnabled(false);
    progress_->startAnimation();

    const SystemInfoService* service = &sysInfo_;
    runInBackground(
        this, [service](const ProgressSink&) { return service->getLaunchItems(); },
        [this](std::vector<LaunchItem> items) {
            loading_ = false;
            const size_t count = items.size();
            items_->setItems(std::move(items));
            statusLabel_->setText(
                QString::number(count) + QStringLiteral(" elementos encontrados"));
            progress_->stopAnimation();
            loadButton_->setEnabled(true);
            updateRemoveButton();
        });
}

void ExtensionsViewController::removeSelected()
{
    if (!tableView_ || loading_)
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

// The profile decides what deleting means: the Mac's property list is deleted outright
// (the job is left as it is); a Linux desktop's entry goes to the Trash or is hidden by
// a user copy, and a user unit is disabled. Nothing under /etc or /usr is touched.
void ExtensionsViewController::removeItem(int row, const LaunchItem& item)
{
    if (loading_)
        return; // a new listing owns the rows now
    const LaunchItemOutcome outcome = currentProfile().disableLaunchItem(item);
    if (!outcome.ok) {
        statusLabel_->setText(displayText(failedText(outcome.error)));
        return;
    }
    // The row asked about, unless the list changed under the alert.
    const auto& all = items_->items();
    if (row >= static_cast<int>(all.size()) || all[static_cast<size_t>(row)].path != item.path) {
        row = -1;
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i].path == item.path)
                row = static_cast<int>(i);
    }
    const bool hidden = item.action == LaunchItemAction::hideSystemEntry
        || item.action == LaunchItemAction::hideUserEntry;
    if (hidden && row >= 0) {
        // A hidden entry stays where the desktop keeps it, now disabled.
        auto rows = all;
        rows[static_cast<size_t>(row)].isEnabled = false;
        items_->setItems(std::move(rows));
    } else {
        items_->removeRow(row);
    }
    updateRemoveButton();
    statusLabel_->setText(displayText(doneTextFor(item)));
}

} // namespace tidvale::gui

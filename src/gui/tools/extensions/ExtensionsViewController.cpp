#include "gui/tools/extensions/ExtensionsViewController.h"

#include "engine/fs/SafeRemove.h"
#include "engine/system/SystemInfoService.h"
#include "gui/tools/ScreenParts.h"
#include "gui/tools/extensions/LaunchItemModel.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/jobs/Background.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ScreenHeader.h"
#include "gui/text/DisplayText.h"

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
    if (loading_)
        return; // a new listing owns the rows now
    const RemoveOutcome outcome = tidvale::removeItem(path);
    if (!outcome.ok()) {
        statusLabel_->setText(QStringLiteral("❌ Error: ")
            + displayText(describeRemoveError(outcome.error, outcome.where)));
        return;
    }
    // The row asked about, unless the list changed under the alert.
    const auto& all = items_->items();
    if (row >= static_cast<int>(all.size()) || all[static_cast<size_t>(row)].path != path) {
        row = -1;
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i].path == path)
                row = static_cast<int>(i);
    }
    items_->removeRow(row);
    updateRemoveButton();
    statusLabel_->setText(QStringLiteral("✅ Eliminado: ") + displayText(name));
}

} // namespace tidvale::gui

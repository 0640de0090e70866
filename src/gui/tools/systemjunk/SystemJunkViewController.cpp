#include "gui/tools/systemjunk/SystemJunkViewController.h"

#include "gui/tools/CleanerLayout.h"
#include "gui/tools/systemjunk/SystemJunkModel.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/jobs/Background.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/widgets/Labels.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/style/Symbols.h"

#include "engine/scan/JunkCleanRules.h"
#include "engine/scan/ScanService.h"
#include "gui/text/PlatformText.h"
#include "platform/Trash.h"
#include "platform/Workspace.h"

#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTableView>
#include <QVBoxLayout>

namespace tidvale::gui {

SystemJunkViewController::SystemJunkViewController(QWidget* parent)
    : ToolViewController(parent)
{
}

void SystemJunkViewController::loadView()
{
    const QColor orange = systemColor(SystemColor::orange);
    const CleanerControls controls = layOutCleanerScreen(this,
        {QStringLiteral("Basura del Sistema"),
            QStringLiteral("Eliminá cachés, logs y archivos temporales"),
            QStringLiteral("trash.fill"), orange},
        QStringLiteral("Escanear"), QStringLiteral("Limpiar Seleccionados"));
    scanButton_ = controls.scanButton;
    cleanButton_ = controls.cleanButton;
    progress_ = controls.progress;
    totalLabel_ = controls.statusLabel;
    QVBoxLayout* body = controls.body;

    items_ = new SystemJunkModel(this);
    tableView_ = makeCleanerList(items_, 44, {30, 220, 140, 90}, SystemJunkModel::name, this);
    tableView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tableView_, &QWidget::customContextMenuRequested, this,
        &SystemJunkViewController::openContextMenu);
    body->addWidget(tableView_, 1);

    body->addWidget(
        makeLabel(QStringLiteral("🔒 Requiere contraseña de administrador para eliminarse"), 11,
            QFont::Normal, orange, this));

    connect(scanButton_, &QPushButton::clicked, this, &SystemJunkViewController::doScan);
    connect(cleanButton_, &QPushButton::clicked, this, &SystemJunkViewController::doClean);
}

void SystemJunkViewController::doScan()
{
    ensureViewLoaded();
    items_->setItems({});
    cleanButton_->setEnabled(false);
    totalLabel_->clear();
    progress_->startAnimation();
    scanButton_->setEnabled(false);
    scanning_ = true;
    runInBackground(
        this, [](const ProgressSink&) { return ScanService::shared().scanSystemJunk(); },
        [this](std::vector<ScanItem> found) {
            int64_t total = 0;
            for (const auto& item : found)
                total += item.size;
            items_->setItems(std::move(found));
            totalLabel_->setText(QStringLiteral("Total: ") + junkBytesText(total));
            scanning_ = false;
            updateCleanButton();
            if (!administratorRunning_)
                progress_->stopAnimation();
            scanButton_->setEnabled(true);
            emit scanFinished();
        });
}

void SystemJunkViewController::updateCleanButton()
{
    cleanButton_->setEnabled(!items_->items().empty() && !administratorRunning_ && !scanning_);
}

void SystemJunkViewController::doClean()
{
    if (!items_ || administratorRunning_)
        return;
    const JunkSelection selection = junkSelection(items_->items());
    if (selection.count() == 0)
        return;
    AlertRequest alert{AlertStyle::warning, QString::fromStdString(junkConfirmMessage(selection)),
        QString::fromStdString(junkConfirmInformative(selection)),
        {QStringLiteral("Eliminar"), QStringLiteral("Cancelar")}};
    showAlert(this, alert, [this](int answer) {
        if (answer == 0)
            runDirectStage();
    });
}

void SystemJunkViewController::runDirectStage()
{
    // The list cannot change while this runs: it is synchronous on the GUI thread.
    DeleteResult result = ScanService::shared().deleteItems(items_->items());
    freed_ = result.freed;
    items_->setItems(junkRowsAfterDirectStage(items_->items(), result));
    reportFailures(junkFailureLines(result.failures),
        [this, needsAdmin = std::move(result.needsAdmin)]() mutable {
            if (needsAdmin.empty())
                finishClean();
            else
                askForAdministrator(std::move(needsAdmin));
        });
}

void SystemJunkViewController::reportFailures(
    const std::vector<std::string>& lines, std::function<void()> next)
{
    if (lines.empty() || !isVisible()) {
        if (next)
            next();
        return;
    }
    AlertRequest alert{AlertStyle::warning,
        QStringLiteral("Algunos archivos no se pudieron eliminar"),
        QString::fromStdString(junkFailureReport(lines)), {QStringLiteral("OK")}};
    showAlert(this, alert, [next = std::move(next)](int) {
        if (next)
            next();
    });
}

void SystemJunkViewController::askForAdministrator(std::vector<ScanItem> needsAdmin)
{
    // Where the prompt cannot be shown, the answer is the safe one: nothing more is
    // deleted.
    if (!isVisible()) {
        finishClean();
        return;
    }
    AlertRequest alert{AlertStyle::informational,
        QStringLiteral("Se requieren permisos de administrador"),
        QString::fromStdString(adminPromptText(needsAdmin)),
        {QStringLiteral("Eliminar con contraseña"), QStringLiteral("Omitir")}};
    showAlert(this, alert, [this, needsAdmin = std::move(needsAdmin)](int answer) mutable {
        if (answer == 0)
            runAdministratorStage(std::move(needsAdmin));
        else
            finishClean();
    });
}

void SystemJunkViewController::runAdministratorStage(std::vector<ScanItem> needsAdmin)
{
    progress_->startAnimation();
    administratorRunning_ = true;
    updateCleanButton();
    QPointer<SystemJunkViewController> guard(this);
    // The completion runs on the GUI thread: at once when nothing passes the
    // allow-list, else once the privileged run ends. Only the rows whose items are
    // gone leave and count; the others stay, and the report names them.
    ScanService::shared().deleteItemsAsAdministrator(needsAdmin, [guard](AdminDeleteResult result) {
        if (!guard)
            return;
        guard->administratorRunning_ = false;
        guard->freed_ += result.freed;
        if (!guard->scanning_)
            guard->progress_->stopAnimation();
        guard->items_->setItems(rowsWithout(guard->items_->items(), result.gone));
        guard->reportFailures(result.messages, {});
        guard->finishClean();
    });
}

void SystemJunkViewController::finishClean()
{
    updateCleanButton();
    totalLabel_->setText(QString::fromStdString(junkFinalStatus(freed_)));
    emit cleanFinished();
}

void SystemJunkViewController::openContextMenu(const QPoint& pos)
{
    const QModelIndex index = tableView_->indexAt(pos);
    QMenu menu(this);
    menuNeedsUpdate(&menu, index.isValid() ? index.row() : -1);
    if (!menu.isEmpty())
        menu.exec(tableView_->viewport()->mapToGlobal(pos));
}

void SystemJunkViewController::menuNeedsUpdate(QMenu* menu, int clickedRow)
{
    menu->clear();
    if (clickedRow < 0 || clickedRow >= items_->rowCount())
        return;
    const QByteArray path
        = QByteArray::fromStdString(items_->items()[static_cast<size_t>(clickedRow)].path);
    const QColor tint = labelColor(this);
    QAction* reveal = menu->addAction(
        symbolIcon(QStringLiteral("folder"), tint), platformText(&PlatformTexts::revealInFolder));
    reveal->setData(path);
    connect(reveal, &QAction::triggered, this,
        [this, reveal] { showInFinder(reveal->data().toByteArray()); });
    menu->addSeparator();
    QAction* trash = menu->addAction(
        symbolIcon(QStringLiteral("trash"), tint), QStringLiteral("Mover a Papelera"));
    trash->setData(path);
    connect(trash, &QAction::triggered, this,
        [this, trash] { trashFromMenu(trash->data().toByteArray()); });
}

void SystemJunkViewController::showInFinder(const QByteArray& path)
{
    if (!path.isEmpty())
        platform::Service<platform::Workspace>::get()->reveal(path.toStdString());
}

void SystemJunkViewController::trashFromMenu(const QByteArray& path)
{
    if (path.isEmpty())
        return;
    const std::string target = path.toStdString();
    if (!platform::Service<platform::Trash>::get()->moveToTrash(target).ok)
        return;
    const auto& list = items_->items();
    for (size_t row = 0; row < list.size(); ++row) {
        if (list[row].path == target) {
            const int64_t size = list[row].size;
            items_->removeRow(static_cast<int>(row));
            totalLabel_->setText(QStringLiteral("✅ Liberado: ") + junkBytesText(size));
            return;
        }
    }
}

} // namespace tidvale::gui

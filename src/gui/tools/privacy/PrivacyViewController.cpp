#include "gui/tools/privacy/PrivacyViewController.h"

#include "gui/tools/CleanerLayout.h"
#include "gui/tools/privacy/PrivacyModel.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/jobs/Background.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/widgets/PrimaryButton.h"

#include "engine/scan/JunkCleanRules.h"
#include "engine/scan/ScanService.h"

#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace tidvale::gui {

PrivacyViewController::PrivacyViewController(QWidget* parent)
    : ToolViewController(parent)
{
}

void PrivacyViewController::loadView()
{
    const QColor purple = systemColor(SystemColor::purple);
    const CleanerControls controls = layOutCleanerScreen(this,
        {QStringLiteral("Privacidad"),
            QStringLiteral("Limpiá el historial y caché de tus navegadores"),
            QStringLiteral("lock.shield.fill"), purple},
        QStringLiteral("Escanear"), QStringLiteral("Limpiar Privacidad"));
    scanButton_ = controls.scanButton;
    cleanButton_ = controls.cleanButton;
    progress_ = controls.progress;
    totalLabel_ = controls.statusLabel;
    QVBoxLayout* body = controls.body;

    items_ = new PrivacyModel(this);
    tableView_ = makeCleanerList(items_, 50, {30, 140, 200, 90}, PrivacyModel::type, this);
    body->addWidget(tableView_, 1);

    connect(scanButton_, &QPushButton::clicked, this, &PrivacyViewController::doScan);
    connect(cleanButton_, &QPushButton::clicked, this, &PrivacyViewController::doClean);
}

void PrivacyViewController::doScan()
{
    ensureViewLoaded();
    items_->setItems({});
    cleanButton_->setEnabled(false);
    totalLabel_->clear();
    progress_->startAnimation();
    scanButton_->setEnabled(false);
    runInBackground(
        this, [](const ProgressSink&) { return ScanService::shared().scanBrowsers(true); },
        [this](std::vector<ScanItem> found) {
            int64_t total = 0;
            for (const auto& item : found)
                total += item.size;
            items_->setItems(std::move(found));
            totalLabel_->setText(items_->rowCount() > 0
                    ? QStringLiteral("Total: ") + junkBytesText(total)
                    : QStringLiteral("No se encontraron datos de privacidad"));
            cleanButton_->setEnabled(items_->rowCount() > 0);
            progress_->stopAnimation();
            scanButton_->setEnabled(true);
            emit scanFinished();
        });
}

void PrivacyViewController::doClean()
{
    if (!items_)
        return;
    const auto& list = items_->items();
    if (std::none_of(list.begin(), list.end(), [](const ScanItem& i) { return i.isSelected; }))
        return;
    AlertRequest alert{AlertStyle::warning, QStringLiteral("¿Eliminar datos de privacidad?"),
        QStringLiteral("Se eliminarán historial y cachés de navegadores seleccionados."),
        {QStringLiteral("Eliminar"), QStringLiteral("Cancelar")}};
    showAlert(this, alert, [this](int answer) {
        if (answer == 0)
            removeSelected();
    });
}

void PrivacyViewController::removeSelected()
{
    const DeleteResult result = ScanService::shared().deleteItems(items_->items());
    items_->setItems(privacyRowsAfterClean(items_->items(), result));
    cleanButton_->setEnabled(items_->rowCount() > 0);
    totalLabel_->setText(QStringLiteral("✅ Liberado: ") + junkBytesText(result.freed));
    const std::string failures = privacyFailureText(result);
    if (!failures.empty()) {
        AlertRequest alert{AlertStyle::warning,
            QStringLiteral("Algunos elementos no se pudieron eliminar"),
            QString::fromStdString(failures), {QStringLiteral("OK")}};
        showAlert(this, alert, {});
    }
    emit cleanFinished();
}

} // namespace tidvale::gui

#include "gui/tools/privacy/PrivacyViewController.h"

#include "engine/junk/JunkCleanRules.h"
#include "engine/junk/ScanService.h"
#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/privacy/PrivacyModel.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"

#include <QTableView>

#include <algorithm>

namespace tidvale::gui {

void PrivacyViewController::loadView()
{
    setUpScreen({QStringLiteral("Privacidad"),
        QStringLiteral("Limpiá el historial y caché de tus navegadores"),
        QStringLiteral("lock.shield.fill"), systemColor(SystemColor::purple)});
    addStartButton(QStringLiteral("Escanear"), [this] { doScan(); });
    cleanButton_ = addButton(
        QStringLiteral("Limpiar Privacidad"), systemColor(SystemColor::red), [this] { doClean(); });
    items_ = new PrivacyModel(this);
    tableView_ = makeTableList(items_, {50, {30, 140, 200, 90}, PrivacyModel::type});
    setList(tableView_, ContentInset::margins,
        QStringLiteral("Pulsa «Escanear» para buscar el historial y las cachés de tus "
                       "navegadores."));
}

void PrivacyViewController::doScan()
{
    if (!readyForJob())
        return;
    auto before = items_->items();
    items_->setItems({});
    cleanButton_->setEnabled(false);
    setStatus({});
    runJob(
        [service = &services().scan](const JobControl& job) {
            // The status line stays still while this screen scans; Smart Scan tells the steps.
            auto items = service->scanBrowsers(true, job.withoutText());
            for (auto& item : service->scanSiteData(job.withoutText()))
                items.push_back(std::move(item));
            return std::make_pair(std::move(items), service->folderNotices());
        },
        [this](std::pair<std::vector<ScanItem>, std::vector<std::string>> found) {
            int64_t total = 0;
            for (const auto& item : found.first)
                total += item.size;
            items_->setItems(std::move(found.first));
            setStatus(withNotices(items_->rowCount() > 0
                    ? QStringLiteral("Total: ") + junkBytesText(total)
                    : QStringLiteral("No se encontraron datos de privacidad"),
                found.second));
            cleanButton_->setEnabled(items_->rowCount() > 0);
        },
        [this, before = std::move(before)]() mutable {
            items_->setItems(std::move(before));
            cleanButton_->setEnabled(items_->rowCount() > 0);
        });
}

void PrivacyViewController::doClean()
{
    if (!items_)
        return;
    const auto& list = items_->items();
    if (std::none_of(list.begin(), list.end(), [](const ScanItem& i) { return i.isSelected; }))
        return;
    std::vector<ScanItem> ticked;
    std::copy_if(list.begin(), list.end(), std::back_inserter(ticked),
        [](const ScanItem& i) { return i.isSelected; });
    AlertRequest alert{AlertStyle::warning, QStringLiteral("¿Eliminar datos de privacidad?"),
        QStringLiteral("Se eliminarán historial y cachés de navegadores seleccionados."),
        {QStringLiteral("Eliminar"), QStringLiteral("Cancelar")},
        QString::fromStdString(removalDetails(ticked)), true};
    showAlert(this, alert, [this](int answer) {
        if (answer == 0)
            removeSelected();
    });
}

void PrivacyViewController::removeSelected()
{
    runRemoval([service = &services().scan, items = items_->items()](
                   const JobControl& job) { return service->deleteItems(items, job); },
        [this](const RemovalReport& report) {
            items_->setItems(privacyRowsAfterClean(items_->items(), report));
            cleanButton_->setEnabled(items_->rowCount() > 0);
            setStatus(QStringLiteral("✅ Liberado: ") + junkBytesText(report.freed()));
            reportFailures(QStringLiteral("Algunos elementos no se pudieron eliminar"),
                privacyFailureText(report));
            emit cleanFinished();
        });
}

} // namespace tidvale::gui

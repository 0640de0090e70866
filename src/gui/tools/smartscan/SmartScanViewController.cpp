#include "gui/tools/smartscan/SmartScanViewController.h"

#include "engine/scan/ScanService.h"
#include "gui/tools/smartscan/CategorySummary.h"
#include "gui/tools/smartscan/ScanButton.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/jobs/Background.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/widgets/Labels.h"
#include "gui/text/PlatformText.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ResultCardView.h"
#include "gui/widgets/ScreenHeader.h"
#include "gui/text/DisplayText.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tidvale::gui {

void SmartScanViewController::loadView()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeScreenHeader(QStringLiteral("Smart Scan"),
        QStringLiteral("Detecta basura, cachés, archivos de privacidad y más"),
        QStringLiteral("magnifyingglass.circle.fill"), systemColor(SystemColor::blue)));

    auto* group = new QVBoxLayout;
    group->setContentsMargins(20, 10, 20, 6);
    group->setSpacing(4);
    scanButton_ = new ScanButton(this);
    connect(scanButton_, &ScanButton::clicked, this, &SmartScanViewController::startScan);
    group->addWidget(scanButton_, 0, Qt::AlignHCenter);

    auto* caption = makeLabel(QStringLiteral("ESCANEAR"), 14, QFont::Bold, accentGreen(), this);
    group->addWidget(caption, 0, Qt::AlignHCenter);

    // The spinner keeps its place while hidden so the status line never jumps.
    auto* spinnerSlot = new QWidget(this);
    spinnerSlot->setFixedHeight(22);
    auto* spinnerRow = new QHBoxLayout(spinnerSlot);
    spinnerRow->setContentsMargins(0, 0, 0, 0);
    progressBar_ = new ActivityIndicator(spinnerSlot);
    spinnerRow->addWidget(progressBar_, 0, Qt::AlignCenter);
    group->addWidget(spinnerSlot);

    statusLabel_ = makeLabel(platformText(&PlatformTexts::readyToScan), 13, QFont::Normal,
        secondaryLabelColor(this), this);
    statusLabel_->setAlignment(Qt::AlignCenter);
    group->addWidget(statusLabel_);
    layout->addLayout(group);

    scrollView_ = new QScrollArea(this);
    scrollView_->setFrameShape(QFrame::NoFrame);
    scrollView_->setWidgetResizable(true);
    scrollView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollView_->viewport()->setAutoFillBackground(false);
    contentStack_ = new QWidget;
    contentStack_->setAutoFillBackground(false);
    contentLayout_ = new QVBoxLayout(contentStack_);
    contentLayout_->setContentsMargins(20, 8, 20, 20);
    contentLayout_->setSpacing(8);
    contentLayout_->setAlignment(Qt::AlignTop);
    scrollView_->setWidget(contentStack_);
    layout->addWidget(scrollView_, 1);
}

void SmartScanViewController::startScan()
{
    if (isScanning_)
        return;
    isScanning_ = true;
    allItems_.clear();
    clearContent();
    scanButton_->setEnabled(false);
    progressBar_->startAnimation();

    runInBackground(
        this,
        [](const ProgressSink& progress) {
            const ScanService& service = ScanService::shared();
            std::vector<ScanItem> all = service.scanSystemJunk(progress);
            std::vector<ScanItem> browsers = service.scanBrowsers(false, progress);
            all.insert(all.end(), std::make_move_iterator(browsers.begin()),
                std::make_move_iterator(browsers.end()));
            return all;
        },
        [this](std::vector<ScanItem> all) { showResults(std::move(all)); },
        [this](const QString& text) { setStatus(text); });
}

void SmartScanViewController::showResults(std::vector<ScanItem> items)
{
    allItems_ = std::move(items);
    isScanning_ = false;
    scanButton_->setEnabled(true);
    progressBar_->stopAnimation();

    const int64_t total = totalSize(allItems_);
    setStatus(QStringLiteral("Encontrado: ") + junkBytesText(total));

    for (const CategorySummary& group : summarizeByCategory(allItems_)) {
        auto* card = new ResultCardView(contentStack_);
        card->setSymbol(cardSymbol(group.category), systemColor(colorOf(group.category)));
        card->titleLabel()->setText(displayText(std::string(displayName(group.category))));
        card->countLabel()->setText(itemCountText(group.count));
        card->sizeLabel()->setText(junkBytesText(group.size));
        contentLayout_->addWidget(card);
        resultCards_.push_back(card);
    }

    if (allItems_.empty()) {
        addMessage(platformText(&PlatformTexts::computerIsClean), 16, QFont::Medium,
            systemColor(SystemColor::green));
        return;
    }
    cleanButton_ = new PrimaryButton(QStringLiteral("Limpiar Todo (") + junkBytesText(total) + ")",
        systemColor(SystemColor::red), contentStack_);
    cleanButton_->setFixedSize(300, 44);
    connect(cleanButton_, &PrimaryButton::clicked, this, &SmartScanViewController::cleanAll);
    contentLayout_->addSpacing(8);
    contentLayout_->addWidget(cleanButton_, 0, Qt::AlignHCenter);
}

void SmartScanViewController::cleanAll()
{
    AlertRequest alert;
    alert.style = AlertStyle::warning;
    alert.message = QStringLiteral("¿Limpiar archivos?");
    alert.informativeText = QStringLiteral("Se eliminarán %1 elementos. Esta acción no se puede "
                                           "deshacer.")
                                .arg(allItems_.size());
    alert.buttons = {QStringLiteral("Limpiar"), QStringLiteral("Cancelar")};
    showAlert(this, alert, [this](int answer) {
        if (answer == 0)
            clean();
    });
}

void SmartScanViewController::clean()
{
    // A scan started after the confirmation was asked for owns the list now.
    if (isScanning_)
        return;
    // Every item is selected in a Smart Scan; nested ones go with their container.
    const DeleteResult result = ScanService::shared().deleteItems(outermostItems(allItems_));
    const size_t leftovers = leftoverCount(allItems_, result);
    allItems_.clear();
    clearContent();
    addMessage(QStringLiteral("✅ Se liberaron ") + junkBytesText(result.freed), 15, QFont::Medium,
        systemColor(SystemColor::green));
    if (leftovers > 0) {
        QLabel* note = addMessage(QString::number(leftovers)
                + QStringLiteral(" elemento(s) no se eliminaron (navegador abierto, permisos de "
                                 "administrador o error). Puedes revisarlos en Basura del "
                                 "Sistema o Privacidad."),
            12, QFont::Normal, secondaryLabelColor(this));
        note->setWordWrap(true);
    }
    setStatus(QStringLiteral("Limpieza completada"));
}

void SmartScanViewController::setStatus(const QString& text)
{
    statusLabel_->setText(text);
    emit statusTextChanged(text);
}

void SmartScanViewController::clearContent()
{
    while (QLayoutItem* item = contentLayout_->takeAt(0)) {
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    resultCards_.clear();
    cleanButton_ = nullptr;
}

QLabel* SmartScanViewController::addMessage(
    const QString& text, int points, QFont::Weight weight, const QColor& color)
{
    QLabel* label = makeLabel(text, points, weight, color, contentStack_);
    label->setAlignment(Qt::AlignCenter);
    contentLayout_->addWidget(label);
    return label;
}

} // namespace tidvale::gui

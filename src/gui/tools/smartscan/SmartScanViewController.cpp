#include "gui/tools/smartscan/SmartScanViewController.h"

#include "engine/browsers/BrowserPlaces.h"
#include "engine/junk/ScanService.h"
#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/DisplayText.h"
#include "gui/text/PlatformText.h"
#include "gui/tools/smartscan/CategorySummary.h"
#include "gui/tools/smartscan/ScanButton.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/Labels.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ResultCardView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tidvale::gui {

void SmartScanViewController::loadView()
{
    setUpScreen({QStringLiteral("Smart Scan"),
                    QStringLiteral("Detecta basura, cachés, archivos de privacidad y más"),
                    QStringLiteral("magnifyingglass.circle.fill"), systemColor(SystemColor::blue)},
        ToolbarStyle::centred);
    auto* scanButton = new ScanButton(this);
    setStartButton(scanButton, [this] { startScan(); });
    QLabel* caption = makeLabel(QStringLiteral("ESCANEAR"), 14, QFont::Bold, accentGreen(), this);
    addToolbarWidget(caption);
    // While a scan runs the disc stops it, and says so.
    connect(this, &ToolViewController::stoppableChanged, caption, [caption, scanButton](bool on) {
        caption->setText(on ? QStringLiteral("DETENER") : QStringLiteral("ESCANEAR"));
        scanButton->setAccessibleName(on ? QStringLiteral("Detener") : QStringLiteral("Escanear"));
    });

    contentStack_ = new QWidget;
    contentLayout_ = new QVBoxLayout(contentStack_);
    contentLayout_->setContentsMargins(20, 8, 20, 12);
    contentLayout_->setSpacing(8);
    contentLayout_->setAlignment(Qt::AlignTop);
    setContent(makeScrollColumn(contentStack_), ContentInset::edgeToEdge);
    // However many cards there are, the clean button stays in view under them.
    auto* footer = new QWidget(this);
    footer_ = new QHBoxLayout(footer);
    footer_->setContentsMargins(0, 8, 0, 0);
    addFooter(footer);
    setStatus(platformText(context(), &PlatformTexts::readyToScan));
}

void SmartScanViewController::startScan()
{
    if (!readyForJob())
        return;
    // What was shown only steps aside: a stopped scan brings it back as it was.
    setContentHidden(true);
    struct Found {
        std::vector<ScanItem> junk;
        std::vector<ScanItem> privacy;
        std::vector<std::string> notices;
    };
    runJob(
        [&service = services().scan](const JobControl& job) {
            Found found;
            found.junk = service.scanSystemJunk(job);
            std::vector<ScanItem> browsers = service.scanBrowsers(false, job);
            found.junk.insert(found.junk.end(), std::make_move_iterator(browsers.begin()),
                std::make_move_iterator(browsers.end()));
            // Where the profile says so, the histories are cleaned too: Smart Scan
            // removes everything it shows, so they come ticked.
            if (service.context().places.browsers->historyInSmartScan()) {
                for (auto& item : service.scanHistory(job)) {
                    item.isSelected = true;
                    found.privacy.push_back(std::move(item));
                }
            }
            found.notices = service.folderNotices();
            return found;
        },
        [this](Found found) {
            clearContent();
            showResults(std::move(found.junk), std::move(found.privacy));
            if (!found.notices.empty())
                setStatus(withNotices(statusLabel()->text(), found.notices));
        },
        [this] { setContentHidden(false); });
}

void SmartScanViewController::setContentHidden(bool hidden)
{
    for (int i = 0; i < contentLayout_->count(); ++i)
        if (QWidget* w = contentLayout_->itemAt(i)->widget())
            w->setVisible(!hidden);
    if (cleanButton_)
        cleanButton_->setVisible(!hidden);
}

void SmartScanViewController::showResults(
    std::vector<ScanItem> items, std::vector<ScanItem> privacy)
{
    auto groups = summarizeByCategory(items);
    allItems_ = std::move(items);
    allItems_.insert(allItems_.end(), privacy.begin(), privacy.end());
    const int64_t total = totalSize(allItems_);
    setStatus(QStringLiteral("Encontrado: ") + junkBytesText(total));

    struct Card {
        QString symbol;
        SystemColor color;
        QString title;
        int count;
        int64_t size;
    };
    std::vector<Card> cards;
    for (const CategorySummary& group : groups)
        cards.push_back({cardSymbol(group.category), colorOf(group.category),
            displayText(std::string(displayName(group.category))), group.count, group.size});
    // The histories and recent documents of every browser and the desktop, as one card
    // named like the tool that lists them one by one.
    if (!privacy.empty())
        cards.push_back({QStringLiteral("lock.shield.fill"), SystemColor::purple,
            QStringLiteral("Privacidad"), static_cast<int>(privacy.size()), totalSize(privacy)});
    for (const Card& group : cards) {
        auto* card = new ResultCardView(contentStack_);
        card->setSymbol(group.symbol, systemColor(group.color));
        card->titleLabel()->setText(group.title);
        card->countLabel()->setText(itemCountText(group.count));
        card->sizeLabel()->setText(junkBytesText(group.size));
        // Read as one: the category, then what it holds.
        card->setAccessibleName(card->titleLabel()->text());
        card->setAccessibleDescription(
            card->countLabel()->text() + QStringLiteral(", ") + card->sizeLabel()->text());
        card->sizeLabel()->setAccessibleDescription(card->titleLabel()->text());
        contentLayout_->addWidget(card);
        resultCards_.push_back(card);
    }

    if (allItems_.empty()) {
        addMessage(platformText(context(), &PlatformTexts::computerIsClean), 16, QFont::Medium,
            systemColor(SystemColor::green));
        return;
    }
    cleanButton_ = new PrimaryButton(QStringLiteral("Limpiar Todo (") + junkBytesText(total) + ")",
        systemColor(SystemColor::red), this);
    cleanButton_->setFixedSize(300, 44);
    connect(cleanButton_, &PrimaryButton::clicked, this, &SmartScanViewController::cleanAll);
    footer_->addWidget(cleanButton_, 0, Qt::AlignHCenter);
    cleanButton_->show();
}

void SmartScanViewController::cleanAll()
{
    AlertRequest alert;
    alert.style = AlertStyle::warning;
    alert.message = QStringLiteral("¿Limpiar archivos?");
    alert.informativeText = QStringLiteral("Se eliminarán %1 elementos. Esta acción no se puede "
                                           "deshacer.")
                                .arg(allItems_.size());
    const auto outer = outermostItems(allItems_);
    if (const std::string trash = trashEmptyingLine(outer); !trash.empty())
        alert.informativeText += QStringLiteral("\n") + QString::fromStdString(trash);
    alert.detailedText = QString::fromStdString(removalDetails(outer));
    alert.buttons = {QStringLiteral("Limpiar"), QStringLiteral("Cancelar")};
    alert.deletesPermanently = true;
    showAlert(this, alert, [this](int answer) {
        if (answer == 0)
            clean();
    });
}

void SmartScanViewController::clean()
{
    // A scan started after the confirmation was asked for owns the list now.
    if (isBusy())
        return;
    // Every item is selected in a Smart Scan; nested ones go with their container.
    runRemoval(
        [service = &services().scan, items = allItems_](
            const JobControl& job) { return service->deleteItems(outermostItems(items), job); },
        [this](const RemovalReport& result) {
            const size_t leftovers = leftoverCount(allItems_, result);
            allItems_.clear();
            clearContent();
            addMessage(QStringLiteral("✅ Se liberaron ") + junkBytesText(result.freed()), 15,
                QFont::Medium, systemColor(SystemColor::green));
            if (leftovers > 0) {
                QLabel* note = addMessage(QString::number(leftovers)
                        + QStringLiteral(" elemento(s) no se eliminaron (navegador abierto, "
                                         "permisos de administrador o error). Puedes revisarlos "
                                         "en Basura del Sistema o Privacidad."),
                    12, QFont::Normal, secondaryLabelColor(this));
                note->setWordWrap(true);
            }
            setStatus(QStringLiteral("Limpieza completada"));
        });
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
    if (cleanButton_) {
        cleanButton_->hide();
        cleanButton_->deleteLater();
        cleanButton_ = nullptr;
    }
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

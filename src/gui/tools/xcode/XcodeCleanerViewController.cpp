#include "gui/tools/xcode/XcodeCleanerViewController.h"

#include "engine/devcaches/DeveloperPlaces.h"
#include "engine/devcaches/XcodeCleaner.h"
#include "engine/devcaches/XcodeLocations.h"
#include "gui/style/Colors.h"
#include "gui/text/PlatformText.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/xcode/XcodeCleanModel.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"

#include <QTableView>

namespace tidvale::gui {

void XcodeCleanerViewController::loadView()
{
    setUpScreen({platformText(context(), &PlatformTexts::developerTitle),
        platformText(context(), &PlatformTexts::developerSubtitle), QStringLiteral("hammer.fill"),
        xcodeBrown()});
    addStartButton(QStringLiteral("Analizar"), [this] { doScan(); });
    cleanButton_ = addButton(QStringLiteral("Limpiar Seleccionados"), systemColor(SystemColor::red),
        [this] { doClean(); });
    items_ = new XcodeCleanModel(this);
    // A tick is the only change the list takes between scans and cleans.
    connect(items_, &XcodeCleanModel::ticked, this, &XcodeCleanerViewController::updateCleanButton);
    tableView_ = makeTableList(items_, {50, {30, 180, 220, 90}, XcodeCleanModel::desc});
    setList(
        tableView_, ContentInset::margins, platformText(context(), &PlatformTexts::developerHint));
}

void XcodeCleanerViewController::updateCleanButton()
{
    cleanButton_->setEnabled(items_->anyCleanable());
}

void XcodeCleanerViewController::doScan()
{
    if (!readyForJob())
        return;
    auto before = items_->items();
    items_->setItems({});
    cleanButton_->setEnabled(false);
    setStatus(QStringLiteral("Calculando tamaños..."));
    // The table is built here, from the home of this moment, and handed over by value.
    runJob([table = context().places.developer->locations(context()),
               measure = treeMeasure(*context().pool)](
               const JobControl& job) { return listXcodeLocations(table, job, measure); },
        [this](XcodeListing listing) {
            setStatus(QString::fromStdString(xcodeListingStatus(listing)));
            items_->setItems(std::move(listing.items));
            updateCleanButton();
        },
        [this, before = std::move(before)]() mutable {
            items_->setItems(std::move(before));
            updateCleanButton();
        });
}

void XcodeCleanerViewController::doClean()
{
    if (!items_)
        return;
    const auto selection = xcodeCleanSelection(items_->items());
    if (selection.empty())
        return;
    AlertRequest alert{AlertStyle::warning,
        platformText(context(), &PlatformTexts::developerConfirm),
        QString::fromStdString(xcodeConfirmText(*context().places.texts, selection)),
        {QStringLiteral("Limpiar"), QStringLiteral("Cancelar")},
        QString::fromStdString(xcodeConfirmDetails(selection)), true};
    showAlert(this, alert, [this](int answer) {
        if (answer == 0)
            cleanSelected();
    });
}

void XcodeCleanerViewController::cleanSelected()
{
    // Taken again now: the list cannot have changed under the window-modal alert, but
    // the clean acts only on what is cleanable at this moment.
    runRemoval([&context = context(), selection = xcodeCleanSelection(items_->items())](
                   const JobControl& job) { return cleanXcodeLocations(context, selection, job); },
        [this](const RemovalReport& outcome) {
            std::vector<XcodeCleanItem> after = items_->items();
            applyXcodeClean(after, outcome);
            setStatus(QString::fromStdString(xcodeCleanStatus(after, outcome)));
            items_->setItems(std::move(after));
            updateCleanButton();
            emit cleanFinished();
        });
}

} // namespace tidvale::gui

#include "gui/tools/xcode/XcodeCleanerViewController.h"

#include "gui/tools/CleanerLayout.h"
#include "gui/tools/xcode/XcodeCleanModel.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/jobs/Background.h"
#include "gui/style/Colors.h"
#include "gui/widgets/PrimaryButton.h"

#include "engine/fs/Homes.h"
#include "engine/xcode/XcodeCleaner.h"
#include "engine/xcode/XcodeLocations.h"

#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace tidvale::gui {

XcodeCleanerViewController::XcodeCleanerViewController(QWidget* parent)
    : ToolViewController(parent)
{
}

void XcodeCleanerViewController::loadView()
{
    const QColor brown = xcodeBrown();
    const CleanerControls controls = layOutCleanerScreen(this,
        {QStringLiteral("Limpieza de Xcode"),
            QStringLiteral("Elimina DerivedData, simuladores y cachés de desarrollo"),
            QStringLiteral("hammer.fill"), brown},
        QStringLiteral("Analizar"), QStringLiteral("Limpiar Seleccionados"));
    scanButton_ = controls.scanButton;
    cleanButton_ = controls.cleanButton;
    progress_ = controls.progress;
    statusLabel_ = controls.statusLabel;
    QVBoxLayout* body = controls.body;

    items_ = new XcodeCleanModel(this);
    tableView_ = makeCleanerList(items_, 50, {30, 180, 220, 90}, XcodeCleanModel::desc, this);
    body->addWidget(tableView_, 1);

    connect(scanButton_, &QPushButton::clicked, this, &XcodeCleanerViewController::doScan);
    connect(cleanButton_, &QPushButton::clicked, this, &XcodeCleanerViewController::doClean);
    // A tick is the only change the list takes between scans and cleans.
    connect(items_, &QAbstractItemModel::dataChanged, this,
        [this] { cleanButton_->setEnabled(items_->anyCleanable()); });
}

void XcodeCleanerViewController::doScan()
{
    ensureViewLoaded();
    items_->setItems({});
    cleanButton_->setEnabled(false);
    progress_->startAnimation();
    scanButton_->setEnabled(false);
    statusLabel_->setText(QStringLiteral("Calculando tamaños..."));
    // The table is built here, from the home of this moment, and handed over by value.
    runInBackground(
        this,
        [table = xcodeLocations(processHome())](
            const ProgressSink&) { return listXcodeLocations(table); },
        [this](XcodeListing listing) {
            statusLabel_->setText(QString::fromStdString(xcodeListingStatus(listing)));
            items_->setItems(std::move(listing.items));
            cleanButton_->setEnabled(items_->anyCleanable());
            progress_->stopAnimation();
            scanButton_->setEnabled(true);
            emit scanFinished();
        });
}

void XcodeCleanerViewController::doClean()
{
    if (!items_)
        return;
    const auto selection = xcodeCleanSelection(items_->items());
    if (selection.empty())
        return;
    AlertRequest alert{AlertStyle::warning, QStringLiteral("¿Limpiar cachés de Xcode?"),
        QString::fromStdString(xcodeConfirmText(selection)),
        {QStringLiteral("Limpiar"), QStringLiteral("Cancelar")}};
    showAlert(this, alert, [this](int answer) {
        if (answer == 0)
            cleanSelected();
    });
}

void XcodeCleanerViewController::cleanSelected()
{
    // Taken again now: the list cannot have changed under the window-modal alert, but
    // the clean acts only on what is cleanable at this moment.
    const XcodeCleanOutcome outcome = cleanXcodeLocations(xcodeCleanSelection(items_->items()));
    std::vector<XcodeCleanItem> after = items_->items();
    applyXcodeClean(after, outcome);
    statusLabel_->setText(QString::fromStdString(xcodeCleanStatus(after, outcome)));
    items_->setItems(std::move(after));
    cleanButton_->setEnabled(items_->anyCleanable());
    emit cleanFinished();
}

} // namespace tidvale::gui

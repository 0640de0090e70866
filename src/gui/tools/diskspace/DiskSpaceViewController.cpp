#include "gui/tools/diskspace/DiskSpaceViewController.h"

#include "engine/system/SystemInfoService.h"
#include "engine/system/Usage.h"
#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/style/Symbols.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/PlatformText.h"
#include "gui/tools/diskspace/UsageBarView.h"
#include "gui/widgets/Labels.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/SeparatorLine.h"
#include "platform/Workspace.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tidvale::gui {
namespace {

QLabel* gridLabel(const QString& text, const QColor& color)
{
    auto* label = new QLabel(text);
    label->setFont(uiFont(13, QFont::Medium));
    setTextColor(label, color);
    return label;
}

QLabel* gridValue(int64_t bytes, const QColor& color)
{
    auto* label = new QLabel(fileBytesText(bytes));
    label->setFont(monospacedDigitFont(14, QFont::DemiBold));
    setTextColor(label, color);
    return label;
}

} // namespace

void DiskSpaceViewController::loadView()
{
    setUpScreen(
        {QStringLiteral("Espacio en Disco"), platformText(context(), &PlatformTexts::diskSubtitle),
            QStringLiteral("externaldrive.fill"), systemColor(SystemColor::red)},
        ToolbarStyle::none);
    diskInfo_ = services().info.getDiskInfo();
    setContent(buildFigures(), ContentInset::edgeToEdge);
}

// Every figure is read again and every control below the header made anew.
void DiskSpaceViewController::refreshDisk()
{
    ensureViewLoaded();
    diskInfo_ = services().info.getDiskInfo();
    replaceContent(buildFigures());
}

QWidget* DiskSpaceViewController::buildFigures()
{
    percentLabel_ = totalValue_ = usedValue_ = freeValue_ = reservedValue_ = nullptr;
    usageBar_ = nullptr;
    finderButton_ = refreshButton_ = nullptr;
    if (!diskInfo_)
        return new QWidget;
    const DiskInfo disk = *diskInfo_;
    const Usage usage = volumeUsage(disk);

    auto* column = new QWidget;
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(30, 24, 30, 24);
    stack->setSpacing(20);
    stack->setAlignment(Qt::AlignTop);

    auto* drive = new QHBoxLayout;
    drive->setSpacing(12);
    auto* driveIcon = new QLabel;
    driveIcon->setPixmap(symbolPixmap(QStringLiteral("internaldrive.fill"), 48,
        systemColor(SystemColor::red), devicePixelRatioF()));
    driveIcon->setFixedSize(48, 48);
    auto* driveName = new QLabel(QString::fromStdString(disk.name));
    driveName->setFont(uiFont(22, QFont::DemiBold));
    drive->addWidget(driveIcon);
    drive->addWidget(driveName);
    drive->addStretch(1);
    stack->addLayout(drive);

    usageBar_ = new UsageBarView(systemColor(SystemColor::red));
    usageBar_->setFixedHeight(24);
    stack->addWidget(usageBar_);
    usageBar_->animateTo(usage.fraction);

    percentLabel_ = new QLabel(QString::number(usage.percent) + QStringLiteral("% usado"));
    percentLabel_->setFont(uiFont(14, QFont::DemiBold));
    setTextColor(percentLabel_,
        usageLevelColor(usageLevel(usage.fraction), systemColor(SystemColor::green)));
    stack->addWidget(percentLabel_);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(10);
    grid->setHorizontalSpacing(0);
    grid->setColumnMinimumWidth(0, 160);
    grid->setColumnMinimumWidth(1, 140);
    grid->setColumnStretch(2, 1);
    const QColor secondary = secondaryLabelColor(this);
    totalValue_ = gridValue(disk.total, labelColor(this));
    usedValue_ = gridValue(static_cast<int64_t>(usage.used), systemColor(SystemColor::red));
    freeValue_ = gridValue(disk.free, systemColor(SystemColor::green));
    grid->addWidget(gridLabel(QStringLiteral("Capacidad Total"), secondary), 0, 0);
    grid->addWidget(totalValue_, 0, 1);
    grid->addWidget(gridLabel(QStringLiteral("Espacio Usado"), secondary), 1, 0);
    grid->addWidget(usedValue_, 1, 1);
    grid->addWidget(gridLabel(QStringLiteral("Espacio Libre"), secondary), 2, 0);
    grid->addWidget(freeValue_, 2, 1);
    // Where the file system keeps blocks for the administrator, used and free fall
    // short of the capacity: the third figure makes them add up.
    if (const QString reserved = platformText(context(), &PlatformTexts::reservedTitle);
        !reserved.isEmpty()) {
        const int64_t kept = std::max<int64_t>(
            0, disk.total - static_cast<int64_t>(usage.used) - std::max<int64_t>(0, disk.free));
        reservedValue_ = gridValue(kept, secondary);
        grid->addWidget(gridLabel(reserved, secondary), 3, 0);
        grid->addWidget(reservedValue_, 3, 1);
    }
    for (int row = 0; row < grid->rowCount(); ++row)
        if (auto* name = qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget())) {
            // A longer name than the Mac's three keeps a gap before its value.
            grid->setColumnMinimumWidth(
                0, std::max(grid->columnMinimumWidth(0), name->sizeHint().width() + 16));
            grid->itemAtPosition(row, 1)->widget()->setAccessibleDescription(name->text());
        }
    stack->addLayout(grid);

    stack->addWidget(makeSeparatorLine(this));

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    finderButton_ = new PrimaryButton(
        platformText(context(), &PlatformTexts::openInFolder), systemColor(SystemColor::blue));
    connect(finderButton_, &PrimaryButton::clicked, this, &DiskSpaceViewController::openInFinder);
    refreshButton_
        = new PrimaryButton(QStringLiteral("Actualizar"), systemColor(SystemColor::gray));
    connect(refreshButton_, &PrimaryButton::clicked, this, &DiskSpaceViewController::refreshDisk);
    buttons->addWidget(finderButton_);
    buttons->addWidget(refreshButton_);
    buttons->addStretch(1);
    stack->addLayout(buttons);

    auto* hint = new QLabel(QStringLiteral("💡 Usa la función 'Basura del Sistema' para liberar "
                                           "espacio eliminando cachés y archivos temporales."));
    hint->setWordWrap(true);
    hint->setFont(uiFont(12));
    setTextColor(hint, secondary);
    stack->addWidget(hint);

    return makeScrollColumn(column);
}

void DiskSpaceViewController::openInFinder()
{
    context().backends.workspace->openFolder("/");
}

} // namespace tidvale::gui

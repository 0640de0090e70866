#include "gui/tools/memory/MemoryViewController.h"

#include "engine/system/SystemInfoService.h"
#include "engine/system/Usage.h"
#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/text/ByteTexts.h"
#include "gui/text/PlatformText.h"
#include "gui/widgets/Labels.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/SeparatorLine.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace tidvale::gui {
namespace {

constexpr int kBarSteps = 10000;

} // namespace

QLabel* MemoryViewController::addFigure(QGridLayout* grid, int row, const QString& name)
{
    auto* nameLabel = new QLabel(name);
    nameLabel->setFont(uiFont(13, QFont::Medium));
    setTextColor(nameLabel, secondaryLabelColor(this));
    auto* value = new QLabel;
    value->setTextFormat(Qt::PlainText);
    // The value is a number: a screen reader says what it counts.
    value->setAccessibleDescription(name);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(nameLabel, row, 0);
    grid->addWidget(value, row, 1);
    return value;
}

void MemoryViewController::loadView()
{
    setUpScreen({QStringLiteral("Memoria"), QStringLiteral("Monitorea y optimiza el uso de RAM"),
                    QStringLiteral("memorychip.fill"), systemColor(SystemColor::cyan)},
        ToolbarStyle::none);

    auto* column = new QWidget;
    column->setAutoFillBackground(false);
    column->setMaximumWidth(560);
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(30, 24, 30, 24);
    stack->setSpacing(16);
    stack->setAlignment(Qt::AlignTop);

    auto* heading = new QLabel(QStringLiteral("USO DE MEMORIA"));
    heading->setFont(uiFont(11, QFont::DemiBold));
    setTextColor(heading, secondaryLabelColor(this));
    stack->addWidget(heading);

    progressBar_ = new QProgressBar;
    progressBar_->setRange(0, kBarSteps);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->setFixedHeight(16);
    QPalette barColours = progressBar_->palette();
    barColours.setColor(QPalette::Highlight, systemColor(SystemColor::cyan));
    progressBar_->setPalette(barColours);
    stack->addWidget(progressBar_);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(1, 1);
    totalLabel_ = addFigure(grid, 0, QStringLiteral("RAM Total"));
    usedLabel_ = addFigure(grid, 1, QStringLiteral("En Uso"));
    freeLabel_ = addFigure(grid, 2, QStringLiteral("Disponible"));
    activeLabel_ = addFigure(grid, 3, QStringLiteral("Activa"));
    inactiveLabel_ = addFigure(grid, 4, QStringLiteral("Inactiva"));
    wiredLabel_ = addFigure(grid, 5, platformText(context(), &PlatformTexts::wiredTitle));
    compressedLabel_ = addFigure(grid, 6, QStringLiteral("Comprimida"));
    stack->addLayout(grid);

    stack->addWidget(makeSeparatorLine(this));

    optimizeBtn_ = new PrimaryButton(
        QStringLiteral("⚡ Optimizar Memoria"), systemColor(SystemColor::cyan), column);
    optimizeBtn_->setFixedSize(240, 40);
    connect(optimizeBtn_, &PrimaryButton::clicked, this, &MemoryViewController::optimizeMemory);
    stack->addWidget(optimizeBtn_, 0, Qt::AlignHCenter);

    // The status line sits under the button, in the column, rather than in a toolbar.
    auto* status = makeLabel({}, 12, QFont::Normal, secondaryLabelColor(this), column);
    status->setAlignment(Qt::AlignCenter);
    status->setWordWrap(true);
    stack->addWidget(status);
    setStatusLabel(status);

    auto* centre = new QWidget;
    auto* centring = new QHBoxLayout(centre);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->addWidget(column);
    setContent(makeScrollColumn(centre), ContentInset::edgeToEdge);

    refresh();
    startTimer();
}

void MemoryViewController::startTimer()
{
    if (refreshTimer_)
        return;
    refreshTimer_ = new QTimer(this);
    refreshTimer_->setInterval(refreshMilliseconds);
    connect(refreshTimer_, &QTimer::timeout, this, &MemoryViewController::refresh);
    refreshTimer_->start();
}

// Shown again after another tool: the figures are stale, so read them now and keep them
// live from here on.
void MemoryViewController::viewDidAppear()
{
    if (refreshTimer_)
        return;
    refresh();
    startTimer();
}

void MemoryViewController::viewDidDisappear()
{
    if (refreshTimer_) {
        refreshTimer_->stop();
        delete refreshTimer_;
    }
}

double MemoryViewController::progressValue() const
{
    return progressBar_ ? static_cast<double>(progressBar_->value()) / kBarSteps : 0;
}

void MemoryViewController::refresh()
{
    if (!usedLabel_)
        return;
    const MemoryInfo m = services().info.getMemoryInfo();
    const Usage usage = memoryUsage(m.total, m.free);
    progressBar_->setValue(static_cast<int>(usage.fraction * kBarSteps));
    totalLabel_->setText(memoryBytesText(m.total));
    usedLabel_->setText(memoryBytesText(usage.used) + QStringLiteral(" (")
        + QString::number(usage.percent) + QStringLiteral("%)"));
    freeLabel_->setText(memoryBytesText(m.free));
    activeLabel_->setText(memoryBytesText(m.active));
    inactiveLabel_->setText(memoryBytesText(m.inactive));
    wiredLabel_->setText(memoryBytesText(m.wired));
    compressedLabel_->setText(memoryBytesText(m.compressed));
    for (QLabel* value : {totalLabel_, usedLabel_, freeLabel_, activeLabel_, inactiveLabel_,
             wiredLabel_, compressedLabel_}) {
        value->setFont(monospacedDigitFont(13, QFont::DemiBold));
        setTextColor(value, labelColor(this));
    }
    // Then "En Uso" alone by how full memory is.
    setTextColor(usedLabel_, usageLevelColor(usageLevel(usage.fraction), labelColor(this)));
}

void MemoryViewController::optimizeMemory()
{
    if (isOptimizing_ || !optimizeBtn_)
        return;
    isOptimizing_ = true;
    optimizeBtn_->setEnabled(false);
    setStatus(QStringLiteral("Optimizando memoria..."));
    runWait([info = &services().info] { return info->measureFreedMemory(); },
        [this](uint64_t freed) {
            isOptimizing_ = false;
            optimizeBtn_->setEnabled(true);
            refresh();
            setStatus(freed != 0
                    ? QStringLiteral("✅ Memoria libre aumentó ~") + memoryBytesText(freed)
                    : platformText(context(), &PlatformTexts::memoryUnchanged));
        });
}

} // namespace tidvale::gui

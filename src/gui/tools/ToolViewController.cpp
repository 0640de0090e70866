#include "gui/tools/ToolViewController.h"

#include "gui/jobs/RemovalLog.h"
#include "gui/text/DisplayText.h"

#include "gui/style/Colors.h"
#include "gui/text/ByteTexts.h"
#include "gui/tools/ItemMenu.h"
#include "gui/tools/RemovalStatusText.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/Labels.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ProgressSheet.h"
#include "gui/widgets/ScreenHeader.h"
#include "gui/widgets/WrappingRow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tidvale::gui {
namespace {

// The hint sits in the middle of the list's empty box, as wide as the box allows.
class HintPlacer : public QObject {
public:
    HintPlacer(QLabel* hint, QWidget* box)
        : QObject(hint)
        , hint_(hint)
    {
        box->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            place(static_cast<QWidget*>(watched));
        return false;
    }
    void place(QWidget* box) const
    {
        const int width = std::max(0, std::min(box->width() - 40, 420));
        const int height = hint_->heightForWidth(width);
        hint_->setGeometry((box->width() - width) / 2, (box->height() - height) / 2, width, height);
    }

private:
    QLabel* hint_;
};

} // namespace

QScrollArea* makeScrollColumn(QWidget* column)
{
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    // The column takes the keyboard from Tab, to scroll by it, and shows when it has
    // it; a click leaves the focus where it was.
    scroll->setFocusPolicy(Qt::TabFocus);
    scroll->setStyleSheet(
        QStringLiteral("QScrollArea { border: 2px solid transparent; } "
                       "QScrollArea:focus { border-color: palette(highlight); }"));
    column->setAutoFillBackground(false);
    scroll->setWidget(column);
    return scroll;
}

ToolViewController::ToolViewController(const ScreenServices& services, QWidget* parent)
    : QWidget(parent)
    , services_(services)
    , jobs_(new JobRunner(this))
{
    connect(jobs_, &JobRunner::started, this, &ToolViewController::jobStarted);
    connect(jobs_, &JobRunner::ended, this, &ToolViewController::jobEnded);
    connect(jobs_, &JobRunner::message, this, &ToolViewController::setStatus);
    connect(jobs_, &JobRunner::finished, this, &ToolViewController::jobFinished);
    connect(jobs_, &JobRunner::stopped, this, &ToolViewController::jobWasStopped);
    connect(jobs_, &JobRunner::waitStarted, this, &ToolViewController::holdSpinner);
    connect(jobs_, &JobRunner::waitEnded, this, &ToolViewController::releaseSpinner);
}

ItemMenu ToolViewController::itemMenu(QMenu* menu, std::string path)
{
    return ItemMenu(menu, std::move(path), context(), [self = QPointer(this)](const QString& text) {
        if (self)
            self->setStatus(text);
    });
}

// A job that outlives its screen stops at its next check (the runner goes with the
// screen); its result is dropped.
ToolViewController::~ToolViewController() = default;

void ToolViewController::ensureViewLoaded()
{
    if (loaded_)
        return;
    loaded_ = true;
    loadView();
}

void ToolViewController::menuNeedsUpdate(QMenu*, const QModelIndex&) { }

void ToolViewController::setUpScreen(const ScreenTitle& title, ToolbarStyle style)
{
    style_ = style;
    title_ = title.title;
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    header_ = makeScreenHeader(title.title, title.subtitle, title.symbol, title.color, this);
    layout_->addWidget(header_);
    if (style == ToolbarStyle::none)
        return;

    progress_ = new ActivityIndicator(this);
    const bool centred = style == ToolbarStyle::centred;
    status_ = makeLabel({}, centred ? 13 : 12, QFont::Normal, secondaryLabelColor(this), this);
    // A long line wraps onto a second one rather than being cut at the window's edge.
    status_->setWordWrap(true);
    status_->setMinimumWidth(160);
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    if (centred) {
        status_->setAlignment(Qt::AlignCenter);
        toolbar_ = new QVBoxLayout;
        toolbar_->setContentsMargins(20, 10, 20, 6);
        toolbar_->setSpacing(4);
        layout_->addLayout(toolbar_);
        return;
    }
    row_ = new WrappingRow;
    row_->setContentsMargins(20, 12, 20, style == ToolbarStyle::row ? 10 : 8);
    row_->setSpacings(10, 8);
    layout_->addLayout(row_);
}

void ToolViewController::setStartButton(QAbstractButton* button, std::function<void()> action)
{
    startButton_ = button;
    connect(button, &QAbstractButton::clicked, this,
        [this, action = std::move(action)] { startClicked(action); });
    addToolbarWidget(button);
}

PrimaryButton* ToolViewController::addStartButton(
    const QString& title, std::function<void()> action)
{
    auto* button = new PrimaryButton(title, header_->color(), this);
    setStartButton(button, std::move(action));
    return button;
}

void ToolViewController::startClicked(const std::function<void()>& action)
{
    if (jobs_->isStoppable())
        stopJob();
    else if (!jobs_->isBusy())
        action();
}

PrimaryButton* ToolViewController::addButton(
    const QString& title, const QColor& color, std::function<void()> action)
{
    auto* button = new PrimaryButton(title, color, this);
    button->setEnabled(false);
    connect(button, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    addToolbarWidget(button);
    return button;
}

QComboBox* ToolViewController::addPopUp(
    const QString& label, const QStringList& titles, int current, std::function<void()> changed)
{
    // The label and its pop-up stay together when the row wraps.
    auto* pair = new QWidget(this);
    auto* box = new QHBoxLayout(pair);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(8);
    box->addWidget(makeLabel(label, 12, QFont::Normal, secondaryLabelColor(this), pair));
    auto* pop = new QComboBox(pair);
    pop->addItems(titles);
    pop->setCurrentIndex(current);
    connect(
        pop, &QComboBox::currentIndexChanged, this, [changed = std::move(changed)] { changed(); });
    box->addWidget(pop);
    addToolbarWidget(pair);
    return pop;
}

void ToolViewController::addToolbarWidget(QWidget* widget)
{
    if (toolbar_)
        toolbar_->addWidget(widget, 0, Qt::AlignHCenter);
    else if (row_)
        row_->addWidget(widget);
}

// The spinner and the status come after the controls, wherever the style puts them.
void ToolViewController::placeStatus()
{
    switch (style_) {
    case ToolbarStyle::row:
        row_->addWidget(progress_);
        row_->addWidget(status_, true);
        break;
    case ToolbarStyle::rowThenStatus: {
        auto* line = new QHBoxLayout;
        line->setContentsMargins(20, 0, 20, 8);
        line->setSpacing(6);
        line->addWidget(progress_);
        status_->setMinimumHeight(20);
        line->addWidget(status_, 1);
        layout_->addLayout(line);
        break;
    }
    case ToolbarStyle::centred: {
        // The spinner keeps its place while hidden so the status line never jumps.
        auto* slot = new QWidget(this);
        slot->setFixedHeight(22);
        auto* centring = new QHBoxLayout(slot);
        centring->setContentsMargins(0, 0, 0, 0);
        progress_->setParent(slot);
        centring->addWidget(progress_, 0, Qt::AlignCenter);
        toolbar_->addWidget(slot);
        toolbar_->addWidget(status_);
        break;
    }
    case ToolbarStyle::none:
        break;
    }
}

void ToolViewController::setContent(QWidget* content, ContentInset inset)
{
    placeStatus();
    content_ = content;
    contentBox_ = new QVBoxLayout;
    if (inset == ContentInset::margins) {
        contentBox_->setContentsMargins(20, 0, 20, 20);
    } else {
        contentBox_->setContentsMargins(0, 0, 0, 0);
        if (auto* frame = qobject_cast<QFrame*>(content))
            frame->setFrameShape(QFrame::NoFrame);
    }
    contentBox_->addWidget(content);
    layout_->addLayout(contentBox_, 1);
}

void ToolViewController::setList(QAbstractItemView* list, ContentInset inset, const QString& hint)
{
    list_ = list;
    // A screen reader names the list by its screen, as a sighted user knows it.
    if (list->accessibleName().isEmpty())
        list->setAccessibleName(header_->titleLabel()->text());
    setContent(list, inset);
    attachContextMenu(
        list, [this](QMenu* menu, const QModelIndex& clicked) { menuNeedsUpdate(menu, clicked); });
    hint_ = makeLabel(hint, 13, QFont::Normal, secondaryLabelColor(this), list->viewport());
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setWordWrap(true);
    new HintPlacer(hint_, list->viewport());
    QAbstractItemModel* model = list->model();
    connect(model, &QAbstractItemModel::modelReset, this, &ToolViewController::updateHint);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ToolViewController::updateHint);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ToolViewController::updateHint);
    updateHint();
}

void ToolViewController::replaceContent(QWidget* content)
{
    // The old controls leave the screen at once, so it never holds two copies; they
    // are destroyed once the event that got here has returned.
    if (content_) {
        layout_->replaceWidget(content_, content);
        content_->hide();
        content_->setParent(nullptr);
        content_->deleteLater();
    }
    content_ = content;
    content->show();
}

void ToolViewController::addFooter(QWidget* footer)
{
    auto* box = new QVBoxLayout;
    box->setContentsMargins(20, 0, 20, 12);
    box->addWidget(footer);
    // The footer takes the place of the content's bottom margin.
    if (contentBox_ && contentBox_->contentsMargins().bottom() > 0)
        contentBox_->setContentsMargins(
            contentBox_->contentsMargins().left(), 0, contentBox_->contentsMargins().right(), 10);
    layout_->addLayout(box);
}

void ToolViewController::updateHint()
{
    if (hint_)
        hint_->setVisible(!jobStarted_ && list_->model()->rowCount() == 0);
}

void ToolViewController::setStatus(const QString& text)
{
    if (status_)
        status_->setText(text);
    emit statusChanged(text);
}

void ToolViewController::holdSpinner()
{
    if (spinnerHolds_++ == 0 && progress_)
        progress_->startAnimation();
}

void ToolViewController::releaseSpinner()
{
    if (spinnerHolds_ > 0 && --spinnerHolds_ == 0 && progress_)
        progress_->stopAnimation();
}

bool ToolViewController::readyForJob()
{
    ensureViewLoaded();
    if (jobs_->isBusy())
        return false;
    statusBeforeJob_ = status_ ? status_->text() : QString();
    jobStartedBefore_ = jobStarted_;
    return true;
}

void ToolViewController::stopJob()
{
    jobs_->stop();
}

void ToolViewController::jobWasStopped()
{
    jobStarted_ = jobStartedBefore_;
    setStatus(statusBeforeJob_);
    updateHint();
    emit jobStopped();
}

void ToolViewController::jobStarted(bool stoppable)
{
    if (!stoppable) {
        if (startButton_)
            startButton_->setEnabled(false);
        return; // the sheet is open already
    }
    jobStarted_ = true;
    updateHint();
    if (startButton_) {
        // The button keeps its width, so the controls beside it stay under the pointer.
        startTitle_ = startButton_->text();
        startWidth_ = startButton_->minimumWidth();
        startButton_->setMinimumWidth(startButton_->width());
        startButton_->setText(QStringLiteral("Detener"));
    }
    holdSpinner();
    emit stoppableChanged(true);
}

void ToolViewController::jobEnded(bool stoppable)
{
    if (!stoppable) {
        if (startButton_)
            startButton_->setEnabled(true);
        if (sheet_) {
            sheet_->finish();
            sheet_ = nullptr;
        }
        return;
    }
    releaseSpinner();
    if (startButton_) {
        startButton_->setText(startTitle_);
        startButton_->setMinimumWidth(startWidth_);
    }
    emit stoppableChanged(false);
}

JobControl::Counts ToolViewController::openSheet()
{
    sheet_ = new ProgressSheet(this);
    sheet_->open();
    return sheet_->counts();
}

void ToolViewController::showEvent(QShowEvent* event)
{
    ensureViewLoaded();
    QWidget::showEvent(event);
    viewDidAppear();
}

void ToolViewController::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    viewDidDisappear();
}

void ToolViewController::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), windowBackgroundColor(this));
}

void ToolViewController::showUndo(const UndoReport& report)
{
    ensureViewLoaded();
    QString text = displayText(undoSummary(report));
    if (report.count(UndoStatus::restored) > 0)
        text += QStringLiteral(" · vuelve a buscar para verlo en la lista");
    setStatus(text);
    reportFailures(
        QStringLiteral("Algunos elementos no se pudieron devolver"), undoDetails(report));
}

void ToolViewController::noteRemoval(const RemovalReport& report)
{
    historyNote_ = services_.removals.record(title_, report);
}

void ToolViewController::showRemovalStatus(const QString& success, const RemovalReport& report)
{
    QString text = removalStatusText(
        success.isEmpty() ? success : success + bytesText(report.freed()), report);
    if (!historyNote_.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" · ")) + QStringLiteral("⚠️ ")
            + std::exchange(historyNote_, {});
    setStatus(text);
}

QString ToolViewController::bytesText(int64_t bytes) const
{
    return fileBytesText(bytes);
}

void ToolViewController::reportFailures(
    const QString& title, const std::string& text, std::function<void()> next)
{
    if (text.empty() || !isVisible()) {
        if (next)
            next();
        return;
    }
    AlertRequest alert{
        AlertStyle::warning, title, QString::fromStdString(text), {QStringLiteral("OK")}};
    showAlert(this, alert, [next = std::move(next)](int) {
        if (next)
            next();
    });
}

} // namespace tidvale::gui

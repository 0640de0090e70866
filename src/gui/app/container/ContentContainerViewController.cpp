#include "gui/app/container/ContentContainerViewController.h"

#include "gui/tools/diskspace/DiskSpaceViewController.h"
#include "gui/tools/duplicates/DuplicatesViewController.h"
#include "gui/tools/largefiles/LargeFilesViewController.h"

#include "gui/app/ToolTable.h"
#include "gui/style/Colors.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPropertyAnimation>

namespace tidvale::gui {

ContentContainerViewController::ContentContainerViewController(
    const ScreenServices& services, QWidget* parent)
    : QWidget(parent)
    , services_(services)
{
}

const std::vector<ToolViewController*>& ContentContainerViewController::featureControllers()
{
    if (controllers_.empty()) {
        for (const ToolEntry& tool : toolTable(*services_.context.places.texts))
            controllers_.push_back(tool.make(services_, this));
        for (ToolViewController* c : controllers_) {
            c->hide();
            if (auto* disk = qobject_cast<DiskSpaceViewController*>(c))
                connect(disk, &DiskSpaceViewController::searchHereRequested, this,
                    &ContentContainerViewController::searchFolder);
        }
    }
    return controllers_;
}

// The finder asked for searches the folder alone, at once: the user chose it from the
// map and said what to look for.
void ContentContainerViewController::searchFolder(int index, const QString& folder)
{
    const auto& controllers = featureControllers();
    if (index < 0 || index >= static_cast<int>(controllers.size()))
        return;
    ToolViewController* screen = controllers[static_cast<size_t>(index)];
    if (screen->isBusy())
        return;
    const std::vector<std::string> roots{folder.toStdString()};
    if (auto* large = qobject_cast<LargeFilesViewController*>(screen))
        large->setSearchRoots(roots);
    else if (auto* dupes = qobject_cast<DuplicatesViewController*>(screen))
        dupes->setSearchRoots(roots);
    else
        return;
    emit featureRequested(index);
    showFeature(index);
    if (auto* large = qobject_cast<LargeFilesViewController*>(screen))
        large->doScan();
    else if (auto* dupes = qobject_cast<DuplicatesViewController*>(screen))
        dupes->doScan();
}

void ContentContainerViewController::sidebarDidSelect(int tag)
{
    showFeature(tag);
}

void ContentContainerViewController::showFeature(int index)
{
    const auto& controllers = featureControllers();
    if (index < 0 || index >= static_cast<int>(controllers.size()))
        return;
    ToolViewController* next = controllers[static_cast<size_t>(index)];
    if (next == currentChild_)
        return;
    if (currentChild_)
        currentChild_->hide();
    next->ensureViewLoaded();
    next->setGeometry(rect());
    fadeIn(next);
    next->show();
    currentChild_ = next;
}

void ContentContainerViewController::fadeIn(QWidget* view)
{
    auto* effect = new QGraphicsOpacityEffect(view);
    effect->setOpacity(0.0);
    view->setGraphicsEffect(effect);
    auto* animation = new QPropertyAnimation(effect, "opacity", effect);
    animation->setDuration(fadeMilliseconds);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    // The effect renders the screen through an off-screen buffer; once the fade ends
    // it goes, so a screen at rest paints directly. Queued: removing the effect
    // deletes the animation, which must not happen inside its own signal.
    connect(
        animation, &QPropertyAnimation::finished, view,
        [view, effect = QPointer<QGraphicsOpacityEffect>(effect)] {
            if (effect && view->graphicsEffect() == effect)
                view->setGraphicsEffect(nullptr);
        },
        Qt::QueuedConnection);
    animation->start();
}

void ContentContainerViewController::resizeEvent(QResizeEvent*)
{
    if (currentChild_)
        currentChild_->setGeometry(rect());
}

void ContentContainerViewController::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), windowBackgroundColor(this));
}

} // namespace tidvale::gui

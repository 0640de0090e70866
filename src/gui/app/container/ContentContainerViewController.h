#pragma once

#include "gui/tools/ToolViewController.h"

#include <QPointer>
#include <QWidget>

#include <vector>

namespace tidvale::gui {

// The right-hand pane. It owns the eleven tool screens, created together on the
// first selection in sidebar order and kept until the window closes, and shows one
// at a time, fading it in; switching never rebuilds a screen, so lists, status lines
// and running work survive it.
class ContentContainerViewController : public QWidget {
    Q_OBJECT
public:
    static constexpr int toolCount = 11;
    static constexpr int fadeMilliseconds = 180;

    // The screens are built on `services`, which must outlive the container.
    explicit ContentContainerViewController(
        const ScreenServices& services, QWidget* parent = nullptr);

    // The sidebar's choice; same as showFeature.
    void sidebarDidSelect(int tag);
    // Shows the screen at `index`. The screen already shown and indices outside
    // 0..10 are ignored.
    void showFeature(int index);

    ToolViewController* currentChild() const { return currentChild_; }
    // The screens, creating them on first use. Tests inspect them through this.
    const std::vector<ToolViewController*>& featureControllers();
    bool controllersCreated() const { return !controllers_.empty(); }
    // Shows the finder screen at `index` searching `folder` alone.
    void searchFolder(int index, const QString& folder);

signals:
    // A screen asked for another one; the sidebar follows.
    void featureRequested(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fadeIn(QWidget* view);

    const ScreenServices services_;
    QPointer<ToolViewController> currentChild_;
    std::vector<ToolViewController*> controllers_; // children of this widget
};

} // namespace tidvale::gui

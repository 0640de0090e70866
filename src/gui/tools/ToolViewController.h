#pragma once

#include <QWidget>

namespace tidvale::gui {

// The base of the eleven tool screens. The content container creates every screen at
// once but each builds its controls only when it is first shown (loadView), so
// starting the application costs eleven empty widgets. A screen is kept alive while
// the window lives; viewDidAppear/viewDidDisappear tell it when the user brings it
// into view or leaves it (also when the window is minimised and restored).
class ToolViewController : public QWidget {
    Q_OBJECT
public:
    explicit ToolViewController(QWidget* parent = nullptr);

    // Builds the controls now if they are not built yet. The container calls it
    // before showing the screen; tests may call it to inspect a screen unshown.
    void ensureViewLoaded();
    bool isViewLoaded() const { return loaded_; }

protected:
    // Builds the screen's controls in this widget (typically a QVBoxLayout with the
    // screen header first). Called once.
    virtual void loadView() = 0;
    virtual void viewDidAppear() { }
    virtual void viewDidDisappear() { }

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool loaded_ = false;
};

} // namespace tidvale::gui

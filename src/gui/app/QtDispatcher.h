#pragma once

#include "engine/core/Dispatch.h"

namespace tidvale::gui {

// Runs engine background work on Qt's global thread pool and delivers results on the
// GUI thread through the application's event loop.
class QtDispatcher final : public Dispatcher {
public:
    void toBackground(std::function<void()> work) override;
    void toMain(std::function<void()> work) override;
    // A GUI timer counts the delay: no pool thread sleeps through it.
    void toBackgroundAfter(std::chrono::milliseconds delay, std::function<void()> work) override;
};

// Installs the dispatcher above; call once after the QApplication exists.
void installQtDispatcher();

} // namespace tidvale::gui

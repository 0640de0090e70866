#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace tidvale {

// Where the engine runs background work and delivers results. The GUI installs one
// that uses its thread pool and posts to the GUI thread; without it, background work
// runs on a detached thread and results are delivered on that same thread.
class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    virtual void toBackground(std::function<void()> work) = 0;
    virtual void toMain(std::function<void()> work) = 0;
    // Runs `work` in the background once `delay` has passed. By default a background
    // thread sleeps through the delay; a dispatcher with a timer of its own (or a test's
    // clock) does better.
    virtual void toBackgroundAfter(std::chrono::milliseconds delay, std::function<void()> work);
};

std::shared_ptr<Dispatcher> dispatcher();
void setDispatcher(std::shared_ptr<Dispatcher> d);

} // namespace tidvale

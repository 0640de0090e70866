#include "gui/jobs/Background.h"

#include "engine/core/ThreadPriority.h"

#include <QCoreApplication>
#include <QThreadPool>

namespace tidvale::gui::detail {

// The call is posted to the application object, which outlives every screen, and the
// guard is checked on the GUI thread, where screens are destroyed: a screen that goes
// away while the work runs can never be reached from the worker.
void postToOwner(const OwnerGuard& owner, std::function<void()> call)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [owner, call = std::move(call)] {
            if (*owner)
                call();
        },
        Qt::QueuedConnection);
}

void startOnPool(std::function<void()> work)
{
    QThreadPool::globalInstance()->start([work = std::move(work)] {
        // The pool's threads only ever run the screens' background work.
        thread_local const bool lowered = (yieldToForegroundWork(), true);
        (void)lowered;
        work();
    });
}

} // namespace tidvale::gui::detail

#include "gui/app/QtDispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>
#include <QTimer>

namespace tidvale::gui {
namespace {

// The engine's background work waits on people (the password dialog), so it gets its
// own pool: it must never hold the threads that the screens' scans run on.
QThreadPool* enginePool()
{
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool(QCoreApplication::instance());
        p->setMaxThreadCount(4);
        return p;
    }();
    return pool;
}

void toGuiThread(std::function<void()> work)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

} // namespace

void QtDispatcher::toBackground(std::function<void()> work)
{
    enginePool()->start(std::move(work));
}

void QtDispatcher::toMain(std::function<void()> work)
{
    toGuiThread(std::move(work));
}

void QtDispatcher::toBackgroundAfter(std::chrono::milliseconds delay, std::function<void()> work)
{
    // The timer is started on the GUI thread, whose event loop runs it.
    toGuiThread([delay, work = std::move(work)]() mutable {
        QTimer::singleShot(delay, QCoreApplication::instance(),
            [work = std::move(work)]() mutable { enginePool()->start(std::move(work)); });
    });
}

void installQtDispatcher()
{
    setDispatcher(std::make_shared<QtDispatcher>());
}

} // namespace tidvale::gui

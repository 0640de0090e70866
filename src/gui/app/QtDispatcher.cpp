#include "gui/app/QtDispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>

namespace tidvale::gui {

// The engine's background work waits on people and clocks (the password dialog, the
// one-second memory measure), so it gets its own pool: it must never hold the threads
// that the screens' scans run on.
void QtDispatcher::toBackground(std::function<void()> work)
{
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool(QCoreApplication::instance());
        p->setMaxThreadCount(4);
        return p;
    }();
    pool->start(std::move(work));
}

void QtDispatcher::toMain(std::function<void()> work)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

void installQtDispatcher()
{
    setDispatcher(std::make_shared<QtDispatcher>());
}

} // namespace tidvale::gui

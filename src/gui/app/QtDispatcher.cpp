#include "gui/app/QtDispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThreadPool>

namespace tidvale::gui {

void QtDispatcher::toBackground(std::function<void()> work)
{
    QThreadPool::globalInstance()->start(std::move(work));
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

#include "gui/support/ScreenTestEnvironment.h"

#include <QThreadPool>

ScreenTestEnvironment::~ScreenTestEnvironment()
{
    QThreadPool::globalInstance()->waitForDone();
}

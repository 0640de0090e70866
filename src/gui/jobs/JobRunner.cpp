#include "gui/jobs/JobRunner.h"

namespace tidvale::gui {

JobRunner::JobRunner(QObject* parent)
    : QObject(parent)
{
}

JobRunner::~JobRunner()
{
    if (cancel_)
        cancel_->cancel();
}

bool JobRunner::stop()
{
    if (!stoppable_)
        return false;
    cancel_->cancel();
    auto stopped = std::move(stopped_);
    reset(true);
    if (stopped)
        stopped();
    emit this->stopped();
    return true;
}

void JobRunner::reset(bool stoppable)
{
    cancel_.reset();
    stopped_ = nullptr;
    stoppable_ = false;
    emit ended(stoppable);
}

} // namespace tidvale::gui

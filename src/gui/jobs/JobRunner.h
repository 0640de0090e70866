#pragma once

#include "engine/core/Job.h"
#include "engine/fs/SafeRemove.h"
#include "gui/jobs/Background.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

namespace tidvale::gui {

// Runs a screen's work off the GUI thread, one exclusive job at a time, and says what
// happens through signals, so that the screen only shows it: a job (a scan, a listing)
// can be stopped; a removal cannot; a wait (the password dialog, a second between two
// memory readings) runs beside either and holds nothing. Results reach the callbacks on
// the GUI thread, and never once the runner is gone or the job was stopped. The work
// must not touch widgets.
class JobRunner : public QObject {
    Q_OBJECT
public:
    explicit JobRunner(QObject* parent = nullptr);
    ~JobRunner() override; // a job still running stops at its next check

    bool isBusy() const { return cancel_ != nullptr; }
    bool isStoppable() const { return stoppable_; }

    // Starts `work(job)` unless a job or removal runs (then false). Its texts reach
    // message(); its result reaches `done` after ended(true), then finished() follows.
    // Stopped, `stopped` runs instead (see stop).
    template <class Work, class Done>
    bool start(Work work, Done done, std::function<void()> stopped = {})
    {
        if (cancel_)
            return false;
        auto cancel = std::make_shared<CancelFlag>();
        cancel_ = cancel;
        stopped_ = std::move(stopped);
        stoppable_ = true;
        emit started(true);
        runInBackground(
            this,
            [work = std::move(work), cancel](const ProgressSink& progress) mutable {
                return work(JobControl(progress, cancel));
            },
            [this, cancel, done = std::move(done)](auto result) mutable {
                if (cancel != cancel_)
                    return; // stopped: the screen already shows what it had
                reset(true);
                done(std::move(result));
                emit finished();
            },
            [this, cancel](const QString& text) {
                if (cancel == cancel_)
                    emit message(text);
            });
        return true;
    }

    // Starts a removal the user confirmed, counting its targets into `counts` and what
    // it unlinks inside them into `units`; it runs to its end.
    // started(false) and ended(false) frame it, then `done` gets its outcome and
    // finished() follows.
    template <class Work, class Done>
    bool startRemoval(
        Work work, Done done, JobControl::Counts counts, RemovalTally::Sink units = {})
    {
        if (cancel_)
            return false;
        cancel_ = std::make_shared<CancelFlag>(); // never set: a removal runs to its end
        emit started(false);
        runInBackground(
            this,
            [work = std::move(work), counts, units](const ProgressSink&) mutable {
                const RemovalTally tally(units);
                return work(JobControl({}, nullptr, counts));
            },
            [this, done = std::move(done)](auto result) mutable {
                reset(false);
                done(std::move(result));
                emit finished();
            });
        return true;
    }

    // Runs `work()` beside whatever runs, between waitStarted() and waitEnded(), and
    // hands its result to `done`.
    template <class Work, class Done> void wait(Work work, Done done)
    {
        emit waitStarted();
        runInBackground(
            this, [work = std::move(work)](const ProgressSink&) mutable { return work(); },
            [this, done = std::move(done)](auto result) mutable {
                emit waitEnded();
                done(std::move(result));
            });
    }

    // Asks the running job to stop at its next check and drops its late result; its
    // `stopped` callback runs now, between ended(true) and stopped(). False, and nothing
    // happens, when no job that can be stopped runs.
    bool stop();

signals:
    void started(bool stoppable);
    void message(const QString& text);
    void ended(bool stoppable);
    void finished();
    void stopped();
    void waitStarted();
    void waitEnded();

private:
    void reset(bool stoppable);

    std::shared_ptr<CancelFlag> cancel_; // null when nothing runs
    std::function<void()> stopped_;
    bool stoppable_ = false;
};

} // namespace tidvale::gui

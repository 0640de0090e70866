#pragma once

#include "engine/core/Job.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace tidvale::gui {

// What background work calls to report progress; the engine's progress handlers
// (ScanService::Progress and the like) accept it as is. Callable from the worker.
using ProgressSink = std::function<void(const std::string&)>;

// The job's status texts as the text sink the engine's older calls take.
inline ProgressSink textOf(const JobControl& job)
{
    return [&job](const std::string& text) { job.say(text); };
}

namespace detail {
// The weak hold on the owner. Workers only copy the shared pointer; the QPointer in it
// is read on the GUI thread alone, where the owner is destroyed.
using OwnerGuard = std::shared_ptr<const QPointer<QObject>>;
// Posts `call` to the GUI thread; it runs only if the owner still exists then.
void postToOwner(const OwnerGuard& owner, std::function<void()> call);
// Runs `work` on the application's thread pool.
void startOnPool(std::function<void()> work);
} // namespace detail

// Runs `work(progress)` on a worker thread and hands its result to `onDone` on the GUI
// thread. Each text the work passes to `progress` reaches `onProgress` on the GUI
// thread, in order, before the result. The work holds `owner` only weakly: once the
// owner is destroyed, progress and result are dropped (the work itself runs to its
// end). The work must not touch widgets; `onProgress` and `onDone` may.
//
//   runInBackground(
//       this, [service](const ProgressSink& progress) { return service->scanSystemJunk(progress);
//       }, [this](std::vector<ScanItem> items) { showResults(std::move(items)); }, [this](const
//       QString& text) { statusLabel->setText(text); });
template <class Work, class Done>
void runInBackground(
    QObject* owner, Work work, Done onDone, std::function<void(const QString&)> onProgress = {})
{
    using Result = std::invoke_result_t<Work&, const ProgressSink&>;
    auto guard = std::make_shared<const QPointer<QObject>>(owner);
    ProgressSink progress = [guard, onProgress = std::move(onProgress)](const std::string& text) {
        if (!onProgress)
            return;
        detail::postToOwner(
            guard, [onProgress, t = QString::fromStdString(text)] { onProgress(t); });
    };
    detail::startOnPool([guard, work = std::move(work), onDone = std::move(onDone),
                            progress = std::move(progress)]() mutable {
        if constexpr (std::is_void_v<Result>) {
            work(progress);
            detail::postToOwner(guard, [onDone]() mutable { onDone(); });
        } else {
            auto result = std::make_shared<Result>(work(progress));
            detail::postToOwner(guard, [onDone, result]() mutable { onDone(std::move(*result)); });
        }
    });
}

} // namespace tidvale::gui

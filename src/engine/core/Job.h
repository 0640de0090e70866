#pragma once

// The one contract every long job of the engine keeps: it reports what it is doing
// through a progress sink and stops soon after it is asked to. The GUI adapts the sink
// to queued calls onto the GUI thread and owns the flag its "Detener" button sets; the
// CLI prints to stderr. The engine never knows who listens.
//
// A job that sees the flag returns at once with what it has, and its caller, who set
// the flag, throws that away. The flag never goes back, so a job's result is whole
// exactly when `cancelled()` is still false after it returned; results that could
// pass for whole ones say so themselves (a `cancelled` field, or no value at all).
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

namespace tidvale {

// Set once by whoever started the job; read by the job at least once per folder it
// reads and once per MiB it hashes. Shared, so a job that outlives its screen still
// reads a live flag.
class CancelFlag {
public:
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return cancelled_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> cancelled_{false};
};

class JobControl {
public:
    using Text = std::function<void(const std::string&)>;
    using Counts = std::function<void(int64_t done, int64_t total)>;

    JobControl() = default;
    // A bare text sink, as the jobs took before they could be stopped.
    JobControl(Text text) // NOLINT: implicit on purpose
        : text_(std::move(text))
    {
    }
    // The same from a lambda, which would otherwise need two conversions.
    template <class F>
    requires(
        std::is_invocable_v<F&,
            const std::
                string&> && !std::is_same_v<std::decay_t<F>, Text> && !std::is_same_v<std::decay_t<F>, JobControl>)
        JobControl(F text) // NOLINT: implicit on purpose
        : text_(std::move(text))
    {
    }
    JobControl(Text text, std::shared_ptr<const CancelFlag> cancel, Counts counts = {})
        : text_(std::move(text))
        , counts_(std::move(counts))
        , cancel_(std::move(cancel))
    {
    }

    // A status text such as "Escaneando caché de usuario...", on the thread that
    // called the job.
    void say(const std::string& text) const
    {
        if (text_)
            text_(text);
    }
    // How far the job is: `done` of `total` (0 when the total is not known yet), in
    // the job's own unit (entries walked, bytes hashed). Called often, once per folder
    // or MiB, and from any of the threads the job shares its work with: the sink must
    // be cheap and thread-safe, and may see counts slightly out of order.
    void count(int64_t done, int64_t total) const
    {
        if (counts_)
            counts_(done, total);
    }
    bool cancelled() const { return cancel_ && cancel_->isCancelled(); }
    bool hasText() const { return static_cast<bool>(text_); }
    // The same job told nothing of its steps: it still stops when asked and still
    // counts, for screens whose status line stays still while they scan.
    JobControl withoutText() const { return JobControl({}, cancel_, counts_); }

private:
    Text text_;
    Counts counts_;
    std::shared_ptr<const CancelFlag> cancel_;
};

} // namespace tidvale

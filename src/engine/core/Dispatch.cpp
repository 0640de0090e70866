#include "engine/core/Dispatch.h"

#include <mutex>
#include <thread>

namespace tidvale {
namespace {

class ThreadDispatcher final : public Dispatcher {
public:
    void toBackground(std::function<void()> work) override
    {
        std::thread(std::move(work)).detach();
    }
    void toMain(std::function<void()> work) override { work(); }
};

std::mutex& lock()
{
    static std::mutex m;
    return m;
}

std::shared_ptr<Dispatcher>& slot()
{
    static std::shared_ptr<Dispatcher> d = std::make_shared<ThreadDispatcher>();
    return d;
}

} // namespace

void Dispatcher::toBackgroundAfter(std::chrono::milliseconds delay, std::function<void()> work)
{
    toBackground([delay, work = std::move(work)] {
        std::this_thread::sleep_for(delay);
        work();
    });
}

std::shared_ptr<Dispatcher> dispatcher()
{
    std::lock_guard guard(lock());
    return slot();
}

void setDispatcher(std::shared_ptr<Dispatcher> d)
{
    std::lock_guard guard(lock());
    slot() = std::move(d);
}

} // namespace tidvale

#include "engine/core/ThreadPriority.h"

#if defined(__APPLE__)
#include <pthread/qos.h>
#elif defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace tidvale {

void yieldToForegroundWork()
{
#if defined(__APPLE__)
    pthread_set_qos_class_self_np(QOS_CLASS_UTILITY, 0);
#elif defined(__linux__)
    // On Linux a nice value belongs to a thread, not to the whole process. Ten steps
    // down weighs a worker about a tenth of a normal thread when both want a core, and
    // costs nothing when the core is free.
    constexpr int background = 10;
    const auto self = static_cast<id_t>(::syscall(SYS_gettid));
    if (::getpriority(PRIO_PROCESS, self) < background)
        (void)::setpriority(PRIO_PROCESS, self, background);
#endif
}

} // namespace tidvale

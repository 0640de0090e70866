#pragma once

#include <ctime>
#include <functional>

namespace tidvale {

// Seconds since the epoch, now. A rule that depends on the time (a log written in the
// last hour) reads it when it decides, so a test can set it and a long run sees it move.
using Clock = std::function<std::time_t()>;

} // namespace tidvale

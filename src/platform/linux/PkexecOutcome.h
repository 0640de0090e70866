#pragma once

#include "platform/PrivilegedRunner.h"

#include <string>
#include <string_view>

namespace tidvale::platform {

// The text for a pkexec run that never reached the helper: exit status 126 (the
// password dialog was dismissed) or 127, which pkexec uses alike for a refusal, for
// no authentication agent and for an unreachable authorization service; only its
// standard error tells them apart.
std::string pkexecFailureText(int exitStatus, std::string_view standardError);

// What a pkexec run of the helper did, from its exit code (-1 when a signal ended it),
// its standard output (the helper's report) and its standard error, for `count`
// requested paths.
PrivilegedRunResult interpretPkexecRun(
    int exitCode, std::string_view output, std::string_view standardError, size_t count);

} // namespace tidvale::platform

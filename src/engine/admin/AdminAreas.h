#pragma once

// The machine-wide folders the administrator stage may delete in on one kind of
// system, each with its own rule. The administrator helper links this table and the
// rules it calls, and nothing else of the engine.
#include "engine/core/Clock.h"

#include <functional>
#include <string>
#include <vector>

namespace tidvale {

// A path is accepted only strictly inside `folder` and when `accepts` (if set) agrees;
// the privileged removal reaches it from `folder` without following links.
struct AdminArea {
    std::string folder;
    std::function<bool(const std::string& path)> accepts;
};

class AdminAreas {
public:
    virtual ~AdminAreas() = default;
    // The areas under `systemRoot` ("" for "/"). A rule that depends on the time reads
    // `clock` when it checks a path, not when the table is made: a log may have gone
    // quiet since.
    virtual std::vector<AdminArea> under(
        const std::string& systemRoot, const Clock& clock) const = 0;
};

const AdminAreas& macAdminAreas();
const AdminAreas& linuxAdminAreas();

// The areas of the system the program was built for.
const AdminAreas& platformAdminAreas();

} // namespace tidvale

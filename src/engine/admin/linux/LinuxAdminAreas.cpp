#include "engine/admin/AdminAreas.h"

#include "engine/admin/linux/AptArchives.h"
#include "engine/admin/linux/SystemLogRules.h"

namespace tidvale {
namespace {

using namespace linuxdesk;

// Only what the junk listing itself offers: downloaded packages and finished logs,
// each checked on disk again when the path is.
class LinuxAdminAreas final : public AdminAreas {
public:
    std::vector<AdminArea> under(const std::string& root, const Clock& clock) const override
    {
        const auto acceptsSystemLog = [root, clock](const std::string& path) {
            return isSystemLogDeletable(root, path, LogClock::at(clock()));
        };
        return {
            {root + "/var/cache/apt/archives",
                [root](const std::string& path) { return isSystemCacheDeletable(root, path); }},
            {root + "/var/log", acceptsSystemLog},
            {root + "/var/crash", acceptsSystemLog},
            {root + "/var/lib/systemd/coredump", acceptsSystemLog},
        };
    }
};

} // namespace

const AdminAreas& linuxAdminAreas()
{
    static const LinuxAdminAreas areas;
    return areas;
}

} // namespace tidvale

#include "engine/admin/AdminAreas.h"

#include "engine/desktop/SystemLocations.h"

namespace tidvale {
namespace {

// The machine's cache and log folders; whatever lies strictly inside them may go.
class MacAdminAreas final : public AdminAreas {
public:
    std::vector<AdminArea> under(const std::string& root, const Clock&) const override
    {
        return {
            {SystemLocations::libraryCaches(root), {}}, {SystemLocations::libraryLogs(root), {}}};
    }
};

} // namespace

const AdminAreas& macAdminAreas()
{
    static const MacAdminAreas areas;
    return areas;
}

} // namespace tidvale

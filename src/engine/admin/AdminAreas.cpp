#include "engine/admin/AdminAreas.h"

namespace tidvale {

const AdminAreas& platformAdminAreas()
{
#ifdef __APPLE__
    return macAdminAreas();
#else
    return linuxAdminAreas();
#endif
}

} // namespace tidvale

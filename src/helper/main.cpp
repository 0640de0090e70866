// Runs as root through pkexec. It links only the administrator areas, the path policy
// and the link-proof removal: nothing else of the program runs with its rights.
#include "engine/admin/AdminAreas.h"
#include "engine/admin/AdminHelper.h"

#include <ctime>
#include <iostream>

int main(int argc, char** argv)
{
    // Always this system's own rules on its real root: no variable the caller sets may
    // widen them or move a folder it deletes in, so the environment is not read at all.
    const auto areas = tidvale::platformAdminAreas().under("", [] { return std::time(nullptr); });
    std::vector<std::string> args(argv + 1, argv + argc);
    return tidvale::runAdminHelper(areas, args, std::cout, std::cerr);
}

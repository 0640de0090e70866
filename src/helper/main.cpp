// Runs as root through pkexec. The machine-wide folders are the real ones: nothing
// the unprivileged caller passes can move the allow-list elsewhere.
#include "engine/admin/AdminHelper.h"
#include "engine/locations/LocationsProfile.h"

#include <iostream>

int main(int argc, char** argv)
{
    // Always this system's own rules: no variable the caller sets may widen them.
    tidvale::setCurrentProfile(&tidvale::platformProfile());
    std::vector<std::string> args(argv + 1, argv + argc);
    return tidvale::runAdminHelper(args, std::cout, std::cerr);
}

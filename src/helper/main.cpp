// Runs as root through pkexec. The machine-wide folders are the real ones: nothing
// the unprivileged caller passes can move the allow-list elsewhere.
#include "engine/admin/AdminHelper.h"
#include "engine/locations/LocationsProfile.h"
#include "engine/setup/ContextBuilder.h"

#include <iostream>

int main(int argc, char** argv)
{
    // Always this system's own rules and its real root: no variable the caller sets
    // may widen them, so the environment is not read at all.
    tidvale::ContextOptions options;
    options.profile = &tidvale::platformProfile();
    options.readEnvironment = false;
    const tidvale::Context context = tidvale::buildContext(options);
    std::vector<std::string> args(argv + 1, argv + argc);
    return tidvale::runAdminHelper(context, args, std::cout, std::cerr);
}

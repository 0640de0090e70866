#include "engine/fs/Packages.h"

#include <iterator>
#include <strings.h>

namespace tidvale {
namespace {

constexpr std::string_view kPackageExtensions[] = {".app", ".appex", ".band", ".bundle",
    ".component", ".docset", ".dsym", ".fcpbundle", ".framework", ".imovielibrary", ".kext", ".key",
    ".logicx", ".mdimporter", ".mpkg", ".musiclibrary", ".numbers", ".pages", ".photolibrary",
    ".photoslibrary", ".playground", ".plugin", ".prefpane", ".qlgenerator", ".rtfd", ".saver",
    ".scptd", ".sparsebundle", ".systemextension", ".theater", ".tvlibrary", ".wdgt", ".xcarchive",
    ".xcodeproj", ".xcworkspace", ".xpc", ".aplibrary", ".pkg", ".driver", ".vst"};

} // namespace

bool isPackageName(std::string_view name)
{
    for (auto ext : kPackageExtensions) {
        // The extension alone (".app") is a hidden name, not a package.
        if (name.size() > ext.size()
            && strncasecmp(name.data() + name.size() - ext.size(), ext.data(), ext.size()) == 0)
            return true;
    }
    return false;
}

} // namespace tidvale

#include "engine/desktop/PersonalPlaces.h"

#include "engine/desktop/UserDirs.h"

namespace tidvale {
namespace {

// user-dirs.dirs names them in the desktop's language ("~/Descargas").
class LinuxPersonalPlaces final : public PersonalPlaces {
public:
    std::vector<std::string> folders(
        const std::string& realHome, const Environment& environment) const override
    {
        return linuxdesk::personalFolders(realHome, environment.get("XDG_CONFIG_HOME")).inOrder();
    }
};

} // namespace

const PersonalPlaces& linuxPersonalPlaces()
{
    static const LinuxPersonalPlaces places;
    return places;
}

} // namespace tidvale

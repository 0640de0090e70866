#include "engine/desktop/PersonalPlaces.h"

namespace tidvale {
namespace {

class MacPersonalPlaces final : public PersonalPlaces {
public:
    std::vector<std::string> folders(const std::string& realHome, const Environment&) const override
    {
        std::vector<std::string> found;
        for (const char* name :
            {"Downloads", "Documents", "Desktop", "Pictures", "Movies", "Music"})
            found.push_back(realHome + "/" + name);
        return found;
    }
};

} // namespace

const PersonalPlaces& macPersonalPlaces()
{
    static const MacPersonalPlaces places;
    return places;
}

} // namespace tidvale

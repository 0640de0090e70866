#pragma once

#include "engine/context/Context.h"

#include <string>
#include <vector>

namespace tidvale {

// The personal folders the finders search on one kind of system.
class PersonalPlaces {
public:
    virtual ~PersonalPlaces() = default;
    // The six folders, Downloads first, on `realHome`, as `environment` names them.
    virtual std::vector<std::string> folders(
        const std::string& realHome, const Environment& environment) const = 0;
};

const PersonalPlaces& macPersonalPlaces();
const PersonalPlaces& linuxPersonalPlaces();

} // namespace tidvale

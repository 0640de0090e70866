#pragma once

#include <string>

namespace tidvale {

// One entry a junk step found before it is measured: the name the screens show and
// the path that is measured and removed. Listing rules return these; the shared
// scanner measures them, applies the step's threshold and makes the items.
struct JunkCandidate {
    std::string name;
    std::string path;
};

} // namespace tidvale

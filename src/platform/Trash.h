#pragma once

#include <memory>
#include <string>

namespace tidvale::platform {

struct TrashResult {
    bool ok = false;
    std::string error; // the system's description when !ok
    // Where the item now is inside the Trash (on Linux `<trash>/files/<name>`, whose
    // `.trashinfo` records where it came from); "" when the backend cannot tell, and
    // then nothing can put it back.
    std::string trashedAs;
};

// Moves one file or folder to the user's Trash. A failure is always reported as a
// failure: the item is never deleted instead, nor left half-moved without an error.
class Trash {
public:
    virtual ~Trash() = default;
    virtual TrashResult moveToTrash(const std::string& path) = 0;
};

// The backend of this operating system.
std::shared_ptr<Trash> systemTrash();

} // namespace tidvale::platform

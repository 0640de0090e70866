#pragma once

#include "engine/context/Context.h"
#include "engine/records/ScanItem.h"

#include <optional>
#include <string>
#include <vector>

namespace tidvale {

// The standardized form of a path: "~" expanded to `home`, "." and ".." resolved,
// repeated and trailing separators removed.
std::string standardizedPath(const std::string& path, const std::string& home);

// Whether a path may be deleted with administrator rights: it must already be in
// standardized form, hold no ".." component and lie strictly inside one of the
// context profile's machine-wide junk folders (on the Mac the cache and log folders;
// the folders themselves are refused), passing that folder's own rule where it has one.
bool isAdminDeletable(const Context& context, const std::string& path);

// The machine-wide folder an administrator-deletable path lies in; none when the path
// is not deletable. The privileged removal starts from this folder.
std::optional<std::string> adminAreaOf(const Context& context, const std::string& path);

// What the administrator stage will do with a list of items, decided before anything
// runs.
struct AdminPlan {
    std::vector<ScanItem> accepted;
    std::vector<std::string> messages; // "Ruta no permitida: " + path, in item order
    std::string script;                // empty when nothing is accepted
};

AdminPlan planAdminDeletion(const Context& context, const std::vector<ScanItem>& items);

// The privileged shell command for the accepted paths, as AppleScript source.
std::string adminDeletionScript(const std::vector<std::string>& paths);

} // namespace tidvale

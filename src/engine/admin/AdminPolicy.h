#pragma once

#include "engine/admin/AdminAreas.h"

#include <optional>
#include <string>
#include <vector>

namespace tidvale {

// The standardized form of a path: "~" expanded to `home`, "." and ".." resolved,
// repeated and trailing separators removed.
std::string standardizedPath(const std::string& path, const std::string& home);

// Whether a path may be deleted with administrator rights: it must already be in
// standardized form and lie strictly inside one of the machine-wide junk folders of
// `areas` (on the Mac the cache and log folders; the folders themselves are refused),
// passing that folder's own rule where it has one.
bool isAdminDeletable(const std::vector<AdminArea>& areas, const std::string& path);

// The machine-wide folder an administrator-deletable path lies in; none when the path
// is not deletable. The privileged removal starts from this folder.
std::optional<std::string> adminAreaOf(
    const std::vector<AdminArea>& areas, const std::string& path);

} // namespace tidvale

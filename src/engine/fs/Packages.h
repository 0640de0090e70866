#pragma once

#include <string_view>

namespace tidvale {

// A folder the system presents as one document or program (an application, a plug-in,
// a photo library, a rich-text bundle…): the finders list neither it nor anything
// inside it. Judged by the name's extension, in any letter case.
bool isPackageName(std::string_view name);

} // namespace tidvale

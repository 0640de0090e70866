#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tidvale::platform {

// The top-level dictionary of a property list, reduced to what Tidvale reads: every
// key with its value when that value is a text, or with nothing when it is of another
// kind (a number, a date, a nested dictionary...).
using PlistDictionary = std::map<std::string, std::optional<std::string>>;

// Reads an XML or binary ("bplist00") property list whose root is a dictionary.
// Anything else, a damaged or truncated file, or one built to mislead the reader
// yields nothing; the reader never reads outside `bytes`.
std::optional<PlistDictionary> parsePropertyList(std::string_view bytes);

// The same for a regular file. Devices, FIFOs and files above a few megabytes are not
// opened (no property list Tidvale reads is that large).
std::optional<PlistDictionary> readPropertyListFile(const std::string& path);

// The text value of `key`, or "" when it is absent or not a text.
std::string plistText(const std::optional<PlistDictionary>& dict, const std::string& key);

} // namespace tidvale::platform

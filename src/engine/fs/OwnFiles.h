#pragma once

// Tidvale's own files: the settings and the schedule's units. They are written only in
// folders of the user's that Tidvale makes or finds, and never through a link: a
// folder named by a variable is a claim, and a link swapped in must not lead a write
// (or a removal) out of it.
#include <optional>
#include <string>
#include <string_view>

namespace tidvale {

// Writes `content` as the file `name` of the absolute `folder`, whole or not at all: a
// temporary file beside it (made with O_EXCL|O_NOFOLLOW, mode 0600), synced, then
// renamed over the old one. The part of `folder` that exists is resolved; what is
// missing is made with mode 0700 and entered without following links. Refused when
// the folder is not the user's own, or when `name` is a link or not a regular file.
// The reason in Spanish when it was not written.
std::optional<std::string> writeOwnFile(
    const std::string& folder, const std::string& name, std::string_view content);

// Appends `line` (which ends with a newline) to the file `name` of `folder` in one
// write, under an exclusive lock, making the folder and the file (mode 0600) as
// writeOwnFile does. A file a crash left without its last newline gets one first, so
// a cut record stays one damaged line and never swallows the next. Refused, as above,
// when the folder is not the user's or `name` is a link or not a regular file.
std::optional<std::string> appendOwnLine(
    const std::string& folder, const std::string& name, std::string_view line);

// Why a write failed with `error`, to follow a sentence such as "No se pudo guardar
// “x” ": the system's own texts are English.
std::string whyNotWritten(int error);

// Removes the file or link `name` of `folder` through the one removal function;
// nothing to do when it is not there. A folder of that name is left, with a reason.
std::optional<std::string> removeOwnFile(const std::string& folder, const std::string& name);

// The content of the regular file at `path` (links followed, as a reader may), at most
// `maxBytes`: nothing when it is missing; an error text when it cannot be read or is
// not a regular file of that size.
struct OwnFileText {
    bool exists = false;
    std::string text;
    std::optional<std::string> error;
};
OwnFileText readOwnFile(const std::string& path, size_t maxBytes);

} // namespace tidvale

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale::platform {

// What became of one path handed to the administrator stage.
enum class PrivilegedStatus {
    unknown, // nothing was learned: the run failed before or while reaching it
    removed,
    missing, // already gone: not a failure, its space is free all the same
    refused, // not on the allow-list
    failed,  // `error` tells why
};

struct PrivilegedPathResult {
    PrivilegedStatus status = PrivilegedStatus::unknown;
    int error = 0; // a removal error code when `status` is failed
    bool operator==(const PrivilegedPathResult&) const = default;
};

// The helper reports on its standard output, one line per path:
//   removed\t<i>\n   missing\t<i>\n   refused\t<i>\n   error\t<i>\t<code>\n
// where <i> is the path's position among the arguments after "--", counted from 0.
// A line never holds the path itself, so no name (with a newline or a tab in it) can
// break or forge one.
std::string privilegedReportLine(size_t index, const PrivilegedPathResult& result);

// Reads such a report for `count` paths. Lines that do not parse, or name an index out
// of range or already reported, are ignored; a path without a line stays unknown.
std::vector<PrivilegedPathResult> parsePrivilegedReport(std::string_view report, size_t count);

} // namespace tidvale::platform

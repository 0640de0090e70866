#pragma once

#include "engine/core/SystemColor.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale {

// The nine junk categories, in their fixed order (the order of allCategories()).
enum class ScanCategory {
    userCache,
    systemCache,
    userLogs,
    systemLogs,
    trash,
    browserSafari,
    browserChrome,
    browserFirefox,
    browserEdge,
};

inline constexpr std::array<ScanCategory, 9> allCategories{
    ScanCategory::userCache,
    ScanCategory::systemCache,
    ScanCategory::userLogs,
    ScanCategory::systemLogs,
    ScanCategory::trash,
    ScanCategory::browserSafari,
    ScanCategory::browserChrome,
    ScanCategory::browserFirefox,
    ScanCategory::browserEdge,
};

// The Spanish display name, which is also the category's raw value.
std::string_view displayName(ScanCategory c);

// Exact, case-sensitive match of a display name.
std::optional<ScanCategory> categoryFromDisplayName(std::string_view text);

SystemColor colorOf(ScanCategory c);

// The one bundle identifier of a browser category; empty for the others.
std::vector<std::string> bundleIdentifiers(ScanCategory c);

// The browser's display name when an application with one of its bundle identifiers
// runs now (exact match, no prefixes); none for the five system categories, for
// which the platform is not asked.
std::optional<std::string> runningBrowserName(ScanCategory c);

// The same against a list of running applications' bundle identifiers already read.
std::optional<std::string> runningBrowserName(
    ScanCategory c, const std::vector<std::string>& runningIdentifiers);

} // namespace tidvale

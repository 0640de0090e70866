#pragma once

#include "engine/core/SystemColor.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale {

// The junk categories, in their fixed order (the order of allCategories). The Mac
// knows the first nine; Chromium and Brave are browsers of Linux desktops, and the
// desktop's list of recently used documents is a Linux desktop's too.
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
    browserChromium,
    browserBrave,
    recentDocuments,
};

inline constexpr std::array<ScanCategory, 12> allCategories{
    ScanCategory::userCache,
    ScanCategory::systemCache,
    ScanCategory::userLogs,
    ScanCategory::systemLogs,
    ScanCategory::trash,
    ScanCategory::browserSafari,
    ScanCategory::browserChrome,
    ScanCategory::browserFirefox,
    ScanCategory::browserEdge,
    ScanCategory::browserChromium,
    ScanCategory::browserBrave,
    ScanCategory::recentDocuments,
};

// The Spanish display name, which is also the category's raw value.
std::string_view displayName(ScanCategory c);

// Exact, case-sensitive match of a display name.
std::optional<ScanCategory> categoryFromDisplayName(std::string_view text);

SystemColor colorOf(ScanCategory c);

// The one bundle identifier of a browser category on the Mac; empty for the others.
std::vector<std::string> bundleIdentifiers(ScanCategory c);

// Whether the category is one of a web browser's.
bool isBrowserCategory(ScanCategory c);

} // namespace tidvale

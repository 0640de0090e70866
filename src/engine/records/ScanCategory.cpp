#include "engine/records/ScanCategory.h"

#include <algorithm>

namespace tidvale {
namespace {

struct CategoryInfo {
    std::string_view name;
    SystemColor color;
    std::string_view bundleId;
};

constexpr std::array<CategoryInfo, 12> kInfo{{
    {"Caché de Usuario", SystemColor::orange, ""},
    {"Caché del Sistema", SystemColor::red, ""},
    {"Registros de Usuario", SystemColor::yellow, ""},
    {"Registros del Sistema", SystemColor::pink, ""},
    {"Papelera", SystemColor::gray, ""},
    {"Safari", SystemColor::blue, "com.apple.Safari"},
    {"Google Chrome", SystemColor::green, "com.google.Chrome"},
    {"Mozilla Firefox", SystemColor::orange, "org.mozilla.firefox"},
    {"Microsoft Edge", SystemColor::teal, "com.microsoft.edgemac"},
    {"Chromium", SystemColor::indigo, ""},
    {"Brave", SystemColor::red, ""},
    {"Documentos recientes", SystemColor::purple, ""},
}};

const CategoryInfo& info(ScanCategory c)
{
    return kInfo[static_cast<size_t>(c)];
}

} // namespace

std::string_view displayName(ScanCategory c)
{
    return info(c).name;
}

std::optional<ScanCategory> categoryFromDisplayName(std::string_view text)
{
    for (ScanCategory c : allCategories)
        if (info(c).name == text)
            return c;
    return std::nullopt;
}

SystemColor colorOf(ScanCategory c)
{
    return info(c).color;
}

std::vector<std::string> bundleIdentifiers(ScanCategory c)
{
    if (info(c).bundleId.empty())
        return {};
    return {std::string(info(c).bundleId)};
}

bool isBrowserCategory(ScanCategory c)
{
    return c >= ScanCategory::browserSafari && c <= ScanCategory::browserBrave;
}

} // namespace tidvale

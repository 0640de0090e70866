#include "engine/devcaches/XcodeLocations.h"

#include "engine/format/ByteText.h"
#include "engine/fs/PathText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tidvale {

std::vector<XcodeLocation> xcodeLocations(const std::string& home)
{
    const std::string base = home + "/Library/Developer";
    return {
        {"DerivedData", base + "/Xcode/DerivedData", "Archivos compilados de proyectos Xcode",
            true},
        {"Archives", base + "/Xcode/Archives", "Archivos .xcarchive exportados", false},
        {"iOS DeviceSupport", base + "/Xcode/iOS DeviceSupport",
            "Símbolos de depuración de dispositivos iOS", true},
        {"watchOS DeviceSupport", base + "/Xcode/watchOS DeviceSupport",
            "Símbolos de depuración de Apple Watch", true},
        {"visionOS DeviceSupport", base + "/Xcode/visionOS DeviceSupport",
            "Símbolos de depuración de Apple Vision", true},
        {"CoreSimulator Caches", base + "/CoreSimulator/Caches", "Cachés de simuladores iOS/macOS",
            true},
        {"CoreSimulator Devices", base + "/CoreSimulator/Devices",
            "Datos de simuladores instalados", false},
        {"Previews", base + "/Xcode/UserData/Previews", "Cachés de SwiftUI Preview", true},
        {"Playground Pages", base + "/XCPlaygrounds", "Playgrounds guardados", false},
        {"SPM Checkouts", base + "/Xcode/DerivedData/SwiftPM/checkouts",
            "Código fuente de dependencias SPM", true},
        {"Instruments", base + "/Instruments/AutoSave Information", "Autoguardados de Instruments",
            true},
    };
}

namespace {

// Why the row may not be cleaned: its own refusal, else, for a real folder, the lack of
// its tool's marks. A link is removed as the link and frees only that, so it needs none.
std::string locationRefusal(const XcodeLocation& row, bool present, bool isLink)
{
    if (!row.refusal.empty())
        return row.refusal;
    if (!present || isLink)
        return {};
    const int fd = ::open(row.path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return row.layout == CacheLayout::any ? std::string() : notCacheReason(row.layout);
    const bool looksRight = hasCacheLayout(fd, row.layout);
    ::close(fd);
    return looksRight ? std::string() : notCacheReason(row.layout);
}

} // namespace

XcodeListing listXcodeLocations(
    const std::vector<XcodeLocation>& table, const JobControl& job, const TreeMeasure& measure)
{
    std::vector<bool> exists, isLink;
    std::vector<ListedStamp> stamps;
    for (const auto& row : table) {
        struct stat st { };
        exists.push_back(::lstat(row.path.c_str(), &st) == 0);
        isLink.push_back(exists.back() && S_ISLNK(st.st_mode));
        stamps.push_back(exists.back() ? ListedStamp::of(st) : ListedStamp{});
    }
    XcodeListing listing;
    for (size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        // A location reached through another location's link belongs to the link's
        // target, which this tool never enters: the link's own row stands for it.
        bool present = exists[i];
        for (size_t j = 0; j < table.size() && present; ++j)
            present = !(isLink[j] && j != i && isSameOrInside(row.path, table[j].path));
        // A refused folder is not measured: it is not the tool's, and walking the
        // user's whole home to show a size nobody may clean would only mislead.
        std::string refusal = locationRefusal(row, present, isLink[i]);
        present = present && refusal.empty();
        const auto measured = present ? measure(row.path, job) : std::optional<int64_t>(0);
        if (!measured || job.cancelled()) {
            listing.cancelled = true;
            return listing;
        }
        const int64_t size = *measured;
        std::string description = row.desc;
        if (present && isLink[i])
            description += " · Enlace";
        if (!refusal.empty())
            description += " · " + refusal;
        else if (!row.regenerable)
            description += " · No se regenera (va a la Papelera)";
        listing.items.push_back({row.name, row.path, size, std::move(description),
            size > 0 && row.regenerable, present, row.regenerable, present && isLink[i],
            row.readOnlyFolders, row.keep, stamps[i], row.layout, std::move(refusal)});
    }
    listing.total = xcodeBytesOnce(listing.items);
    return listing;
}

std::string xcodeListingStatus(const XcodeListing& listing)
{
    int available = 0;
    for (const auto& item : listing.items)
        available += item.isAvailable ? 1 : 0;
    return std::to_string(available) + " ubicaciones · " + formatFileBytes(listing.total)
        + " en total";
}

} // namespace tidvale

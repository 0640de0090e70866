#include "engine/downloads/Downloads.h"

#include "engine/finders/FileWalk.h"
#include "engine/format/ByteText.h"
#include "engine/fs/FileKind.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace tidvale {

using SystemClock = std::chrono::system_clock;

std::string downloadsFolder(const Context& context)
{
    return context.folders.personal.front();
}

std::vector<DownloadItem> listDownloads(
    const std::string& folder, const JobControl& job, const TreeMeasure& measure)
{
    std::vector<DownloadItem> items;
    DIR* d = ::opendir(folder.c_str());
    if (!d)
        return items;
    const int fd = ::dirfd(d);
    const std::string prefix = folder == "/" ? "" : folder;
    while (const dirent* e = ::readdir(d)) {
        if (job.cancelled())
            break;
        if (e->d_name[0] == '.')
            continue; // hidden, and "." and ".."
        struct stat st { };
        if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // vanished or unreadable: left out
        DownloadItem item;
        item.name = e->d_name;
        item.path = prefix + "/" + item.name;
        const bool isFolder = S_ISDIR(st.st_mode);
        const auto size = isFolder ? measure(item.path, job) : std::optional<int64_t>(st.st_size);
        if (!size)
            break; // cancelled: the folder is not listed at a part of its size
        item.size = *size;
        item.listed = ListedStamp::of(st);
        item.date = timePointOf(item.listed.stamp.mtimeSec, item.listed.stamp.mtimeNsec);
        item.kind = kindOf(item.name,
            isFolder                  ? EntryType::folder
                : S_ISLNK(st.st_mode) ? EntryType::link
                                      : EntryType::file);
        items.push_back(std::move(item));
    }
    ::closedir(d);
    std::stable_sort(items.begin(), items.end(),
        [](const DownloadItem& a, const DownloadItem& b) { return a.date < b.date; });
    return items;
}

bool passesAgeFilter(const DownloadItem& entry, int index, SystemClock::time_point now)
{
    if (index < 1 || index >= static_cast<int>(kAgeFilters.size()))
        return true;
    return entry.date
        < now - std::chrono::seconds(kAgeFilters[static_cast<size_t>(index)].olderThanSeconds);
}

std::vector<DownloadItem> filterDownloads(
    const std::vector<DownloadItem>& entries, int index, SystemClock::time_point now)
{
    std::vector<DownloadItem> shown;
    for (const auto& e : entries)
        if (passesAgeFilter(e, index, now))
            shown.push_back(e);
    return shown;
}

std::string downloadsSummary(const std::vector<DownloadItem>& shown)
{
    int64_t total = 0;
    for (const auto& e : shown)
        total += e.size;
    return std::to_string(shown.size()) + " archivos · " + formatFileBytes(total);
}

std::optional<SystemColor> downloadSizeColor(int64_t size)
{
    return size > 100000000 ? std::optional(SystemColor::orange) : std::nullopt;
}

std::optional<SystemColor> downloadDateColor(
    SystemClock::time_point date, SystemClock::time_point now)
{
    const auto age = now - date;
    if (age > std::chrono::seconds(31536000))
        return SystemColor::orange;
    if (age > std::chrono::seconds(7776000))
        return SystemColor::yellow;
    return std::nullopt;
}

} // namespace tidvale

#include "engine/finders/LargeFiles.h"

#include "engine/finders/FileWalk.h"
#include "engine/format/ByteText.h"
#include "engine/fs/FileKind.h"
#include "engine/fs/PathText.h"

#include <algorithm>
#include <numeric>

namespace tidvale {

std::vector<LargeFileItem> findLargeFiles(
    WorkPool& pool, const std::vector<std::string>& roots, int64_t threshold, const JobControl& job)
{
    const FileWalk walk(pool, roots, threshold, job,
        [&](size_t root) { job.say("Escaneando " + lastPathComponent(roots[root]) + "..."); });
    std::vector<uint32_t> all(walk.size());
    std::iota(all.begin(), all.end(), 0u);
    std::vector<LargeFileItem> items;
    for (auto i : walk.firstOfEachFile(all)) {
        const auto& file = walk.file(i);
        items.push_back({file.name, walk.path(i), file.stamp.size,
            timePointOf(file.stamp.mtimeSec, file.stamp.mtimeNsec),
            kindOf(file.name, EntryType::file), {file.identity, S_IFREG, file.stamp}});
    }
    std::stable_sort(items.begin(), items.end(),
        [](const LargeFileItem& a, const LargeFileItem& b) { return a.size > b.size; });
    return items;
}

std::optional<SystemColor> largeFileSizeColor(int64_t size)
{
    if (size > 500000000)
        return SystemColor::red;
    if (size > 100000000)
        return SystemColor::orange;
    return std::nullopt;
}

std::string largeFilesSummary(const std::vector<LargeFileItem>& items)
{
    if (items.empty())
        return "No se encontraron archivos grandes";
    int64_t total = 0;
    for (const auto& item : items)
        total += item.size;
    return std::to_string(items.size()) + " archivos · " + formatFileBytes(total) + " en total";
}

} // namespace tidvale

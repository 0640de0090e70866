#include "platform/linux/ProcMeminfo.h"

#include <unistd.h>

#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

namespace tidvale::platform {
namespace {

// "Name:   1234 kB" -> bytes; nothing for a line that does not hold a number.
std::optional<uint64_t> lineBytes(std::string_view rest)
{
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
        rest.remove_prefix(1);
    uint64_t value = 0;
    auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (ec != std::errc())
        return std::nullopt;
    rest.remove_prefix(static_cast<size_t>(end - rest.data()));
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    if (rest.substr(0, 2) != "kB")
        return value; // the few unit-less lines are counts, not sizes
    return value > std::numeric_limits<uint64_t>::max() / 1024
        ? std::numeric_limits<uint64_t>::max()
        : value * 1024;
}

class ProcMemoryStatistics final : public MemoryStatistics {
public:
    uint64_t physicalMemory() override
    {
        const long pages = ::sysconf(_SC_PHYS_PAGES);
        const long size = ::sysconf(_SC_PAGESIZE);
        if (pages <= 0 || size <= 0)
            return 0;
        return static_cast<uint64_t>(pages) * static_cast<uint64_t>(size);
    }

    std::optional<VmFigures> vmFigures() override
    {
        std::ifstream in("/proc/meminfo", std::ios::binary);
        if (!in)
            return std::nullopt;
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        return parseMeminfo(text);
    }
};

} // namespace

std::optional<VmFigures> parseMeminfo(std::string_view text)
{
    VmFigures figures;
    bool sawFree = false;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view name = line.substr(0, colon);
        const auto bytes = lineBytes(line.substr(colon + 1));
        if (!bytes)
            continue;
        if (name == "MemFree") {
            figures.free = *bytes;
            sawFree = true;
        } else if (name == "Active") {
            figures.active = *bytes;
        } else if (name == "Inactive") {
            figures.inactive = *bytes;
        } else if (name == "Unevictable") {
            figures.wired = *bytes;
        } else if (name == "Zswap") {
            figures.compressed = *bytes;
        }
    }
    if (!sawFree)
        return std::nullopt;
    return figures;
}

template <> std::shared_ptr<MemoryStatistics> makeSystemService<MemoryStatistics>()
{
    return std::make_shared<ProcMemoryStatistics>();
}

} // namespace tidvale::platform

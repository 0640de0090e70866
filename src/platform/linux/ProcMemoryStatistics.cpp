#include "platform/linux/ProcMeminfo.h"

#include <dirent.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
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

    std::optional<VmFigures> vmFigures() override { return readVmFigures(""); }
};

uint64_t saturatingAdd(uint64_t a, uint64_t b)
{
    return b > std::numeric_limits<uint64_t>::max() - a ? std::numeric_limits<uint64_t>::max()
                                                        : a + b;
}

std::optional<std::string> readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string{std::istreambuf_iterator<char>(in), {}};
}

} // namespace

uint64_t zramMemoryUsed(const std::string& sysBlock)
{
    uint64_t total = 0;
    DIR* d = ::opendir(sysBlock.c_str());
    if (!d)
        return 0;
    while (dirent* e = ::readdir(d)) {
        if (std::string_view(e->d_name).substr(0, 4) != "zram")
            continue;
        const auto text = readText(sysBlock + "/" + e->d_name + "/mm_stat");
        if (!text)
            continue;
        std::istringstream fields(*text);
        uint64_t original = 0, compressed = 0, used = 0;
        if (fields >> original >> compressed >> used)
            total = saturatingAdd(total, used);
    }
    ::closedir(d);
    return total;
}

std::optional<VmFigures> readVmFigures(const std::string& root)
{
    const auto text = readText(root + "/proc/meminfo");
    if (!text)
        return std::nullopt;
    auto figures = parseMeminfo(*text);
    if (figures)
        figures->compressed
            = saturatingAdd(figures->compressed, zramMemoryUsed(root + "/sys/block"));
    return figures;
}

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

std::shared_ptr<MemoryStatistics> systemMemoryStatistics()
{
    return std::make_shared<ProcMemoryStatistics>();
}

} // namespace tidvale::platform

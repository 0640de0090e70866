#include "engine/apps/linux/SnapPackages.h"

#include "engine/format/TextLines.h"
#include "engine/fs/FolderFd.h"

#include <sys/stat.h>

#include <optional>
#include <string_view>

namespace tidvale::linuxdesk {
namespace {

constexpr size_t kMaxYaml = size_t(1) << 20;

std::string yamlVersion(std::string_view yaml)
{
    while (!yaml.empty()) {
        const size_t end = yaml.find('\n');
        const std::string_view line = yaml.substr(0, end);
        yaml.remove_prefix(end == std::string_view::npos ? yaml.size() : end + 1);
        if (!line.starts_with("version:"))
            continue;
        std::string_view value = trimmedLine(line.substr(8));
        if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"')
            && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return {};
}

// "NAME_REVISION.snap" with a revision of digits, or "x" and digits for a local one.
std::optional<long> revisionOf(const std::string& file, const std::string& name)
{
    const std::string prefix = name + "_";
    if (!file.starts_with(prefix) || !file.ends_with(".snap"))
        return std::nullopt;
    std::string_view rev(file);
    rev = rev.substr(prefix.size(), rev.size() - prefix.size() - 5);
    const bool local = !rev.empty() && rev.front() == 'x';
    if (local)
        rev.remove_prefix(1);
    if (rev.empty() || rev.size() > 9
        || rev.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const long n = std::stol(std::string(rev));
    return local ? -n : n; // a local revision never counts as the newest store one
}

} // namespace

std::string snapInstanceOfEntry(const std::string& entryId, const std::string& declared)
{
    if (!declared.empty())
        return declared;
    std::string name = entryId.substr(0, entryId.find('_'));
    for (char& c : name)
        if (c == '+')
            c = '_';
    return name;
}

SnapPackage snapPackage(const std::string& root, const std::string& name)
{
    SnapPackage snap;
    snap.name = name;
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return snap;
    const std::string folder = root + "/var/lib/snapd/snaps";
    if (FolderFd snaps = openGivenFolder(folder)) {
        std::optional<long> newest;
        for (const auto& file : entryNames(snaps.get())) {
            const auto revision = revisionOf(file, name);
            const auto st = revision ? entryStatus(snaps.get(), file) : std::nullopt;
            if (!st || !S_ISREG(st->st_mode))
                continue;
            snap.bytes += st->st_size;
            if (!newest || *revision > *newest) {
                newest = revision;
                snap.file = folder + "/" + file;
            }
        }
    }
    // "current" is snapd's own link to the revision in use; the name's folder is not.
    if (openBelow(root + "/snap", {name}))
        if (FolderFd meta = openGivenFolder(root + "/snap/" + name + "/current/meta"))
            if (const auto yaml = readPlainFileAt(meta.get(), "snap.yaml", kMaxYaml))
                snap.version = yamlVersion(*yaml);
    return snap;
}

} // namespace tidvale::linuxdesk

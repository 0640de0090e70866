#include "engine/apps/linux/DpkgDatabase.h"

#include "engine/format/TextLines.h"
#include "engine/fs/FolderFd.h"

#include <charconv>
#include <string_view>

namespace tidvale::linuxdesk {
namespace {

constexpr size_t kMaxStatus = size_t(512) << 20;
constexpr size_t kMaxList = size_t(64) << 20;

bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// "install ok installed", "hold ok installed": the last word is the state.
bool statusIsInstalled(std::string_view status)
{
    const size_t space = status.find_last_of(' ');
    return status.substr(space == std::string_view::npos ? 0 : space + 1) == "installed";
}

struct Paragraph {
    DpkgPackage package;
    bool installed = false;
};

void readField(Paragraph& p, std::string_view key, std::string_view value)
{
    if (key == "Package") {
        p.package.name = value;
    } else if (key == "Architecture") {
        p.package.architecture = value;
    } else if (key == "Version") {
        p.package.version = value;
    } else if (key == "Status") {
        p.installed = statusIsInstalled(value);
    } else if (key == "Installed-Size") {
        int64_t kib = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), kib);
        if (ec == std::errc() && end == value.data() + value.size() && kib >= 0
            && kib < (INT64_MAX >> 10))
            p.package.installedBytes = kib * 1024;
    }
}

} // namespace

DpkgDatabase::DpkgDatabase(const std::string& adminDir, bool withFileLists)
{
    FolderFd admin = openGivenFolder(adminDir);
    if (!admin)
        return;
    const auto status = readPlainFileAt(admin.get(), "status", kMaxStatus);
    if (!status)
        return;

    auto add = [this](Paragraph& p) {
        if (p.installed && !p.package.name.empty()) {
            const size_t index = packages_.size();
            byKey_.emplace(p.package.name + ":" + p.package.architecture, index);
            byKey_.emplace(p.package.name, index);
            packages_.push_back(std::move(p.package));
        }
        p = Paragraph();
    };
    Paragraph current;
    std::string_view text = *status;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (trimmedLine(line).empty()) {
            add(current);
            continue;
        }
        if (line.front() == ' ' || line.front() == '\t')
            continue; // a continuation line of a field not read here
        const size_t colon = line.find(':');
        if (colon != std::string_view::npos)
            readField(current, line.substr(0, colon), trimmedLine(line.substr(colon + 1)));
    }
    add(current);
    if (!withFileLists)
        return;

    FolderFd info = openBelow(admin.get(), {"info"});
    if (!info)
        return;
    for (const auto& name : entryNames(info.get())) {
        if (!endsWith(name, ".list"))
            continue;
        const DpkgPackage* owner = find(name.substr(0, name.size() - 5));
        if (!owner)
            continue; // a package removed but for its configuration files
        const auto list = readPlainFileAt(info.get(), name, kMaxList);
        if (!list)
            continue;
        const size_t index = static_cast<size_t>(owner - packages_.data());
        std::string_view rest = *list;
        while (!rest.empty()) {
            const size_t end = rest.find('\n');
            const std::string_view path = rest.substr(0, end);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
            if (endsWith(path, ".desktop"))
                owners_.emplace(std::string(path), index);
        }
    }
}

const DpkgPackage* DpkgDatabase::find(const std::string& listName) const
{
    const auto it = byKey_.find(listName);
    return it == byKey_.end() ? nullptr : &packages_[it->second];
}

const DpkgPackage* DpkgDatabase::ownerOf(const std::string& path) const
{
    const auto it = owners_.find(path);
    return it == owners_.end() ? nullptr : &packages_[it->second];
}

bool DpkgDatabase::isInstalled(const std::string& name, const std::string& architecture) const
{
    return find(name + ":" + architecture) != nullptr;
}

} // namespace tidvale::linuxdesk

#include "engine/junk/linux/SystemLogs.h"

#include "engine/fs/FolderFd.h"
#include "engine/fs/HeldFiles.h"
#include "engine/fs/MountPoint.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace tidvale::linuxdesk {
namespace {

bool allDigits(std::string_view s)
{
    return !s.empty()
        && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string_view withoutCompression(std::string_view name)
{
    for (std::string_view ext : {".gz", ".xz", ".bz2", ".zst"}) {
        if (name.size() > ext.size() && name.ends_with(ext))
            return name.substr(0, name.size() - ext.size());
    }
    return name;
}

bool isRotationNumber(std::string_view n)
{
    return allDigits(n) && n.size() <= 3 && (n == "0" || n.front() != '0');
}

bool isPlausibleDate(std::string_view d)
{
    if (d.size() != 8 || !allDigits(d))
        return false;
    const int year = std::stoi(std::string(d.substr(0, 4)));
    const int month = std::stoi(std::string(d.substr(4, 2)));
    const int day = std::stoi(std::string(d.substr(6, 2)));
    return year >= 1970 && year <= 2199 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool isArchivedJournal(std::string_view name)
{
    if (name.ends_with(".journal~"))
        return name.size() > 9;
    return name.ends_with(".journal") && name.find('@') != std::string_view::npos
        && name.front() != '@';
}

// The crash folders below the root, and the names each keeps its reports under.
struct CrashFolder {
    std::vector<std::string> components;
    bool (*accepts)(std::string_view name);
};

const std::array<CrashFolder, 2> kCrashFolders = {{
    {{"var", "crash"},
        [](std::string_view n) {
            return n.size() > 6 && n.ends_with(".crash") && n.front() != '.';
        }},
    // systemd-coredump writes "core.<comm>.<uid>.<boot>.<pid>.<time>[.zst]"; the
    // one being written is a hidden ".#core…" file.
    {{"var", "lib", "systemd", "coredump"},
        [](std::string_view n) { return n.size() > 5 && n.starts_with("core."); }},
}};

std::string joined(const std::string& prefix, const std::vector<std::string>& components)
{
    std::string out = prefix;
    for (const auto& c : components)
        out += "/" + c;
    return out;
}

constexpr time_t kStillWrittenSeconds = 3600;

// A file still being written is not junk yet, whatever its name says.
bool isLive(
    const struct stat& st, std::string_view name, const LogClock& clock, const HeldFiles& held)
{
    return isDatedToday(name, clock.today) || st.st_mtime > clock.now - kStillWrittenSeconds
        || held.holds(st);
}

bool isListableFile(
    int folderFd, const std::string& name, const LogClock& clock, const HeldFiles& held)
{
    auto st = entryStatus(folderFd, name);
    return st && S_ISREG(st->st_mode) && !isMountPoint(folderFd, name)
        && !isLive(*st, name, clock, held);
}

void addRotatedLogs(const std::string& root, const LogClock& clock, const HeldFiles& held,
    std::vector<JunkCandidate>& out)
{
    const std::string logPath = root + "/var/log";
    struct Pending {
        FolderFd fd;
        std::string relative; // "" for /var/log itself, else "apt" or "a/b"
    };
    std::vector<Pending> stack;
    if (FolderFd top = openBelow(root + "/", {"var", "log"}))
        stack.push_back({std::move(top), ""});
    while (!stack.empty()) {
        Pending folder = std::move(stack.back());
        stack.pop_back();
        const std::string prefix = folder.relative.empty() ? "" : folder.relative + "/";
        std::vector<std::string> names = entryNames(folder.fd.get());
        // Pushed in reverse so that folders are visited in listing order.
        std::vector<Pending> below;
        for (const auto& name : names) {
            auto st = entryStatus(folder.fd.get(), name);
            if (!st || isMountPoint(folder.fd.get(), name))
                continue;
            if (S_ISDIR(st->st_mode)) {
                if (FolderFd sub = openBelow(folder.fd.get(), {name}))
                    below.push_back({std::move(sub), prefix + name});
            } else if (S_ISREG(st->st_mode) && isRotatedLogName(name)
                && !isLive(*st, name, clock, held)) {
                out.push_back({prefix + name, logPath + "/" + prefix + name});
            }
        }
        for (auto it = below.rbegin(); it != below.rend(); ++it)
            stack.push_back(std::move(*it));
    }
}

} // namespace

bool isRotatedLogName(std::string_view name)
{
    if (name.empty() || name.find('/') != std::string_view::npos)
        return false;
    if (isArchivedJournal(name))
        return true;
    const std::string_view base = withoutCompression(name);
    if (base.size() > 4 && base.ends_with(".old"))
        return true;
    const size_t dash = base.rfind('-');
    if (dash != std::string_view::npos && dash > 0 && isPlausibleDate(base.substr(dash + 1)))
        return true;
    const size_t dot = base.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || !isRotationNumber(base.substr(dot + 1)))
        return false;
    const std::string_view stem = base.substr(0, dot);
    const size_t stemDot = stem.rfind('.');
    const std::string_view stemLast
        = stemDot == std::string_view::npos ? stem : stem.substr(stemDot + 1);
    return !allDigits(stemLast);
}

LogClock LogClock::at(time_t now)
{
    struct tm local { };
    ::localtime_r(&now, &local);
    return {now, (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday};
}

bool isDatedToday(std::string_view name, int today)
{
    const std::string_view base = withoutCompression(name);
    const size_t dash = base.rfind('-');
    if (dash == std::string_view::npos || !isPlausibleDate(base.substr(dash + 1)))
        return false;
    return std::stoi(std::string(base.substr(dash + 1))) >= today;
}

std::vector<JunkCandidate> listSystemLogs(const std::string& root, const LogClock& clock)
{
    const std::string prefix = rootPrefix(root);
    const HeldFiles held = HeldFiles::read();
    std::vector<JunkCandidate> out;
    addRotatedLogs(prefix, clock, held, out);
    for (const auto& crash : kCrashFolders) {
        FolderFd folder = openBelow(prefix + "/", crash.components);
        if (!folder)
            continue;
        const std::string shown = joined("", crash.components);
        for (const auto& name : entryNames(folder.get())) {
            if (crash.accepts(name) && isListableFile(folder.get(), name, clock, held))
                out.push_back({shown + "/" + name, prefix + shown + "/" + name});
        }
    }
    return out;
}

bool isSystemLogDeletable(const std::string& root, const std::string& path, const LogClock& clock)
{
    const std::string prefix = rootPrefix(root);
    if (!isPlainAbsolutePath(path))
        return false;
    auto inside
        = [&](const std::vector<std::string>& folder) -> std::optional<std::vector<std::string>> {
        const std::string folderPath = joined(prefix, folder);
        if (!isStrictlyInside(path, folderPath))
            return std::nullopt;
        return relativeComponents(std::string_view(path).substr(folderPath.size() + 1));
    };
    // The folders between the log or crash folder and the file are crossed as the walk
    // crosses them: real folders only, no mount point.
    auto checkFile
        = [&](const std::vector<std::string>& folder, const std::vector<std::string>& rest) {
              FolderFd fd = openBelow(prefix + "/", folder);
              for (size_t i = 0; fd && i + 1 < rest.size(); ++i) {
                  if (isMountPoint(fd.get(), rest[i]))
                      return false;
                  fd = openBelow(fd.get(), {rest[i]});
              }
              return fd && isListableFile(fd.get(), rest.back(), clock, HeldFiles::read());
          };
    const std::vector<std::string> logFolder = {"var", "log"};
    if (auto rest = inside(logFolder); rest && !rest->empty())
        return isRotatedLogName(rest->back()) && checkFile(logFolder, *rest);
    for (const auto& crash : kCrashFolders) {
        if (auto rest = inside(crash.components); rest && rest->size() == 1)
            return crash.accepts(rest->back()) && checkFile(crash.components, *rest);
    }
    return false;
}

} // namespace tidvale::linuxdesk

#include "engine/admin/linux/SystemLogRules.h"

#include "engine/fs/FolderFd.h"
#include "engine/fs/MountPoint.h"

#include <algorithm>
#include <cctype>
#include <optional>

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

constexpr time_t kStillWrittenSeconds = 3600;

} // namespace

const std::vector<CrashFolder>& crashFolders()
{
    static const std::vector<CrashFolder> folders = {
        {{"var", "crash"},
            [](std::string_view n) {
                return n.size() > 6 && n.ends_with(".crash") && n.front() != '.';
            }},
        // systemd-coredump writes "core.<comm>.<uid>.<boot>.<pid>.<time>[.zst]"; the
        // one being written is a hidden ".#core…" file.
        {{"var", "lib", "systemd", "coredump"},
            [](std::string_view n) { return n.size() > 5 && n.starts_with("core."); }},
    };
    return folders;
}

std::string joinedPath(const std::string& prefix, const std::vector<std::string>& components)
{
    std::string out = prefix;
    for (const auto& c : components)
        out += "/" + c;
    return out;
}

bool isLiveLog(
    const struct stat& st, std::string_view name, const LogClock& clock, const HeldFiles& held)
{
    return isDatedToday(name, clock.today) || st.st_mtime > clock.now - kStillWrittenSeconds
        || held.holds(st);
}

bool isFinishedFile(
    int folderFd, const std::string& name, const LogClock& clock, const HeldFiles& held)
{
    auto st = entryStatus(folderFd, name);
    return st && S_ISREG(st->st_mode) && !isMountPoint(folderFd, name)
        && !isLiveLog(*st, name, clock, held);
}

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

bool isSystemLogDeletable(const std::string& root, const std::string& path, const LogClock& clock)
{
    const std::string prefix = rootPrefix(root);
    if (!isPlainAbsolutePath(path))
        return false;
    auto inside
        = [&](const std::vector<std::string>& folder) -> std::optional<std::vector<std::string>> {
        const std::string folderPath = joinedPath(prefix, folder);
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
              return fd && isFinishedFile(fd.get(), rest.back(), clock, HeldFiles::read());
          };
    const std::vector<std::string> logFolder = {"var", "log"};
    if (auto rest = inside(logFolder); rest && !rest->empty())
        return isRotatedLogName(rest->back()) && checkFile(logFolder, *rest);
    for (const auto& crash : crashFolders()) {
        if (auto rest = inside(crash.components); rest && rest->size() == 1)
            return crash.accepts(rest->back()) && checkFile(crash.components, *rest);
    }
    return false;
}

} // namespace tidvale::linuxdesk

#include "engine/browsers/linux/FirefoxProfiles.h"

#include "engine/format/TextLines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace tidvale::linuxdesk {
namespace {

// A profiles.ini is a few hundred bytes; anything past this is not one.
constexpr size_t kMaxIniBytes = 1 << 20;

bool isProfileSection(std::string_view section)
{
    if (!section.starts_with("Profile") || section.size() == 7)
        return false;
    return std::all_of(
        section.begin() + 7, section.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

struct Section {
    std::string isRelative;
    std::string path;
    bool hasIsRelative = false;
};

void addProfile(const Section& s, const FirefoxInstall& install, std::vector<FirefoxProfile>& out)
{
    if (s.path.empty())
        return;
    const bool relative = s.hasIsRelative ? s.isRelative == "1" : s.path.front() != '/';
    if (relative) {
        if (s.path.front() == '/')
            return;
        auto parts = relativeComponents(s.path);
        if (!parts || parts->empty())
            return;
        FirefoxProfile p{parts->back(), install.profiles, install.caches};
        for (const auto& part : *parts) {
            p.folder = p.folder.child(part);
            p.cache = p.cache.child(part);
        }
        out.push_back(std::move(p));
        return;
    }
    std::string_view path = s.path;
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    if (!isPlainAbsolutePath(path))
        return;
    const size_t slash = path.rfind('/');
    const std::string name(path.substr(slash + 1));
    const std::string parent = slash == 0 ? "/" : std::string(path.substr(0, slash));
    BelowPath folder{parent, {name}};
    out.push_back({name, folder, folder});
}

} // namespace

std::vector<FirefoxInstall> firefoxInstalls(const DesktopFolders& f)
{
    const BelowPath cacheHome{f.cacheFolder(), {"mozilla", "firefox"}};
    const std::vector<std::string> snap = {"snap", "firefox", "common"};
    const std::vector<std::string> flatpak = {".var", "app", "org.mozilla.firefox"};
    auto under = [&](std::vector<std::string> start, std::initializer_list<const char*> rest) {
        for (const char* c : rest)
            start.emplace_back(c);
        return BelowPath{f.home, std::move(start)};
    };
    return {
        {{f.home, {".mozilla", "firefox"}}, cacheHome},
        {{f.configFolder(), {"mozilla", "firefox"}}, cacheHome},
        {under(snap, {".mozilla", "firefox"}), under(snap, {".cache", "mozilla", "firefox"})},
        {under(flatpak, {".mozilla", "firefox"}), under(flatpak, {"cache", "mozilla", "firefox"})},
        {under(flatpak, {"config", "mozilla", "firefox"}),
            under(flatpak, {"cache", "mozilla", "firefox"})},
    };
}

std::vector<FirefoxProfile> parseProfilesIni(std::string_view text, const FirefoxInstall& install)
{
    std::vector<FirefoxProfile> out;
    Section current;
    bool inProfile = false;
    auto flush = [&] {
        if (inProfile)
            addProfile(current, install, out);
        current = Section();
    };
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = trimmedLine(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            flush();
            const size_t close = line.find(']');
            inProfile
                = close != std::string_view::npos && isProfileSection(line.substr(1, close - 1));
            continue;
        }
        const size_t eq = line.find('=');
        if (!inProfile || eq == std::string_view::npos)
            continue;
        const std::string_view key = trimmedLine(line.substr(0, eq));
        const std::string_view value = trimmedLine(line.substr(eq + 1));
        if (key == "IsRelative") {
            current.isRelative = value;
            current.hasIsRelative = true;
        } else if (key == "Path") {
            current.path = value;
        }
    }
    flush();
    return out;
}

std::vector<FirefoxProfile> firefoxProfiles(const FirefoxInstall& install)
{
    FolderFd folder = install.profiles.open();
    if (!folder)
        return {};
    int fd = ::openat(folder.get(), "profiles.ini", O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    struct stat st { };
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return {};
    }
    std::string text;
    char buf[8192];
    ssize_t n;
    while (text.size() <= kMaxIniBytes && (n = ::read(fd, buf, sizeof buf)) > 0)
        text.append(buf, static_cast<size_t>(n));
    ::close(fd);
    if (text.size() > kMaxIniBytes)
        return {};
    return parseProfilesIni(text, install);
}

} // namespace tidvale::linuxdesk

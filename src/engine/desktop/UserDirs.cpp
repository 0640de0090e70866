#include "engine/desktop/UserDirs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string_view>

namespace tidvale::linuxdesk {
namespace {

constexpr size_t kMaxFileBytes = 64 * 1024;

std::string withoutTrailingSlash(std::string p)
{
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

// A value as the file writes it: `"$HOME/…"` or `"/…"`, one double-quoted shell word.
struct QuotedValue {
    bool fromHome = false;
    std::string text; // what follows `$HOME`, or the whole absolute path
};

// Reads the word as the shell would: a backslash escapes only `$`, backquote, `"` and
// itself and is kept before anything else. Nothing when the word is not closed,
// something other than blanks or a comment follows it, or it holds an expansion
// besides the leading `$HOME` (the format allows none, and none is run here) or a
// NUL byte, which no path can hold.
std::optional<QuotedValue> readQuoted(std::string_view word)
{
    if (word.size() < 2 || word.front() != '"')
        return std::nullopt;
    QuotedValue v;
    size_t i = 1;
    if (word.substr(1, 5) == "$HOME") {
        v.fromHome = true;
        i = 6;
    }
    for (; i < word.size() && word[i] != '"'; ++i) {
        const char c = word[i];
        const char next = i + 1 < word.size() ? word[i + 1] : '\0';
        if (c == '\\' && (next == '$' || next == '`' || next == '"' || next == '\\')) {
            v.text += next;
            ++i;
        } else if (c == '$' || c == '`' || c == '\0') {
            return std::nullopt;
        } else {
            v.text += c;
        }
    }
    if (i >= word.size())
        return std::nullopt;
    const std::string_view rest = word.substr(i + 1);
    const size_t solid = rest.find_first_not_of(" \t\r");
    if (solid != std::string_view::npos && (solid == 0 || rest[solid] != '#'))
        return std::nullopt;
    return v;
}

std::optional<std::string> folderFrom(std::string_view word, const std::string& home)
{
    const auto value = readQuoted(word);
    if (!value)
        return std::nullopt;
    if (!value->fromHome) {
        if (value->text.empty() || value->text.front() != '/')
            return std::nullopt;
        return withoutTrailingSlash(value->text);
    }
    if (!value->text.empty() && value->text.front() != '/')
        return std::nullopt; // `$HOMEWORK` is another variable, not the home
    const std::string path
        = withoutTrailingSlash((home == "/" ? std::string() : home) + value->text);
    if (path.empty() || path == home)
        return std::nullopt; // the desktop's way of saying "no such folder"
    return path;
}

} // namespace

std::vector<std::string> PersonalFolders::inOrder() const
{
    return {downloads, documents, desktop, pictures, videos, music};
}

PersonalFolders parseUserDirs(const std::string& text, const std::string& home)
{
    const std::string base = withoutTrailingSlash(home);
    const std::string sep = base == "/" ? "" : "/";
    const PersonalFolders defaults{base + sep + "Downloads", base + sep + "Documents",
        base + sep + "Desktop", base + sep + "Pictures", base + sep + "Videos",
        base + sep + "Music", base + sep + "Public", base + sep + "Templates"};
    PersonalFolders folders = defaults;
    const std::pair<std::string_view, std::string PersonalFolders::*> keys[] = {
        {"XDG_DOWNLOAD_DIR", &PersonalFolders::downloads},
        {"XDG_DOCUMENTS_DIR", &PersonalFolders::documents},
        {"XDG_DESKTOP_DIR", &PersonalFolders::desktop},
        {"XDG_PICTURES_DIR", &PersonalFolders::pictures},
        {"XDG_VIDEOS_DIR", &PersonalFolders::videos},
        {"XDG_MUSIC_DIR", &PersonalFolders::music},
        {"XDG_PUBLICSHARE_DIR", &PersonalFolders::publicShare},
        {"XDG_TEMPLATES_DIR", &PersonalFolders::templates},
    };
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos || line[start] == '#')
            continue;
        line.remove_prefix(start);
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        for (const auto& [key, field] : keys) {
            if (line.substr(0, eq) != key)
                continue;
            // As when the shell reads the file, the last line for a key wins.
            const auto path = folderFrom(line.substr(eq + 1), base);
            folders.*field = path ? *path : defaults.*field;
        }
    }
    return folders;
}

PersonalFolders personalFolders(const std::string& realHome, const std::string& xdgConfigHome)
{
    const std::string config = !xdgConfigHome.empty() && xdgConfigHome.front() == '/'
        ? withoutTrailingSlash(xdgConfigHome)
        : withoutTrailingSlash(realHome) + "/.config";
    std::string text;
    // Read through a link: configuration files are often links into a dotfiles
    // repository, and reading one changes nothing.
    const int fd = ::open((config + "/user-dirs.dirs").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st { };
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)
            && st.st_size <= static_cast<off_t>(kMaxFileBytes)) {
            char buf[8192];
            ssize_t n = 0;
            while ((n = ::read(fd, buf, sizeof buf)) > 0 && text.size() <= kMaxFileBytes)
                text.append(buf, static_cast<size_t>(n));
        }
        ::close(fd);
    }
    return parseUserDirs(text, realHome);
}

} // namespace tidvale::linuxdesk

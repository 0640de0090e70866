#include "engine/devcaches/CacheMarks.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string_view>
#include <vector>

namespace tidvale {
namespace {

constexpr std::string_view kTagSignature = "Signature: 8a477f597d28d172789f06886806bc55";
constexpr std::string_view kGoReadme = "This directory holds cached build artifacts from the Go";

std::vector<std::string> namesIn(int folderFd)
{
    std::vector<std::string> names;
    const int fd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return names;
    }
    while (dirent* e = ::readdir(dir)) {
        const std::string_view n = e->d_name;
        if (n != "." && n != "..")
            names.emplace_back(n);
    }
    ::closedir(dir);
    return names;
}

// The first bytes of a plain file of the folder, never through a link or a FIFO.
std::string headOf(int folderFd, const char* name, size_t bytes)
{
    const int fd = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat st { };
    std::string head(bytes, '\0');
    ssize_t n = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        n = ::pread(fd, head.data(), bytes, 0);
    ::close(fd);
    head.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return head;
}

bool isFolder(int folderFd, const std::string& path)
{
    struct stat st { };
    return ::fstatat(folderFd, path.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

bool allOf(std::string_view s, int (*pred)(int))
{
    return !s.empty()
        && std::all_of(s.begin(), s.end(), [pred](unsigned char c) { return pred(c) != 0; });
}

bool isLowerHex(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) {
        return std::isdigit(c) || (c >= 'a' && c <= 'f');
    });
}

// "v6", "v10": Yarn's and pnpm's versioned stores.
bool isVersionStore(const std::string& n)
{
    return n.size() > 1 && n[0] == 'v' && allOf(std::string_view(n).substr(1), ::isdigit);
}

// "index.crates.io-6f17d22bba15001f", "serde-1a2b3c4d5e6f7a8b": Cargo names a
// registry or a git checkout by a readable part and a 16-digit hash.
bool isCargoHashed(const std::string& n)
{
    const auto dash = n.rfind('-');
    return dash != std::string::npos && dash > 0 && n.size() - dash - 1 == 16
        && isLowerHex(std::string_view(n).substr(dash + 1));
}

// "18.19.0": node-gyp keeps one folder of headers per Node.js version.
bool isDottedVersion(const std::string& n, int parts)
{
    int seen = 0;
    size_t start = 0;
    while (start <= n.size()) {
        auto dot = n.find('.', start);
        if (dot == std::string::npos)
            dot = n.size();
        if (!allOf(std::string_view(n).substr(start, dot - start), ::isdigit))
            return false;
        ++seen;
        start = dot + 1;
    }
    return parts == 0 ? seen >= 2 : seen == parts;
}

bool isNumbered(const std::string& n, std::string_view prefix)
{
    return n.starts_with(prefix) && allOf(std::string_view(n).substr(prefix.size()), ::isdigit);
}

using Test = std::function<bool(const std::string&)>;

// Every entry is one the tool writes, and at least one is a mark of it.
bool onlyTools(const std::vector<std::string>& names, const Test& belongs, const Test& mark)
{
    return std::all_of(names.begin(), names.end(), belongs)
        && std::any_of(names.begin(), names.end(), mark);
}

bool isOneOf(const std::string& n, std::initializer_list<std::string_view> list)
{
    return std::find(list.begin(), list.end(), n) != list.end();
}

bool hasToolLayout(int fd, CacheLayout layout, const std::vector<std::string>& names)
{
    auto any = [&](const Test& t) { return std::any_of(names.begin(), names.end(), t); };
    switch (layout) {
    case CacheLayout::any:
        return true;
    case CacheLayout::ccache:
        return onlyTools(
            names,
            [](const std::string& n) {
                return (n.size() == 1 && isLowerHex(n))
                    || isOneOf(n, {"tmp", "ccache.conf", "CACHEDIR.TAG", "stats", "lock"});
            },
            [](const std::string& n) {
                return n == "ccache.conf" || (n.size() == 1 && isLowerHex(n));
            });
    case CacheLayout::pip:
        return onlyTools(
            names,
            [](const std::string& n) {
                return isOneOf(n, {"http", "http-v2", "wheels", "selfcheck", "selfcheck.json"});
            },
            [](const std::string& n) {
                return isOneOf(n, {"http", "http-v2", "wheels"});
            });
    case CacheLayout::npm:
        return onlyTools(
            names,
            [](const std::string& n) {
                return isOneOf(n, {"content-v2", "index-v5", "tmp"});
            },
            [](const std::string& n) {
                return isOneOf(n, {"content-v2", "index-v5"});
            });
    case CacheLayout::yarn:
        return onlyTools(
            names, [](const std::string& n) { return isVersionStore(n) || n == ".tmp"; },
            isVersionStore);
    case CacheLayout::pnpm:
        return onlyTools(names, isVersionStore, isVersionStore);
    case CacheLayout::goBuild:
        return onlyTools(
                   names,
                   [](const std::string& n) {
                       return (n.size() == 2 && isLowerHex(n))
                           || isOneOf(n, {"README", "trim.txt", "testexpire.txt"});
                   },
                   [](const std::string& n) { return n == "README" || n == "trim.txt"; })
            && (headOf(fd, "README", kGoReadme.size()) == kGoReadme
                || std::find(names.begin(), names.end(), "README") == names.end());
    case CacheLayout::goModules:
        return isFolder(fd, "cache/download");
    case CacheLayout::cargoRegistry:
    case CacheLayout::cargoGit:
        return onlyTools(names, isCargoHashed, isCargoHashed);
    case CacheLayout::gradle:
        return any([](const std::string& n) {
            return n == "modules-2" || isNumbered(n, "jars-") || isNumbered(n, "transforms-")
                || isNumbered(n, "build-cache-") || isDottedVersion(n, 0);
        });
    case CacheLayout::maven:
        return isFolder(fd, "org/apache/maven");
    case CacheLayout::jetbrains:
        return any([](const std::string& n) {
            // "IntelliJIdea2024.1", "PyCharmCE2023.3", the Toolbox's own folder.
            const auto digit = n.find_first_of("0123456789");
            return n == "Toolbox"
                || (digit != std::string::npos && digit > 0 && isDottedVersion(n.substr(digit), 2));
        });
    case CacheLayout::electron:
        return onlyTools(
            names,
            [](const std::string& n) {
                return (n.starts_with("electron-v") && n.ends_with(".zip"))
                    || n.starts_with("SHASUMS256.txt") || (n.size() == 64 && isLowerHex(n));
            },
            [](const std::string&) { return true; });
    case CacheLayout::nodeGyp:
        return onlyTools(
            names, [](const std::string& n) { return isDottedVersion(n, 3); },
            [](const std::string&) { return true; });
    case CacheLayout::androidImages:
        return onlyTools(
            names, [](const std::string& n) { return n.starts_with("android-"); },
            [](const std::string&) { return true; });
    }
    return false;
}

} // namespace

bool hasCacheLayout(int folderFd, CacheLayout layout)
{
    if (layout == CacheLayout::any)
        return true;
    if (headOf(folderFd, "CACHEDIR.TAG", kTagSignature.size()) == kTagSignature)
        return true;
    auto names = namesIn(folderFd);
    // A tag without the signature, or anything else, says nothing either way.
    std::erase(names, std::string("CACHEDIR.TAG"));
    // An empty folder has nothing to lose, whoever made it.
    return names.empty() || hasToolLayout(folderFd, layout, names);
}

std::string notCacheReason(CacheLayout layout)
{
    const char* tool = "";
    switch (layout) {
    case CacheLayout::any:
        return {};
    case CacheLayout::ccache:
        tool = "ccache";
        break;
    case CacheLayout::pip:
        tool = "pip";
        break;
    case CacheLayout::npm:
        tool = "npm";
        break;
    case CacheLayout::yarn:
        tool = "Yarn";
        break;
    case CacheLayout::pnpm:
        tool = "pnpm";
        break;
    case CacheLayout::goBuild:
    case CacheLayout::goModules:
        tool = "Go";
        break;
    case CacheLayout::cargoRegistry:
    case CacheLayout::cargoGit:
        tool = "Cargo";
        break;
    case CacheLayout::gradle:
        tool = "Gradle";
        break;
    case CacheLayout::maven:
        tool = "Maven";
        break;
    case CacheLayout::jetbrains:
        tool = "los IDE de JetBrains";
        break;
    case CacheLayout::electron:
        tool = "Electron";
        break;
    case CacheLayout::nodeGyp:
        tool = "node-gyp";
        break;
    case CacheLayout::androidImages:
        tool = "Android";
        break;
    }
    return std::string("No parece la caché de ") + tool + ": no se elimina";
}

} // namespace tidvale

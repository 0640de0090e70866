#include "engine/apps/linux/AppImageFiles.h"

#include "engine/fs/FolderFd.h"
#include "engine/fs/FolderGuard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace tidvale::linuxdesk {
namespace {

bool hasAppImageName(std::string_view path)
{
    constexpr std::string_view suffix = ".appimage";
    if (path.size() <= suffix.size())
        return false;
    const std::string_view tail = path.substr(path.size() - suffix.size());
    return std::equal(tail.begin(), tail.end(), suffix.begin(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

bool inSystemFolder(std::string_view path, const std::string& root)
{
    if (!root.empty() && path.starts_with(root + "/"))
        path.remove_prefix(root.size());
    for (std::string_view folder : {"/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32",
             "/etc", "/var", "/opt", "/snap", "/boot", "/srv", "/run", "/proc", "/sys", "/dev"}) {
        if (path.starts_with(folder) && path.size() > folder.size() && path[folder.size()] == '/')
            return true;
    }
    return false;
}

// An ELF file with "AI" and the format's version (1 or 2) at offset 8, as the AppImage
// runtime marks itself.
bool hasAppImageSignature(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::array<unsigned char, 11> head{};
    const ssize_t n = ::pread(fd, head.data(), head.size(), 0);
    ::close(fd);
    return n == static_cast<ssize_t>(head.size()) && head[0] == 0x7f && head[1] == 'E'
        && head[2] == 'L' && head[3] == 'F' && head[8] == 'A' && head[9] == 'I'
        && (head[10] == 1 || head[10] == 2);
}

} // namespace

std::optional<AppImageFile> appImageAt(
    const std::string& program, const std::string& home, uid_t uid, const std::string& root)
{
    if (program.empty() || program.front() != '/')
        return std::nullopt;
    struct stat st { };
    if (::lstat(program.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    // Where the file really is decides, not how the entry spells it:
    // "/home/../usr/bin/x.AppImage" is a system file.
    const std::string real = resolvedEntry(program).value_or(program);
    const bool system = inSystemFolder(real, root) || inSystemFolder(program, root)
        || (!isStrictlyInside(real, home) && st.st_uid != uid);
    if (!hasAppImageName(program)
        && (system || (st.st_mode & 0111) == 0 || !hasAppImageSignature(program)))
        return std::nullopt;
    return AppImageFile{program, ListedStamp::of(st), system};
}

} // namespace tidvale::linuxdesk

#include "engine/fs/FolderFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace tidvale {

FolderFd::FolderFd(FolderFd&& other) noexcept
    : fd_(std::exchange(other.fd_, -1))
{
}

FolderFd& FolderFd::operator=(FolderFd&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FolderFd::~FolderFd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

FolderFd openGivenFolder(const std::string& path)
{
    if (path.empty())
        return FolderFd();
    return FolderFd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

FolderFd openBelow(int base, const std::vector<std::string>& components)
{
    FolderFd current(::fcntl(base, F_DUPFD_CLOEXEC, 0));
    for (const auto& part : components) {
        if (!current || part.empty() || part == "." || part == ".."
            || part.find('/') != std::string::npos)
            return FolderFd();
        current = FolderFd(
            ::openat(current.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    return current;
}

FolderFd openBelow(const std::string& base, const std::vector<std::string>& components)
{
    FolderFd top = openGivenFolder(base);
    return top ? openBelow(top.get(), components) : FolderFd();
}

std::string BelowPath::path() const
{
    std::string out = base;
    for (const auto& c : components)
        out += "/" + c;
    return out;
}

BelowPath BelowPath::child(const std::string& name) const
{
    BelowPath out = *this;
    out.components.push_back(name);
    return out;
}

int openFolderNoFollow(const std::string& path)
{
    return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

int openFolderNoFollowAt(int dirFd, const std::string& name)
{
    return ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

std::optional<std::string> readPlainFileAt(int dirFd, const std::string& name, size_t maxBytes)
{
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st { };
    std::optional<std::string> text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)
        && static_cast<size_t>(st.st_size) <= maxBytes) {
        text.emplace();
        char buf[8192];
        ssize_t n = 0;
        while ((n = ::read(fd, buf, sizeof buf)) > 0 && text->size() <= maxBytes)
            text->append(buf, static_cast<size_t>(n));
        if (n < 0 || text->size() > maxBytes)
            text.reset();
    }
    ::close(fd);
    return text;
}

std::vector<std::string> entryNames(int folderFd)
{
    std::vector<std::string> names;
    int fd = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return names;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return names;
    }
    ::rewinddir(dir); // the duplicate shares its position with the caller's descriptor
    while (dirent* e = ::readdir(dir)) {
        std::string_view name(e->d_name);
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

std::optional<struct stat> entryStatus(int folderFd, const std::string& name)
{
    struct stat st { };
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return st;
}

std::optional<std::vector<std::string>> relativeComponents(std::string_view relative)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string_view::npos)
            end = relative.size();
        std::string_view part = relative.substr(start, end - start);
        start = end + 1;
        if (part == "..")
            return std::nullopt;
        if (!part.empty() && part != ".")
            parts.emplace_back(part);
    }
    return parts;
}

bool isPlainAbsolutePath(std::string_view path)
{
    if (path.size() < 2 || path.front() != '/' || path.back() == '/')
        return false;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

bool isStrictlyInside(std::string_view path, std::string_view folder)
{
    return path.size() > folder.size() + 1 && path.starts_with(folder)
        && path[folder.size()] == '/';
}

std::string rootPrefix(std::string_view root)
{
    while (!root.empty() && root.back() == '/')
        root.remove_suffix(1);
    return std::string(root);
}

} // namespace tidvale

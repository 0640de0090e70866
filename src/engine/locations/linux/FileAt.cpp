#include "engine/locations/linux/FileAt.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tidvale::linuxdesk {

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

std::vector<std::string> folderEntryNames(int dirFd)
{
    std::vector<std::string> names;
    const int fd = ::dup(dirFd);
    if (fd < 0)
        return names;
    DIR* d = ::fdopendir(fd);
    if (!d) {
        ::close(fd);
        return names;
    }
    ::rewinddir(d);
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..")
            names.push_back(n);
    }
    ::closedir(d);
    return names;
}

} // namespace tidvale::linuxdesk

#include "engine/junk/linux/DirectorySizes.h"

#include "engine/fs/FolderFd.h"
#include "engine/fs/SafeRemove.h"
#include "engine/junk/linux/TrashInfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tidvale::linuxdesk {
namespace {

constexpr size_t kMaxCacheBytes = 64u << 20;

// Whether one line (without its line break) is the entry of `name`.
bool namesEntry(const std::string& line, const std::string& name)
{
    const size_t first = line.find(' ');
    const size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
    if (second == std::string::npos)
        return false;
    const auto decoded = percentDecode(std::string_view(line).substr(second + 1));
    return decoded && *decoded == name;
}

bool writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes `text` to a new file beside the cache and renames it over the cache.
int replaceCache(int dirFd, const std::string& trashFolder, const std::string& text, mode_t mode)
{
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        tmp = "directorysizes.tidvale-" + std::to_string(::getpid()) + "-"
            + std::to_string(attempt);
        fd = ::openat(
            dirFd, tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    int err = 0;
    errno = 0;
    if (::fchmod(fd, mode & 07777) != 0 || !writeAll(fd, text) || ::fsync(fd) != 0)
        err = errno ? errno : EIO;
    if (::close(fd) != 0 && !err)
        err = errno;
    if (!err && ::renameat(dirFd, tmp.c_str(), dirFd, "directorysizes") != 0)
        err = errno;
    if (err)
        removeItem(trashFolder + "/" + tmp);
    return err;
}

} // namespace

int dropDirectorySizesLine(const std::string& trashFolder, const std::string& name)
{
    const int dirFd = openFolderNoFollow(trashFolder);
    if (dirFd < 0)
        return errno == ENOENT ? 0 : errno;
    struct stat st { };
    const auto text = readPlainFileAt(dirFd, "directorysizes", kMaxCacheBytes);
    if (!text || ::fstatat(dirFd, "directorysizes", &st, AT_SYMLINK_NOFOLLOW) != 0) {
        ::close(dirFd);
        return 0;
    }
    std::string kept;
    kept.reserve(text->size());
    bool dropped = false;
    for (size_t start = 0; start < text->size();) {
        size_t end = text->find('\n', start);
        end = end == std::string::npos ? text->size() : end + 1;
        std::string line = text->substr(start, end - start);
        const std::string bare
            = !line.empty() && line.back() == '\n' ? line.substr(0, line.size() - 1) : line;
        if (namesEntry(bare, name))
            dropped = true;
        else
            kept += line;
        start = end;
    }
    const int err = dropped ? replaceCache(dirFd, trashFolder, kept, st.st_mode) : 0;
    ::close(dirFd);
    return err;
}

} // namespace tidvale::linuxdesk

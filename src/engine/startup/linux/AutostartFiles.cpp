#include "engine/startup/linux/AutostartFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tidvale::linuxdesk {
namespace {

constexpr std::string_view kSuffix = ".desktop";
// Desktop entries are a few hundred bytes; a larger file is no entry to copy.
constexpr size_t kMaxEntryBytes = 1u << 20;

} // namespace

bool isEntryName(std::string_view name)
{
    return name.size() >= kSuffix.size() && name.substr(name.size() - kSuffix.size()) == kSuffix;
}

std::string entryStem(const std::string& fileName)
{
    const std::string stem = fileName.substr(0, fileName.size() - kSuffix.size());
    return stem.empty() ? fileName : stem;
}

FileKind kindAt(int dirFd, const std::string& name)
{
    struct stat st { };
    if (fstatat(dirFd, name.c_str(), &st, 0) != 0)
        return FileKind::ignored;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return FileKind::masked;
    return S_ISREG(st.st_mode) ? FileKind::file : FileKind::ignored;
}

std::optional<std::string> readEntryAt(int dirFd, const std::string& name)
{
    const int fd = openat(dirFd, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat st { };
    std::optional<std::string> text;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)
        && static_cast<size_t>(st.st_size) <= kMaxEntryBytes) {
        text.emplace();
        char buf[8192];
        ssize_t n;
        while ((n = read(fd, buf, sizeof buf)) > 0 && text->size() <= kMaxEntryBytes)
            text->append(buf, static_cast<size_t>(n));
        if (n < 0 || text->size() > kMaxEntryBytes)
            text.reset();
    }
    close(fd);
    return text;
}

} // namespace tidvale::linuxdesk

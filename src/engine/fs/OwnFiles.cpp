#include "engine/fs/OwnFiles.h"

#include "engine/fs/FolderGuard.h"
#include "engine/fs/SafeRemove.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace tidvale {
namespace {

class Fd {
public:
    explicit Fd(int fd = -1)
        : fd_(fd)
    {
    }
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& other) noexcept
        : fd_(other.fd_)
    {
        other.fd_ = -1;
    }
    Fd& operator=(Fd&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::string whyNotWritten(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "porque no tienes permiso para escribir allí.";
    case EROFS:
        return "porque el volumen es de solo lectura.";
    case ENOSPC:
        return "porque no queda espacio en el disco.";
    case EDQUOT:
        return "porque se ha superado la cuota de disco.";
    case ELOOP:
    case ENOTDIR:
        return "porque una parte de su ruta es un enlace o no es una carpeta.";
    case EIO:
        return "porque se produjo un error de lectura o escritura en el disco.";
    case ENAMETOOLONG:
        return "porque su nombre es demasiado largo.";
    default:
        return "por un error del sistema (código " + std::to_string(error) + ").";
    }
}

namespace {

std::string cannotSave(const std::string& path, int error)
{
    return "No se pudo guardar “" + path + "” " + whyNotWritten(error);
}

// Opens `folder`, making what is missing. The part that exists is resolved first (the
// user's ~/.config may well be a link to elsewhere); from "/" on, each component is
// entered with O_NOFOLLOW, so a link swapped in after that is never followed.
Fd openFolder(const std::string& folder, bool create, int& error)
{
    const auto resolved = resolvedPath(folder);
    if (!resolved) {
        error = EINVAL;
        return Fd();
    }
    Fd fd(::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    size_t start = 1;
    while (fd.get() >= 0 && start < resolved->size()) {
        const size_t slash = resolved->find('/', start);
        const std::string name = resolved->substr(start, slash - start);
        start = slash == std::string::npos ? resolved->size() : slash + 1;
        if (name.empty())
            continue;
        const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int next = ::openat(fd.get(), name.c_str(), flags);
        if (next < 0 && errno == ENOENT && create) {
            if (::mkdirat(fd.get(), name.c_str(), 0700) != 0 && errno != EEXIST) {
                error = errno;
                return Fd();
            }
            next = ::openat(fd.get(), name.c_str(), flags);
        }
        if (next < 0) {
            error = errno;
            return Fd();
        }
        fd = Fd(next);
    }
    if (fd.get() < 0)
        error = errno;
    return fd;
}

std::string temporaryName(const std::string& name)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return "." + name + "." + std::to_string(random() % 1000000000) + ".tmp";
}

bool writeAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        content.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Opens (and makes) the folder a file of Tidvale's at `path` goes in; the reason when
// it cannot be opened or is not the user's own.
std::optional<std::string> openOwnFolder(
    const std::string& folder, const std::string& path, Fd& dir)
{
    int error = 0;
    dir = openFolder(folder, true, error);
    if (dir.get() < 0)
        return cannotSave(path, error);
    struct stat st { };
    if (::fstat(dir.get(), &st) != 0 || st.st_uid != ::geteuid())
        return "No se guarda “" + path + "”: su carpeta no es tuya.";
    return std::nullopt;
}

} // namespace

std::optional<std::string> writeOwnFile(
    const std::string& folder, const std::string& name, std::string_view content)
{
    const std::string path = folder + "/" + name;
    int error = 0;
    Fd dir;
    if (auto refusal = openOwnFolder(folder, path, dir))
        return refusal;
    struct stat st { };
    // A link there is the user's (a dotfile kept elsewhere): replacing it with a file
    // would quietly cut it, writing through it would leave the folder.
    if (::fstatat(dir.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode))
        return "No se guarda “" + path + "”: es un enlace o no es un archivo normal.";

    std::string temporary;
    Fd file;
    for (int attempt = 0; attempt < 8 && file.get() < 0; ++attempt) {
        temporary = temporaryName(name);
        file = Fd(::openat(dir.get(), temporary.c_str(),
            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (file.get() < 0 && errno != EEXIST)
            break;
    }
    if (file.get() < 0)
        return cannotSave(path, errno);
    const bool written = writeAll(file.get(), content) && ::fsync(file.get()) == 0;
    error = errno;
    if (!written || ::renameat(dir.get(), temporary.c_str(), dir.get(), name.c_str()) != 0) {
        error = written ? errno : error;
        removeItemAt(dir.get(), temporary, folder + "/" + temporary);
        return cannotSave(path, error);
    }
    // The rename itself is kept only once the folder is synced.
    ::fsync(dir.get());
    return std::nullopt;
}

std::optional<std::string> appendOwnLine(
    const std::string& folder, const std::string& name, std::string_view line)
{
    const std::string path = folder + "/" + name;
    int error = 0;
    Fd dir;
    if (auto refusal = openOwnFolder(folder, path, dir))
        return refusal;
    struct stat st { };
    const Fd file(::openat(dir.get(), name.c_str(),
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (file.get() < 0)
        return errno == ELOOP ? "No se guarda “" + path + "”: es un enlace."
                              : cannotSave(path, errno);
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return "No se guarda “" + path + "”: no es un archivo normal.";
    ::flock(file.get(), LOCK_EX);
    std::string whole(line);
    char last = '\n';
    if (::fstat(file.get(), &st) == 0 && st.st_size > 0) {
        const Fd reader(::openat(dir.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (reader.get() >= 0 && ::pread(reader.get(), &last, 1, st.st_size - 1) == 1
            && last != '\n')
            whole.insert(whole.begin(), '\n');
    }
    const bool written = writeAll(file.get(), whole) && ::fdatasync(file.get()) == 0;
    error = errno;
    ::flock(file.get(), LOCK_UN);
    return written ? std::nullopt : std::optional(cannotSave(path, error));
}

std::optional<std::string> removeOwnFile(const std::string& folder, const std::string& name)
{
    const std::string path = folder + "/" + name;
    int error = 0;
    const Fd dir = openFolder(folder, false, error);
    if (dir.get() < 0)
        return error == ENOENT ? std::nullopt : std::optional(describeRemoveError(error, path));
    struct stat st { };
    if (::fstatat(dir.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? std::nullopt : std::optional(describeRemoveError(errno, path));
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        return "No se elimina “" + path + "”: no es un archivo.";
    const RemoveOutcome outcome = removeItemAt(dir.get(), name, path);
    if (!outcome.ok() && outcome.error != ENOENT)
        return describeRemoveError(outcome.error, path);
    return std::nullopt;
}

OwnFileText readOwnFile(const std::string& path, size_t maxBytes)
{
    OwnFileText result;
    // O_NONBLOCK: a FIFO put in the file's place must not hold the reader.
    const Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno != ENOENT) {
            result.exists = true;
            result.error = "No se pudo leer “" + path + "” (error del sistema "
                + std::to_string(errno) + ").";
        }
        return result;
    }
    result.exists = true;
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)
        || static_cast<size_t>(st.st_size) > maxBytes) {
        result.error = "“" + path + "” no es un archivo normal de menos de "
            + std::to_string(maxBytes / 1024) + " KB.";
        return result;
    }
    char buffer[8192];
    for (ssize_t n; (n = ::read(fd.get(), buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || result.text.size() + static_cast<size_t>(n) > maxBytes) {
            result.error = "No se pudo leer “" + path + "” entero.";
            return result;
        }
        result.text.append(buffer, static_cast<size_t>(n));
    }
    return result;
}

} // namespace tidvale

#include "engine/startup/linux/Autostart.h"

#include "engine/desktop/DesktopEntry.h"
#include "engine/fs/FolderFd.h"
#include "engine/fs/OwnFiles.h"
#include "engine/startup/linux/AutostartFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace tidvale::linuxdesk {
namespace {

// Why writing failed, to follow "No se ha podido desactivar “x” ": the autostart
// folder's own cases, then those of any write.
std::string reasonFor(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "porque no tienes permiso para escribir en tu carpeta de inicio.";
    case EISDIR:
        return "porque en tu carpeta de inicio hay una carpeta con ese nombre.";
    case ENOTDIR:
    case ENOENT:
        return "porque tu carpeta de inicio no se puede crear.";
    default:
        return whyNotWritten(error);
    }
}

std::string failure(
    const std::string& fileName, const std::string& reason, const char* verb = "desactivar")
{
    return std::string("No se ha podido ") + verb + " \u201c" + fileName + "\u201d " + reason;
}

std::string escapedValue(std::string_view value)
{
    std::string out;
    for (char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

// Creates the user's autostart folder (and its config folder) as the XDG rules ask:
// private to the user.
FolderFd openOrCreate(const std::string& folder)
{
    if (FolderFd fd = openGivenFolder(folder))
        return fd;
    const std::string parent = folder.substr(0, folder.rfind('/'));
    if (!parent.empty())
        mkdir(parent.c_str(), 0700);
    mkdir(folder.c_str(), 0700);
    return openGivenFolder(folder);
}

bool isUnder(const std::string& path, const std::string& folder)
{
    return path == folder || path.starts_with(folder + "/");
}

// A user folder that is, through links, a machine folder would make the override
// an edit of the machine's entries.
bool isMachineFolder(int fd, const std::string& folder, const AutostartFolders& folders)
{
    struct stat own { };
    if (fstat(fd, &own) != 0)
        return true;
    for (const auto& system : folders.system) {
        struct stat st { };
        if (stat(system.c_str(), &st) == 0 && st.st_dev == own.st_dev && st.st_ino == own.st_ino)
            return true;
    }
    char real[PATH_MAX];
    if (!realpath(folder.c_str(), real))
        return true;
    return isUnder(real, "/etc") || isUnder(real, "/usr");
}

// Replaces `name` in the folder with `text` in one step: a reader sees the old file or
// the new one, and a link at `name` is replaced, not followed.
int replaceAtomically(int dirFd, const std::string& name, const std::string& text, mode_t mode)
{
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = ".tidvale-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
        fd = openat(
            dirFd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    int error = 0;
    for (size_t done = 0; done < text.size() && error == 0;) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (errno != EINTR)
            error = errno;
    }
    if (error == 0 && (fchmod(fd, mode) != 0 || fsync(fd) != 0))
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && renameat(dirFd, temp.c_str(), dirFd, name.c_str()) != 0)
        error = errno;
    if (error != 0)
        unlinkat(dirFd, temp.c_str(), 0);
    else
        fsync(dirFd);
    return error;
}

// The entry hideAutostartEntry writes in place of a machine entry it could read, or
// of one it could not.
std::string hiddenCopyOf(const std::string& fileName, const std::optional<std::string>& system)
{
    return system ? withDesktopEntryKey(*system, "Hidden", "true")
                  : "[Desktop Entry]\nType=Application\nName=" + escapedValue(entryStem(fileName))
            + "\nHidden=true\n";
}

} // namespace

std::string showAutostartEntry(
    const AutostartFolders& folders, const std::string& fileName, const std::string& systemEntry)
{
    if (!isEntryName(fileName) || fileName.find('/') != std::string::npos)
        return failure(fileName, "porque no es un elemento de inicio.", "activar");
    const FolderFd folder = openGivenFolder(folders.user);
    if (!folder)
        return failure(fileName, reasonFor(errno), "activar");
    if (isMachineFolder(folder.get(), folders.user, folders))
        return failure(
            fileName, "porque tu carpeta de inicio es una carpeta del sistema.", "activar");
    const auto own = entryStatus(folder.get(), fileName);
    if (!own || !S_ISREG(own->st_mode))
        return failure(fileName, "porque ya no está en tu carpeta de inicio.", "activar");
    const auto text = readEntryAt(folder.get(), fileName);
    if (!text)
        return failure(fileName, "porque no se puede leer.", "activar");
    if (!systemEntry.empty()
        && *text == hiddenCopyOf(fileName, readEntryAt(AT_FDCWD, systemEntry))) {
        // Only the copy this program made goes: the machine's entry starts again.
        if (unlinkat(folder.get(), fileName.c_str(), 0) != 0)
            return failure(fileName, reasonFor(errno), "activar");
        return {};
    }
    std::string shown = withDesktopEntryKey(*text, "Hidden", "false");
    if (const auto parsed = DesktopEntry::parse(shown);
        parsed && parsed->string("X-GNOME-Autostart-enabled") == "false")
        shown = withDesktopEntryKey(shown, "X-GNOME-Autostart-enabled", "true");
    if (const int error = replaceAtomically(folder.get(), fileName, shown, own->st_mode & 07777))
        return failure(fileName, reasonFor(error), "activar");
    return {};
}

std::string hideAutostartEntry(
    const AutostartFolders& folders, const std::string& fileName, const std::string& systemEntry)
{
    if (!isEntryName(fileName) || fileName.find('/') != std::string::npos)
        return failure(fileName, "porque no es un elemento de inicio.");
    const FolderFd folder = openOrCreate(folders.user);
    if (!folder)
        return failure(fileName, reasonFor(errno));
    if (isMachineFolder(folder.get(), folders.user, folders))
        return failure(fileName, "porque tu carpeta de inicio es una carpeta del sistema.");

    std::optional<std::string> text;
    mode_t mode = 0644;
    if (const auto own = entryStatus(folder.get(), fileName)) {
        // The user's own file: Hidden=true goes into it. A link in its place only
        // pointed at an entry; the file written replaces the link.
        if (S_ISREG(own->st_mode)) {
            mode = own->st_mode & 07777;
            text = readEntryAt(folder.get(), fileName);
            if (!text)
                return failure(fileName, "porque no se puede leer.");
        } else if (S_ISLNK(own->st_mode)) {
            if (kindAt(folder.get(), fileName) == FileKind::file)
                text = readEntryAt(folder.get(), fileName);
        } else {
            return failure(fileName, reasonFor(S_ISDIR(own->st_mode) ? EISDIR : EEXIST));
        }
    } else if (!systemEntry.empty()) {
        text = readEntryAt(AT_FDCWD, systemEntry);
    }
    const std::string hidden = hiddenCopyOf(fileName, text);
    if (const int error = replaceAtomically(folder.get(), fileName, hidden, mode))
        return failure(fileName, reasonFor(error));
    return {};
}

} // namespace tidvale::linuxdesk

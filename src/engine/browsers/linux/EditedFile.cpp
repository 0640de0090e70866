#include "engine/browsers/linux/EditedFile.h"

#include "engine/fs/PathText.h"
#include "engine/fs/SafeRemove.h"
#include "platform/Trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tidvale::linuxdesk {
namespace {

std::string workingTemplate(const std::string& path)
{
    return parentFolder(path) + "/.tidvale-" + lastPathComponent(path) + "-XXXXXX";
}

int64_t sizeOf(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, ec))) {
        int64_t total = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ec))
            if (entry.is_regular_file(ec))
                total += static_cast<int64_t>(entry.file_size(ec));
        return total;
    }
    struct stat st { };
    return lstat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
}

} // namespace

std::string newWorkingFile(const std::string& path)
{
    std::string name = workingTemplate(path);
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return "";
    close(fd);
    return name;
}

std::string newWorkingFolder(const std::string& path)
{
    std::string name = workingTemplate(path);
    return mkdtemp(name.data()) ? name : "";
}

std::optional<std::string> copyTree(const std::string& from, const std::string& to)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(from, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        const fs::path target = fs::path(to) / fs::relative(it->path(), from, ec);
        const auto status = it->symlink_status(ec);
        if (fs::is_directory(status))
            fs::create_directory(target, ec);
        else if (fs::is_regular_file(status))
            fs::copy_file(it->path(), target, ec);
        if (ec)
            break;
    }
    if (ec)
        return "no se pudo copiar “" + from + "”: " + ec.message();
    return std::nullopt;
}

void dropWorking(const std::string& working)
{
    if (!working.empty())
        removeItem(working);
}

RemovalOutcome leftAlone(const ScanItem& item, RemovalStatus status, std::string message)
{
    return {item.path, item.path, item.size, status, std::move(message), 0, {}, false};
}

RemovalOutcome replaceWithEdited(
    const Context& context, const ScanItem& item, const std::string& working, int64_t sizeBefore)
{
    struct stat original { };
    if (lstat(item.path.c_str(), &original) != 0) {
        dropWorking(working);
        return leftAlone(item, RemovalStatus::changed, {});
    }
    const bool folder = S_ISDIR(original.st_mode);
    std::string trashedFrom = item.path;
    std::string linkFolder;
    if (!folder) {
        // The working copy is written by us (mode 0600): it takes the original's mode,
        // so the browser reads it as it read its own.
        chmod(working.c_str(), original.st_mode & 07777);
        // A second name for the original goes to the Trash, so that the original
        // keeps its place until the one rename that replaces it.
        linkFolder = newWorkingFolder(item.path);
        trashedFrom = linkFolder + "/" + lastPathComponent(item.path);
        if (linkFolder.empty() || link(item.path.c_str(), trashedFrom.c_str()) != 0) {
            const std::string why = std::strerror(errno);
            dropWorking(linkFolder);
            dropWorking(working);
            return leftAlone(item, RemovalStatus::failed,
                "No se pudo guardar una copia de “" + item.path + "”: " + why);
        }
    }
    const platform::TrashResult moved = context.backends.trash
        ? context.backends.trash->moveToTrash(trashedFrom)
        : platform::TrashResult{false, "no hay Papelera", {}};
    if (!moved.ok) {
        dropWorking(linkFolder);
        dropWorking(working);
        return leftAlone(item, RemovalStatus::failed,
            "No se pudo poner una copia de “" + item.path + "” en la Papelera: " + moved.error
                + ". Se deja como estaba.");
    }
    if (!linkFolder.empty())
        rmdir(linkFolder.c_str());
    if (rename(working.c_str(), item.path.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        dropWorking(working);
        return leftAlone(item, RemovalStatus::failed,
            "No se pudo sustituir “" + item.path + "” (" + why + "); el original está en "
                + moved.trashedAs);
    }
    RemovalOutcome outcome{
        item.path, item.path, item.size, RemovalStatus::gone, {}, 0, moved.trashedAs, true};
    outcome.freed = std::max<int64_t>(0, sizeBefore - sizeOf(item.path));
    return outcome;
}

} // namespace tidvale::linuxdesk

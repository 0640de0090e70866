#include "engine/browsers/linux/RecentDocuments.h"

#include "engine/browsers/linux/EditedFile.h"
#include "engine/fs/FolderFd.h"
#include "engine/fs/SafeRemove.h"

#include <sys/stat.h>

#include <fstream>

namespace tidvale::linuxdesk {

RemovalOutcome emptyRecentList(const Context& context, const ScanItem& item)
{
    static constexpr std::string_view kEmpty
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<xbel version=\"1.0\"\n"
          "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
          "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
          "></xbel>\n";
    struct stat st { };
    if (lstat(item.path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return leftAlone(item, RemovalStatus::changed, {});
    const std::string working = newWorkingFile(item.path);
    std::ofstream out(working, std::ios::binary | std::ios::trunc);
    out << kEmpty;
    out.close();
    if (working.empty() || !out) {
        dropWorking(working);
        return leftAlone(item, RemovalStatus::failed, "No se pudo vaciar “" + item.path + "”.");
    }
    return replaceWithEdited(context, item, working, static_cast<int64_t>(st.st_size));
}

RemovalOutcome emptyFolder(const ScanItem& item)
{
    FolderFd folder(openFolderNoFollow(item.path));
    if (!folder)
        return leftAlone(item, RemovalStatus::changed, {});
    RemovalOutcome outcome{item.path, item.path, item.size, RemovalStatus::gone, {}, 0, {}, false};
    for (const auto& name : entryNames(folder.get())) {
        addRemoved(outcome, removeItemAt(folder.get(), name, item.path + "/" + name));
    }
    return outcome;
}

} // namespace tidvale::linuxdesk

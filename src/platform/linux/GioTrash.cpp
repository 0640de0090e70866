#include "platform/Trash.h"

#include <gio/gio.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <vector>

namespace tidvale::platform {
namespace {

std::string decodedPath(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The `Path=` a `.trashinfo` records, decoded; "" when it has none or it is not
// readable as one.
std::string recordedPath(const std::string& infoFile)
{
    std::ifstream in(infoFile);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("Path=", 0) == 0) {
            try {
                return decodedPath(line.substr(5));
            } catch (const std::exception&) {
                return {};
            }
        }
    return {};
}

// The trash folders an item at `path` may land in: the home's, and those at the top
// of the volume that holds it, as GIO chooses between them.
std::vector<std::string> trashFoldersFor(const std::string& path)
{
    std::vector<std::string> folders{std::string(g_get_user_data_dir()) + "/Trash"};
    std::string top = path.substr(0, path.find_last_of('/'));
    struct stat st { };
    if (lstat(path.c_str(), &st) != 0)
        return folders;
    const dev_t device = st.st_dev;
    while (!top.empty()) {
        const std::string up = top.substr(0, top.find_last_of('/'));
        struct stat upSt { };
        if (stat(up.empty() ? "/" : up.c_str(), &upSt) != 0 || upSt.st_dev != device)
            break;
        top = up;
    }
    const std::string uid = std::to_string(getuid());
    folders.push_back(top + "/.Trash/" + uid);
    folders.push_back(top + "/.Trash-" + uid);
    return folders;
}

std::set<std::string> infoNames(const std::string& folder)
{
    std::set<std::string> names;
    if (DIR* dir = opendir((folder + "/info").c_str())) {
        while (const dirent* entry = readdir(dir))
            names.insert(entry->d_name);
        closedir(dir);
    }
    return names;
}

// Where the item that was at `path` landed: the `files/` entry whose `.trashinfo`
// appeared with the move and records `path` (or its part below a volume's top).
std::string landedEntry(const std::string& path, const std::vector<std::string>& folders,
    const std::vector<std::set<std::string>>& before)
{
    for (size_t i = 0; i < folders.size(); ++i) {
        for (const auto& name : infoNames(folders[i])) {
            static const std::string kSuffix = ".trashinfo";
            if (before[i].count(name) || name.size() <= kSuffix.size()
                || name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
                continue;
            const std::string recorded = recordedPath(folders[i] + "/info/" + name);
            const bool matches = recorded == path
                || (!recorded.empty() && recorded[0] != '/' && path.size() > recorded.size()
                    && path.compare(path.size() - recorded.size(), recorded.size(), recorded) == 0);
            if (matches)
                return folders[i] + "/files/" + name.substr(0, name.size() - kSuffix.size());
        }
    }
    return {};
}

// GIO implements the freedesktop.org Trash standard with the checks the
// standard asks for (escaped Path= lines, a sticky and non-linked .Trash on
// other volumes, a .Trash-$uid owned by the user) and fails instead of guessing.
// It does not say where the item went, so the info files that appeared with the
// move are looked up afterwards: that is what an undo puts back.
class GioTrash final : public Trash {
public:
    TrashResult moveToTrash(const std::string& path) override
    {
        const auto folders = trashFoldersFor(path);
        std::vector<std::set<std::string>> before;
        for (const auto& folder : folders)
            before.push_back(infoNames(folder));
        GFile* file = g_file_new_for_path(path.c_str());
        GError* error = nullptr;
        const gboolean ok = g_file_trash(file, nullptr, &error);
        g_object_unref(file);
        TrashResult result;
        result.ok = ok;
        if (!ok) {
            result.error
                = error && error->message ? error->message : "No se pudo mover a la Papelera.";
        } else {
            result.trashedAs = landedEntry(path, folders, before);
        }
        if (error)
            g_error_free(error);
        return result;
    }
};

} // namespace

std::shared_ptr<Trash> systemTrash()
{
    return std::make_shared<GioTrash>();
}

} // namespace tidvale::platform

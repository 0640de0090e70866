#include "engine/apps/linux/FlatpakApps.h"

#include "engine/fs/FolderFd.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace tidvale::linuxdesk {
namespace {

constexpr size_t kMaxMetainfo = size_t(4) << 20;

bool isValidId(const std::string& id)
{
    return !id.empty() && id != "." && id != ".." && id.find('/') == std::string::npos;
}

std::optional<std::string> realPath(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return std::nullopt;
    std::string out(resolved);
    std::free(resolved);
    return out;
}

// The value of `attribute` inside the tag that starts at `tag` (up to its '>').
std::string attributeValue(std::string_view tag, std::string_view attribute)
{
    tag = tag.substr(0, tag.find('>'));
    for (size_t at = tag.find(attribute); at != std::string_view::npos;
         at = tag.find(attribute, at + 1)) {
        const bool wordStart = at > 0
            && (tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '\n'
                || tag[at - 1] == '\r');
        size_t i = at + attribute.size();
        while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t'))
            ++i;
        if (!wordStart || i >= tag.size() || tag[i] != '=')
            continue;
        ++i;
        while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t'))
            ++i;
        if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\''))
            continue;
        const size_t close = tag.find(tag[i], i + 1);
        if (close != std::string_view::npos)
            return std::string(tag.substr(i + 1, close - i - 1));
    }
    return {};
}

} // namespace

std::string firstReleaseVersion(std::string_view metainfo)
{
    for (size_t at = metainfo.find("<release"); at != std::string_view::npos;
         at = metainfo.find("<release", at + 1)) {
        const size_t after = at + 8;
        if (after < metainfo.size()
            && (metainfo[after] == ' ' || metainfo[after] == '\t' || metainfo[after] == '\n'
                || metainfo[after] == '\r'))
            return attributeValue(metainfo.substr(at), "version");
    }
    return {};
}

std::optional<FlatpakApp> deployedFlatpak(const std::string& installation, const std::string& id)
{
    if (!isValidId(id))
        return std::nullopt;
    const auto deployment = realPath(installation + "/app/" + id + "/current/active");
    struct stat st { };
    if (!deployment || ::stat(deployment->c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    FlatpakApp app{id, *deployment, {}};
    for (const auto& rel : {"files/share/metainfo/" + id + ".metainfo.xml",
             "files/share/metainfo/" + id + ".appdata.xml",
             "files/share/appdata/" + id + ".appdata.xml"}) {
        const size_t slash = rel.rfind('/');
        const auto parts = relativeComponents(rel.substr(0, slash));
        FolderFd folder = parts ? openBelow(*deployment, *parts) : FolderFd();
        if (!folder)
            continue;
        if (const auto text = readPlainFileAt(folder.get(), rel.substr(slash + 1), kMaxMetainfo)) {
            app.version = firstReleaseVersion(*text);
            break;
        }
    }
    return app;
}

std::optional<std::string> flatpakIdOfExport(const std::string& exportedFile)
{
    char target[PATH_MAX];
    const ssize_t n = ::readlink(exportedFile.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof target)
        return std::nullopt;
    const std::string link(target, static_cast<size_t>(n));
    const size_t at = link.find("/app/");
    if (at == std::string::npos)
        return std::nullopt;
    const size_t start = at + 5;
    const size_t end = link.find('/', start);
    std::string id = link.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!isValidId(id))
        return std::nullopt;
    return id;
}

} // namespace tidvale::linuxdesk

#include "engine/fs/FolderGuard.h"

#include "engine/fs/PathText.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

namespace tidvale {
namespace {

// Each folder as the real system has it and, under a test root, that root's copy too:
// a made-up system is guarded like the real one, and the real one stays guarded.
std::vector<std::string> rooted(
    std::initializer_list<const char*> folders, const std::string& systemRoot)
{
    std::vector<std::string> out;
    for (const char* f : folders) {
        out.emplace_back(f);
        if (!systemRoot.empty() && systemRoot != "/")
            out.push_back(systemRoot + f);
    }
    return out;
}

std::string under(const std::string& home, const char* name)
{
    return (home == "/" ? "" : home) + "/" + name;
}

std::optional<std::string> realPathOf(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real)
        return std::nullopt;
    return std::string(real.get());
}

bool contains(const std::string& folder, const std::string& inner)
{
    return isSameOrInside(inner, folder);
}

} // namespace

GuardedFolders linuxGuardedFolders(const std::string& home, std::vector<std::string> personal,
    std::vector<std::string> keptData, const std::string& systemRoot)
{
    GuardedFolders g;
    g.home = home;
    g.personal = std::move(personal);
    g.keptData = std::move(keptData);
    for (const char* name : {".ssh", ".gnupg", ".local", ".local/state", ".pki", ".password-store"})
        g.keptData.push_back(under(home, name));
    g.systemTops = rooted({"/bin", "/boot", "/dev", "/etc", "/home", "/lib", "/lib32", "/lib64",
                              "/libx32", "/lost+found", "/media", "/mnt", "/opt", "/proc", "/root",
                              "/run", "/sbin", "/snap", "/srv", "/sys", "/tmp", "/usr", "/var",
                              "/var/backups", "/var/cache", "/var/lib", "/var/local", "/var/log",
                              "/var/mail", "/var/opt", "/var/spool", "/var/tmp", "/var/www"},
        systemRoot);
    g.systemContents = rooted({"/bin", "/boot", "/dev", "/etc", "/lib", "/lib32", "/lib64",
                                  "/libx32", "/proc", "/run", "/sbin", "/snap", "/sys", "/usr"},
        systemRoot);
    g.systemData = rooted({"/var", "/opt", "/srv", "/root"}, systemRoot);
    g.systemScratch = rooted({"/var/tmp"}, systemRoot);
    return g;
}

GuardedFolders macGuardedFolders(const std::string& home, const std::string& systemRoot)
{
    GuardedFolders g;
    g.home = home;
    for (const char* name :
        {"Desktop", "Documents", "Downloads", "Movies", "Music", "Pictures", "Public"})
        g.personal.push_back(under(home, name));
    for (const char* name : {"Library", ".ssh", ".gnupg"})
        g.keptData.push_back(under(home, name));
    g.systemTops = rooted({"/Applications", "/Library", "/System", "/Users", "/Volumes", "/bin",
                              "/cores", "/dev", "/etc", "/opt", "/private", "/private/etc",
                              "/private/tmp", "/private/var", "/sbin", "/tmp", "/usr", "/var"},
        systemRoot);
    g.systemContents
        = rooted({"/System", "/bin", "/dev", "/etc", "/private/etc", "/sbin", "/usr"}, systemRoot);
    g.systemData = rooted({"/Library", "/private", "/var", "/opt", "/Applications"}, systemRoot);
    return g;
}

std::optional<std::string> resolvedPath(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    std::string existing = path;
    std::string rest; // the missing components, as written
    for (;;) {
        if (auto real = realPathOf(existing))
            return rest.empty() ? *real : (*real == "/" ? "" : *real) + rest;
        if (errno != ENOENT)
            return std::nullopt; // a loop or a folder it may not read: nothing can be said
        while (existing.size() > 1 && existing.back() == '/')
            existing.pop_back();
        const auto slash = existing.rfind('/');
        const std::string name = existing.substr(slash + 1);
        if (name == "..")
            return std::nullopt; // ".." of a missing folder could mean anything
        if (!name.empty() && name != ".")
            rest = "/" + name + rest;
        existing = slash == 0 ? "/" : existing.substr(0, slash);
    }
}

std::optional<std::string> resolvedEntry(const std::string& path)
{
    const std::string folder = parentFolder(path);
    const std::string name = lastPathComponent(path);
    if (folder.empty() || name.empty() || name == "." || name == "..")
        return std::nullopt;
    auto real = resolvedPath(folder);
    if (!real)
        return std::nullopt;
    return (*real == "/" ? "" : *real) + "/" + name;
}

std::optional<std::string> guardRefusal(const GuardedFolders& g, const std::string& resolved)
{
    if (resolved == "/")
        return "es la raíz del sistema";
    if (resolved == g.home)
        return "es tu carpeta de inicio";
    if (contains(resolved, g.home))
        return "contiene tu carpeta de inicio";
    for (const auto& p : g.personal) {
        if (resolved == p)
            return "es tu carpeta " + lastPathComponent(p);
        if (contains(p, resolved))
            return "está dentro de tu carpeta " + lastPathComponent(p);
        if (contains(resolved, p))
            return "contiene tu carpeta " + lastPathComponent(p);
    }
    for (const auto& k : g.keptData)
        if (contains(resolved, k))
            return "contiene " + k;
    for (const auto& t : g.systemTops)
        if (resolved == t)
            return "es una carpeta del sistema";
    if (!contains(g.home, resolved))
        for (const auto& c : g.systemContents)
            if (contains(c, resolved))
                return "está dentro de una carpeta del sistema (" + c + ")";
    return std::nullopt;
}

std::optional<std::string> baseFolderRefusal(const GuardedFolders& g, const std::string& resolved)
{
    if (auto refusal = guardRefusal(g, resolved))
        return refusal;
    const auto inScratch = std::any_of(g.systemScratch.begin(), g.systemScratch.end(),
        [&](const std::string& s) { return contains(s, resolved); });
    if (!contains(g.home, resolved) && !inScratch)
        for (const auto& d : g.systemData)
            if (contains(d, resolved))
                return "está dentro de una carpeta del sistema (" + d + ")";
    return std::nullopt;
}

ClaimedFolder claimFolder(const GuardedFolders& guarded, std::string_view variable,
    const std::string& value, bool baseFolder)
{
    std::string named = variable.empty() ? value : std::string(variable) + "=" + value;
    const auto resolved = resolvedPath(value);
    if (!resolved)
        return {value, named + " no se puede comprobar"};
    if (*resolved != value)
        named += " (" + *resolved + ")";
    const auto refusal
        = baseFolder ? baseFolderRefusal(guarded, *resolved) : guardRefusal(guarded, *resolved);
    return {*resolved, refusal ? named + " " + *refusal : std::string()};
}

} // namespace tidvale

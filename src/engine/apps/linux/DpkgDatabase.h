#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tidvale::linuxdesk {

// One installed package as dpkg's status file describes it.
struct DpkgPackage {
    std::string name;
    std::string architecture;
    std::string version;
    int64_t installedBytes = 0; // Installed-Size, which dpkg keeps in KiB
};

// The installed packages of a dpkg administrative folder ("/var/lib/dpkg") and which
// of them installed each desktop entry. Reads the status file and every file list
// once; of the lists only the ".desktop" paths are kept, so the index stays small
// however many packages there are. A missing folder is an empty database.
class DpkgDatabase {
public:
    // `withFileLists` false reads the status file only: enough to tell what is installed.
    explicit DpkgDatabase(const std::string& adminDir, bool withFileLists = true);

    // The installed package that lists `path` (as dpkg names it, from "/"), or none.
    const DpkgPackage* ownerOf(const std::string& path) const;

    // Whether a package of that name and architecture is installed now.
    bool isInstalled(const std::string& name, const std::string& architecture) const;

    size_t packageCount() const { return packages_.size(); }

private:
    const DpkgPackage* find(const std::string& listName) const;

    std::vector<DpkgPackage> packages_;
    std::unordered_map<std::string, size_t> byKey_;  // "name:arch" and, if unique, "name"
    std::unordered_map<std::string, size_t> owners_; // desktop entry path -> package
};

} // namespace tidvale::linuxdesk

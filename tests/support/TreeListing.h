#pragma once

// Every entry under a folder with its kind, mode, size and modification time: two
// listings are equal only if nothing in the tree was made, removed or written.
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

inline std::map<std::string, std::string> treeListing(const std::string& root)
{
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        struct stat st { };
        ::lstat(e.path().c_str(), &st);
        out[e.path().string()] = std::to_string(st.st_mode) + " " + std::to_string(st.st_size) + " "
            + std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
    }
    return out;
}

// The first path that differs between two listings, for a failure message.
inline std::string firstDifference(
    const std::map<std::string, std::string>& a, const std::map<std::string, std::string>& b)
{
    for (const auto& [path, line] : a)
        if (!b.count(path) || b.at(path) != line)
            return path;
    for (const auto& [path, line] : b)
        if (!a.count(path))
            return path;
    return {};
}

#pragma once

// Every entry under a folder, one line each with its mode, size and modification time:
// two listings are equal only if nothing in the tree was made, removed or written.
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

inline std::string treeListing(const std::string& root)
{
    std::set<std::string> lines;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        struct stat st { };
        ::lstat(e.path().c_str(), &st);
        lines.insert(e.path().string() + " " + std::to_string(st.st_mode) + " "
            + std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "."
            + std::to_string(st.st_mtim.tv_nsec));
    }
    std::string out;
    for (const auto& line : lines)
        out += line + "\n";
    return out;
}

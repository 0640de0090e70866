#pragma once

#include "engine/finders/FileWalk.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tidvale {

using Sha256Digest = std::array<uint8_t, 32>;

// The text of a content key: the decimal size, "_" and 64 lowercase hexadecimal digits.
std::string contentKeyText(int64_t size, const Sha256Digest& digest);

// Reads files for the duplicate finder, one at a time, with one SHA-256 state and one
// read buffer that are reused from file to file (one reader per thread).
//
// A file is read only when it is still the regular file the walk met (same device and
// inode): it is opened without following links and without blocking, so a link, FIFO
// or device put in its place is never read from. A file whose size, modification time
// or change time moves while it is read gives no key.
class ContentReader {
public:
    static constexpr int64_t kQuickBytes = 65536;
    static constexpr size_t kBlockBytes = 1048576;

    struct Key {
        bool ok = false;
        uint64_t quick = 0;    // quickKey: quickHash of the first 64 KiB
        Sha256Digest digest{}; // contentKey: SHA-256 of the whole content
        FileStamp stamp;       // as fstat gave it when the file was opened
    };

    ContentReader();
    ~ContentReader();
    ContentReader(ContentReader&&) noexcept;
    ContentReader(const ContentReader&) = delete;
    ContentReader& operator=(const ContentReader&) = delete;

    // A hash of the first 65536 bytes (fewer for a shorter file), read in one go; no
    // key for an empty file.
    // `folder` is an open descriptor of the folder holding `name`, or AT_FDCWD with a
    // path: the folder is looked up once for all its files, not once per file.
    Key quickKey(int folder, const char* name, const FileIdentity& expected);
    // Hears the size of each block before it is read; false stops the read, which
    // then gives no key. The duplicate finder counts and checks its cancel flag here.
    using OnBlock = std::function<bool(size_t bytes)>;

    // SHA-256 of the whole content, streamed in 1 MiB blocks; no key when the file
    // changes while it is read.
    Key contentKey(
        int folder, const char* name, const FileIdentity& expected, const OnBlock& onBlock = {});

private:
    Key read(int folder, const char* name, const FileIdentity& expected, const OnBlock* onBlock);

    struct State;
    std::unique_ptr<State> state_;
};

} // namespace tidvale

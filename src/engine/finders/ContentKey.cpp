#include "engine/finders/ContentKey.h"

#include "engine/finders/QuickHash.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tidvale {
namespace {

// An open file that is closed on every path out of a read.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : fd_(fd)
    {
    }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_); // a failed close changes nothing for a file only read
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Reads until `want` bytes or the end of the file; -1 on a read error.
ssize_t readFully(int fd, uint8_t* buffer, size_t want)
{
    size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd, buffer + got, want - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

const EVP_MD* sha256()
{
#if OPENSSL_VERSION_NUMBER >= 0x30000000L
    // Fetched once: an implicit fetch on every file would take a lock each time.
    static EVP_MD* md = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    return md;
#else
    return EVP_sha256();
#endif
}

} // namespace

std::string contentKeyText(int64_t size, const Sha256Digest& digest)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string key = std::to_string(size);
    key += '_';
    for (uint8_t byte : digest) {
        key += kHex[byte >> 4];
        key += kHex[byte & 15];
    }
    return key;
}

struct ContentReader::State {
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    std::vector<uint8_t> buffer;
    ~State() { EVP_MD_CTX_free(ctx); }
};

ContentReader::ContentReader()
    : state_(std::make_unique<State>())
{
}
ContentReader::~ContentReader() = default;
ContentReader::ContentReader(ContentReader&&) noexcept = default;

ContentReader::Key ContentReader::quickKey(
    int folder, const char* name, const FileIdentity& expected)
{
    return read(folder, name, expected, nullptr);
}

ContentReader::Key ContentReader::contentKey(
    int folder, const char* name, const FileIdentity& expected, const OnBlock& onBlock)
{
    return read(folder, name, expected, &onBlock);
}

// `onBlock` is set for the whole content, none for the quick key.
ContentReader::Key ContentReader::read(
    int folder, const char* name, const FileIdentity& expected, const OnBlock* onBlock)
{
    Key key;
    Descriptor fd(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat before { };
    if (fd.get() < 0 || ::fstat(fd.get(), &before) != 0 || !S_ISREG(before.st_mode)
        || !(FileIdentity{before.st_dev, before.st_ino} == expected))
        return key;
    const int64_t size = before.st_size;
    key.stamp = FileStamp::of(before);
    auto& buffer = state_->buffer;

    if (!onBlock) {
        const auto want = static_cast<size_t>(std::min(size, kQuickBytes));
        buffer.resize(static_cast<size_t>(kQuickBytes));
        const ssize_t n = readFully(fd.get(), buffer.data(), want);
        if (n <= 0)
            return key; // unreadable, or nothing to key the file by
        key.quick = quickHash(buffer.data(), static_cast<size_t>(n));
        key.ok = true;
        return key;
    }

    if (size > static_cast<int64_t>(kBlockBytes))
        ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    buffer.resize(kBlockBytes);
    if (EVP_DigestInit_ex(state_->ctx, sha256(), nullptr) != 1)
        return key;
    // Reads stop at the size fstat gave, without a last read to meet the end: a file
    // that grows or shrinks meanwhile fails the check of its stamp below.
    for (int64_t total = 0; total < size;) {
        const auto chunk = static_cast<size_t>(std::min<int64_t>(size - total, kBlockBytes));
        if (*onBlock && !(*onBlock)(chunk))
            return key;
        const ssize_t n = readFully(fd.get(), buffer.data(), chunk);
        if (n <= 0)
            return key; // a read error, or the file ended early
        EVP_DigestUpdate(state_->ctx, buffer.data(), static_cast<size_t>(n));
        total += n;
    }
    unsigned length = 0;
    if (EVP_DigestFinal_ex(state_->ctx, key.digest.data(), &length) != 1)
        return key;
    struct stat after { };
    if (::fstat(fd.get(), &after) != 0 || !(FileStamp::of(after) == key.stamp))
        return key; // changed while it was read: its digest describes no real content
    key.ok = true;
    return key;
}

} // namespace tidvale

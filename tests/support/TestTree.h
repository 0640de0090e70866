#pragma once

// A temporary folder tree for tests, removed (links never followed) when the test
// ends. Paths given to its helpers are relative to the tree's root.
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

// The whole content of the file at `path`; empty when it cannot be read.
inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TestTree {
public:
    TestTree()
    {
        std::string tmpl
            = (std::filesystem::temp_directory_path() / "tidvale-test-XXXXXX").string();
        if (!mkdtemp(tmpl.data()))
            throw std::runtime_error("mkdtemp failed");
        root_ = tmpl;
    }
    ~TestTree()
    {
        for (const auto& p : protected_)
            setImmutable(p, false);
        // Tests make folders unreadable; give them back so the cleanup can enter.
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(
                 root_, std::filesystem::directory_options::skip_permission_denied, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec))
                ::chmod(it->path().c_str(), 0755);
        }
        ::chmod(root_.c_str(), 0755);
        std::filesystem::remove_all(root_, ec);
    }
    TestTree(const TestTree&) = delete;
    TestTree& operator=(const TestTree&) = delete;

    const std::string& root() const { return root_; }
    std::string path(const std::string& rel) const
    {
        return rel.empty() ? root_ : root_ + "/" + rel;
    }

    std::string dir(const std::string& rel) const
    {
        std::filesystem::create_directories(path(rel));
        return path(rel);
    }

    // A file of `bytes` bytes filled with `fill`.
    std::string file(const std::string& rel, size_t bytes, char fill = 'x') const
    {
        auto p = std::filesystem::path(path(rel));
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        std::string block(std::min<size_t>(bytes, 1 << 16), fill);
        for (size_t left = bytes; left > 0;) {
            size_t n = std::min(left, block.size());
            out.write(block.data(), static_cast<std::streamsize>(n));
            left -= n;
        }
        return p.string();
    }

    std::string text(const std::string& rel, const std::string& content) const
    {
        auto p = std::filesystem::path(path(rel));
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary | std::ios::trunc) << content;
        return p.string();
    }

    // An executable file (a stand-in for a program) holding `content`.
    std::string script(const std::string& rel, const std::string& content) const
    {
        const std::string p = text(rel, content);
        ::chmod(p.c_str(), 0755);
        return p;
    }

    // The whole content of the file at `rel`; empty when it cannot be read.
    std::string read(const std::string& rel) const { return readFile(path(rel)); }

    // The permission bits of the entry at `rel`, links not followed.
    mode_t mode(const std::string& rel) const
    {
        struct stat st { };
        ::lstat(path(rel).c_str(), &st);
        return st.st_mode & 07777;
    }

    // A symbolic link at `rel` whose target is `target`, exactly as given.
    std::string link(const std::string& rel, const std::string& target) const
    {
        auto p = std::filesystem::path(path(rel));
        std::filesystem::create_directories(p.parent_path());
        if (::symlink(target.c_str(), p.c_str()) != 0)
            throw std::runtime_error("symlink failed");
        return p.string();
    }

    void setMtime(const std::string& rel, time_t when) const
    {
        timeval tv[2] = {{when, 0}, {when, 0}};
        ::lutimes(path(rel).c_str(), tv);
    }

    bool exists(const std::string& rel) const
    {
        struct stat st { };
        return ::lstat(path(rel).c_str(), &st) == 0;
    }

    // Makes the entries inside a folder impossible to delete or add to, even for root
    // (who ignores permission bits): the immutable attribute when running as root,
    // else a read-only folder. Undone when the tree is removed.
    void protect(const std::string& rel)
    {
        if (::geteuid() == 0) {
            if (!setImmutable(path(rel), true))
                throw std::runtime_error("cannot set the immutable attribute on " + path(rel));
            protected_.push_back(path(rel));
        } else {
            ::chmod(path(rel).c_str(), 0555);
        }
    }

private:
    static bool setImmutable(const std::string& p, bool on)
    {
#ifdef __linux__
        int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
#else
        return ::chflags(p.c_str(), on ? UF_IMMUTABLE : 0) == 0;
#endif
    }

    std::string root_;
    std::vector<std::string> protected_;
};

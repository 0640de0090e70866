#include "platform/PropertyList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace tidvale::platform {
namespace {

constexpr off_t kMaxFileSize = 8 << 20;

void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// --- Binary property lists ---------------------------------------------------------
//
// Every offset and count in the file is untrusted: each is checked against the part of
// the file it must lie in before it is used, with comparisons that cannot overflow.
class BinaryPlist {
public:
    explicit BinaryPlist(std::string_view bytes)
        : b_(bytes)
        , budget_(8 * static_cast<uint64_t>(bytes.size()) + 65536)
    {
    }

    std::optional<PlistDictionary> parse()
    {
        if (b_.size() < 8 + 32 || b_.substr(0, 8) != "bplist00")
            return std::nullopt;
        const size_t trailer = b_.size() - 32;
        offsetSize_ = byte(trailer + 6);
        refSize_ = byte(trailer + 7);
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8)
            return std::nullopt;
        const uint64_t numObjects = be(trailer + 8, 8);
        const uint64_t top = be(trailer + 16, 8);
        const uint64_t table = be(trailer + 24, 8);
        if (table < 8 || table > trailer || numObjects == 0 || top >= numObjects
            || numObjects > (trailer - table) / offsetSize_)
            return std::nullopt;
        table_ = static_cast<size_t>(table);
        numObjects_ = numObjects;

        auto root = object(top);
        if (!root || (byte(*root) >> 4) != 0xD)
            return std::nullopt;
        auto header = counted(*root);
        if (!header)
            return std::nullopt;
        const auto [count, refs] = *header;
        // Keys then values, each `count` references wide, all inside the object area.
        if (count > (table_ - refs) / (2 * static_cast<uint64_t>(refSize_)))
            return std::nullopt;
        PlistDictionary dict;
        for (uint64_t i = 0; i < count; ++i) {
            const size_t keyRef = refs + static_cast<size_t>(i) * refSize_;
            const size_t valueRef = refs + static_cast<size_t>(count + i) * refSize_;
            auto key = text(be(keyRef, refSize_));
            if (!key || !*key)
                return std::nullopt; // keys are always texts
            auto value = text(be(valueRef, refSize_));
            if (!value)
                return std::nullopt;
            dict.insert_or_assign(std::move(**key), std::move(*value));
        }
        return dict;
    }

private:
    uint8_t byte(size_t pos) const { return static_cast<uint8_t>(b_[pos]); }

    // Big-endian unsigned of `width` bytes; callers have checked the bounds.
    uint64_t be(size_t pos, size_t width) const
    {
        uint64_t v = 0;
        for (size_t i = 0; i < width; ++i)
            v = (v << 8) | byte(pos + i);
        return v;
    }

    // Offset of object `ref`, inside the object area.
    std::optional<size_t> object(uint64_t ref) const
    {
        if (ref >= numObjects_)
            return std::nullopt;
        const uint64_t off = be(table_ + static_cast<size_t>(ref) * offsetSize_, offsetSize_);
        if (off < 8 || off >= table_)
            return std::nullopt;
        return static_cast<size_t>(off);
    }

    // The element count of the object at `pos` and where its payload starts. Counts of
    // 15 and more follow the marker as an integer object.
    std::optional<std::pair<uint64_t, size_t>> counted(size_t pos) const
    {
        const uint64_t low = byte(pos) & 0x0F;
        if (low != 0x0F)
            return std::pair{low, pos + 1};
        if (pos + 2 > table_)
            return std::nullopt;
        const uint8_t marker = byte(pos + 1);
        if ((marker >> 4) != 0x1 || (marker & 0x0F) > 3)
            return std::nullopt;
        const size_t width = size_t{1} << (marker & 0x0F);
        if (width > table_ - (pos + 2))
            return std::nullopt;
        return std::pair{be(pos + 2, width), pos + 2 + width};
    }

    // Outer nothing: damaged; inner nothing: an intact object that is not a text.
    std::optional<std::optional<std::string>> text(uint64_t ref) const
    {
        auto pos = object(ref);
        if (!pos)
            return std::nullopt;
        const uint8_t kind = byte(*pos) >> 4;
        if (kind != 0x5 && kind != 0x6)
            return std::optional<std::string>{};
        auto header = counted(*pos);
        if (!header)
            return std::nullopt;
        const auto [count, start] = *header;
        const uint64_t room = table_ - start;
        // One string object may be referenced by every entry; the budget keeps a small
        // file from expanding into gigabytes of copies.
        if (count > budget_)
            return std::nullopt;
        budget_ -= count;
        std::string out;
        if (kind == 0x5) {
            if (count > room)
                return std::nullopt;
            // Declared ASCII; a stray high byte is read as Latin-1 rather than passed on
            // as invalid UTF-8.
            for (size_t i = 0; i < count; ++i)
                appendUtf8(out, byte(start + i));
            return std::optional<std::string>{std::move(out)};
        }
        if (count > room / 2)
            return std::nullopt;
        for (size_t i = 0; i < count; ++i) {
            uint32_t unit = static_cast<uint32_t>(be(start + 2 * i, 2));
            if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count) {
                const auto low = static_cast<uint32_t>(be(start + 2 * (i + 1), 2));
                if (low >= 0xDC00 && low < 0xE000) {
                    appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
            if (unit >= 0xD800 && unit < 0xE000)
                unit = 0xFFFD; // a lone surrogate
            appendUtf8(out, unit);
        }
        return std::optional<std::string>{std::move(out)};
    }

    std::string_view b_;
    uint8_t offsetSize_ = 0;
    uint8_t refSize_ = 0;
    uint64_t numObjects_ = 0;
    size_t table_ = 0;
    mutable uint64_t budget_; // characters still allowed to be decoded
};

// --- XML property lists ------------------------------------------------------------
//
// A strict reader of the plist document type: the whole document must be well formed
// for the dictionary to be returned, as the system's own reader behaves. Nesting is
// bounded so a deep document cannot exhaust the stack.
class XmlPlist {
public:
    explicit XmlPlist(std::string_view text)
        : s_(text)
    {
    }

    std::optional<PlistDictionary> parse()
    {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
        if (!skipMisc())
            return std::nullopt;
        Tag tag;
        if (!readTag(tag) || tag.closing)
            return std::nullopt;
        bool wrapped = false;
        if (tag.name == "plist") {
            if (tag.empty)
                return std::nullopt;
            wrapped = true;
            if (!skipMisc() || !readTag(tag) || tag.closing)
                return std::nullopt;
        }
        if (tag.name != "dict")
            return std::nullopt;
        PlistDictionary dict;
        if (!tag.empty && !readDict(0, &dict))
            return std::nullopt;
        if (wrapped && (!skipMisc() || !readTag(tag) || !tag.closing || tag.name != "plist"))
            return std::nullopt;
        if (!skipMisc() || pos_ != s_.size())
            return std::nullopt;
        return dict;
    }

private:
    static constexpr int kMaxDepth = 256;

    struct Tag {
        std::string_view name;
        bool closing = false;
        bool empty = false; // <name/>
    };

    bool at(std::string_view prefix) const { return s_.substr(pos_, prefix.size()) == prefix; }

    void skipSpace()
    {
        while (pos_ < s_.size()
            && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
            ++pos_;
    }

    bool skipPast(std::string_view end)
    {
        const size_t found = s_.find(end, pos_);
        if (found == std::string_view::npos)
            return false;
        pos_ = found + end.size();
        return true;
    }

    // Whitespace, comments, processing instructions and the document type.
    bool skipMisc()
    {
        for (;;) {
            skipSpace();
            if (at("<!--")) {
                if (!skipPast("-->"))
                    return false;
            } else if (at("<?")) {
                if (!skipPast("?>"))
                    return false;
            } else if (at("<!DOCTYPE")) {
                if (!skipPast(">"))
                    return false;
            } else {
                return true;
            }
        }
    }

    bool readTag(Tag& tag)
    {
        tag = {};
        if (!at("<"))
            return false;
        ++pos_;
        if (at("/")) {
            tag.closing = true;
            ++pos_;
        }
        const size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] != '>' && s_[pos_] != '/' && s_[pos_] != ' '
            && s_[pos_] != '\t' && s_[pos_] != '\n' && s_[pos_] != '\r')
            ++pos_;
        tag.name = s_.substr(start, pos_ - start);
        if (tag.name.empty())
            return false;
        // Attributes are skipped, minding quoted values that may hold '>' or '/'.
        while (pos_ < s_.size()) {
            const char c = s_[pos_];
            if (c == '"' || c == '\'') {
                const size_t close = s_.find(c, pos_ + 1);
                if (close == std::string_view::npos)
                    return false;
                pos_ = close + 1;
            } else if (c == '/' && !tag.closing && pos_ + 1 < s_.size() && s_[pos_ + 1] == '>') {
                tag.empty = true;
                pos_ += 2;
                return true;
            } else if (c == '>') {
                ++pos_;
                return true;
            } else {
                ++pos_;
            }
        }
        return false;
    }

    bool decodeEntity(std::string& out)
    {
        const size_t semi = s_.find(';', pos_);
        if (semi == std::string_view::npos || semi - pos_ > 12)
            return false;
        const std::string_view name = s_.substr(pos_ + 1, semi - pos_ - 1);
        pos_ = semi + 1;
        if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "amp")
            out += '&';
        else if (name == "quot")
            out += '"';
        else if (name == "apos")
            out += '\'';
        else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            if (digits.empty())
                return false;
            uint32_t cp = 0;
            for (char c : digits) {
                int d;
                if (c >= '0' && c <= '9')
                    d = c - '0';
                else if (hex && c >= 'a' && c <= 'f')
                    d = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F')
                    d = c - 'A' + 10;
                else
                    return false;
                cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
                if (cp > 0x10FFFF)
                    return false;
            }
            if (cp == 0 || (cp >= 0xD800 && cp < 0xE000))
                return false;
            appendUtf8(out, cp);
        } else {
            return false;
        }
        return true;
    }

    // Character data up to the closing tag `name`, with entities and CDATA resolved.
    bool readText(std::string_view name, std::string& out)
    {
        while (pos_ < s_.size()) {
            const char c = s_[pos_];
            if (c == '&') {
                if (!decodeEntity(out))
                    return false;
            } else if (at("<![CDATA[")) {
                pos_ += 9;
                const size_t end = s_.find("]]>", pos_);
                if (end == std::string_view::npos)
                    return false;
                out.append(s_.substr(pos_, end - pos_));
                pos_ = end + 3;
            } else if (at("<!--")) {
                if (!skipPast("-->"))
                    return false;
            } else if (c == '<') {
                Tag tag;
                return readTag(tag) && tag.closing && tag.name == name;
            } else {
                out += c;
                ++pos_;
            }
        }
        return false;
    }

    // Elements up to </dict>; with `dict` the entries are kept, else only checked.
    bool readDict(int depth, PlistDictionary* dict)
    {
        for (;;) {
            if (!skipMisc())
                return false;
            Tag tag;
            if (!readTag(tag))
                return false;
            if (tag.closing)
                return tag.name == "dict";
            if (tag.name != "key")
                return false;
            std::string key;
            if (!tag.empty && !readText("key", key))
                return false;
            std::optional<std::string> value;
            if (!skipMisc() || !readValue(depth + 1, value))
                return false;
            if (dict)
                dict->insert_or_assign(std::move(key), std::move(value));
        }
    }

    bool readArray(int depth)
    {
        for (;;) {
            if (!skipMisc())
                return false;
            if (at("</")) {
                Tag tag;
                return readTag(tag) && tag.name == "array";
            }
            std::optional<std::string> ignored;
            if (!readValue(depth + 1, ignored))
                return false;
        }
    }

    bool readValue(int depth, std::optional<std::string>& value)
    {
        if (depth > kMaxDepth)
            return false;
        Tag tag;
        if (!readTag(tag) || tag.closing)
            return false;
        const std::string_view n = tag.name;
        if (n == "true" || n == "false") {
            if (tag.empty)
                return true;
            return readTag(tag) && tag.closing && tag.name == n;
        }
        if (n == "dict")
            return tag.empty || readDict(depth, nullptr);
        if (n == "array")
            return tag.empty || readArray(depth);
        if (n != "string" && n != "integer" && n != "real" && n != "date" && n != "data")
            return false;
        std::string content;
        if (!tag.empty && !readText(n, content))
            return false;
        if (n == "string")
            value = std::move(content);
        return true;
    }

    std::string_view s_;
    size_t pos_ = 0;
};

} // namespace

std::optional<PlistDictionary> parsePropertyList(std::string_view bytes)
{
    if (bytes.substr(0, 6) == "bplist")
        return BinaryPlist(bytes).parse();
    return XmlPlist(bytes).parse();
}

std::optional<PlistDictionary> readPropertyListFile(const std::string& path)
{
    // Non-blocking so that a FIFO given a .plist name cannot hang the caller.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st { };
    std::string bytes;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxFileSize;
    if (ok) {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
        bytes.resize(got); // a file that shrank while read is parsed as it was read
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return parsePropertyList(bytes);
}

std::string plistText(const std::optional<PlistDictionary>& dict, const std::string& key)
{
    if (!dict)
        return {};
    auto it = dict->find(key);
    return it != dict->end() && it->second ? *it->second : std::string();
}

} // namespace tidvale::platform

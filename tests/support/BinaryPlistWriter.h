#pragma once

// Builds binary property lists for tests, including damaged ones: every trailer field
// can be overridden after the fact.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class BinaryPlistWriter {
public:
    // Adds an object (marker byte and payload already encoded) and returns its index.
    size_t add(std::string encoded)
    {
        objects_.push_back(std::move(encoded));
        return objects_.size() - 1;
    }

    void replace(size_t index, std::string encoded) { objects_[index] = std::move(encoded); }

    static std::string ascii(const std::string& s) { return withCount(0x50, s.size()) + s; }
    static std::string utf16(const std::u16string& s)
    {
        std::string out = withCount(0x60, s.size());
        for (char16_t c : s) {
            out += static_cast<char>(c >> 8);
            out += static_cast<char>(c & 0xFF);
        }
        return out;
    }
    static std::string integer(uint8_t v) { return std::string{'\x10', static_cast<char>(v)}; }

    // A dictionary of (key index, value index) pairs with references `refSize` wide.
    std::string dict(const std::vector<std::pair<size_t, size_t>>& entries) const
    {
        std::string out = withCount(0xD0, entries.size());
        for (const auto& e : entries)
            out += ref(e.first);
        for (const auto& e : entries)
            out += ref(e.second);
        return out;
    }

    std::string build(size_t top) const
    {
        std::string out = "bplist00";
        std::vector<uint64_t> offsets;
        for (const auto& o : objects_) {
            offsets.push_back(out.size());
            out += o;
        }
        const uint64_t table = out.size();
        for (uint64_t off : offsets)
            out += be(off, offsetSize);
        out += std::string(6, '\0');
        out += static_cast<char>(offsetSize);
        out += static_cast<char>(refSize);
        out += be(numObjects ? numObjects : objects_.size(), 8);
        out += be(top, 8);
        out += be(tableOffset ? tableOffset : table, 8);
        return out;
    }

    uint8_t offsetSize = 2;
    uint8_t refSize = 2;
    uint64_t numObjects = 0;  // 0: the real count
    uint64_t tableOffset = 0; // 0: the real offset

    static std::string be(uint64_t v, size_t width)
    {
        std::string out(width, '\0');
        for (size_t i = 0; i < width; ++i)
            out[width - 1 - i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        return out;
    }

private:
    static std::string withCount(uint8_t kind, size_t count)
    {
        if (count < 15)
            return std::string(1, static_cast<char>(kind | count));
        return std::string(1, static_cast<char>(kind | 0x0F)) + "\x13" + be(count, 8);
    }
    std::string ref(size_t index) const { return be(index, refSize); }

    std::vector<std::string> objects_;
};

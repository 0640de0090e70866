#pragma once

// Builds binary property lists for tests; damaged ones are made by editing the result.
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

    static std::string ascii(const std::string& s) { return withCount(0x50, s.size()) + s; }
    static std::string utf16(const std::u16string& s)
    {
        std::string out = withCount(0x60, s.size());
        for (char16_t c : s)
            out += be(c, 2);
        return out;
    }
    static std::string integer(uint8_t v) { return std::string{'\x10', static_cast<char>(v)}; }

    // A dictionary of (key index, value index) pairs with references `refSize` wide.
    std::string dict(const std::vector<std::pair<size_t, size_t>>& entries) const
    {
        std::string out = withCount(0xD0, entries.size());
        for (const auto& e : entries)
            out += be(e.first, refSize);
        for (const auto& e : entries)
            out += be(e.second, refSize);
        return out;
    }

    // A document of these objects whose top object is the first.
    static std::string document(const std::vector<std::string>& objects)
    {
        BinaryPlistWriter w;
        for (const auto& o : objects)
            w.add(o);
        return w.build(0);
    }
    // The document {key: value}, both already encoded.
    static std::string oneEntry(const std::string& key, const std::string& value)
    {
        return document({BinaryPlistWriter().dict({{1, 2}}), key, value});
    }

    // Trailer: 6 unused bytes, offset width, reference width, then 8-byte object count,
    // top object and offset-table position.
    std::string build(size_t top) const
    {
        std::string out = "bplist00", table;
        for (const auto& o : objects_) {
            table += be(out.size(), offsetSize);
            out += o;
        }
        const uint64_t tableAt = out.size();
        out += table + std::string(6, '\0') + char(offsetSize) + char(refSize);
        return out + be(objects_.size(), 8) + be(top, 8) + be(tableAt, 8);
    }

    uint8_t offsetSize = 2;
    uint8_t refSize = 2;

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

    std::vector<std::string> objects_;
};

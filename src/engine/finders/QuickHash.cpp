#include "engine/finders/QuickHash.h"

#include <cstring>

namespace tidvale {
namespace {

// The multiply-rotate round and constants of the well-known 64-bit stream hash
// design: four independent lanes keep the multiplier busy.
constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ull;
constexpr uint64_t kPrime4 = 0x85EBCA77C2B2AE63ull;
constexpr uint64_t kPrime5 = 0x27D4EB2F165667C5ull;

uint64_t rotl(uint64_t x, int r)
{
    return (x << r) | (x >> (64 - r));
}

uint64_t read64(const unsigned char* p)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

uint64_t round(uint64_t acc, uint64_t input)
{
    return rotl(acc + input * kPrime2, 31) * kPrime1;
}

uint64_t merge(uint64_t acc, uint64_t lane)
{
    return (acc ^ round(0, lane)) * kPrime1 + kPrime4;
}

} // namespace

uint64_t quickHash(const void* data, size_t length)
{
    const auto* p = static_cast<const unsigned char*>(data);
    const unsigned char* const end = p + length;
    uint64_t h;
    if (length >= 32) {
        uint64_t v1 = kPrime1 + kPrime2, v2 = kPrime2, v3 = 0, v4 = 0 - kPrime1;
        for (; p + 32 <= end; p += 32) {
            v1 = round(v1, read64(p));
            v2 = round(v2, read64(p + 8));
            v3 = round(v3, read64(p + 16));
            v4 = round(v4, read64(p + 24));
        }
        h = rotl(v1, 1) + rotl(v2, 7) + rotl(v3, 12) + rotl(v4, 18);
        h = merge(merge(merge(merge(h, v1), v2), v3), v4);
    } else {
        h = kPrime5;
    }
    h += static_cast<uint64_t>(length);
    for (; p + 8 <= end; p += 8)
        h = rotl(h ^ round(0, read64(p)), 27) * kPrime1 + kPrime4;
    for (; p < end; ++p)
        h = rotl(h ^ (*p * kPrime5), 11) * kPrime1;
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    h ^= h >> 32;
    return h;
}

} // namespace tidvale

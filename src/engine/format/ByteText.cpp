#include "engine/format/ByteText.h"

#include <array>
#include <cmath>
#include <string_view>

namespace tidvale {
namespace {

constexpr std::array<std::string_view, 6> kUnits{"KB", "MB", "GB", "TB", "PB", "EB"};
constexpr std::array<int, 6> kDecimals{0, 1, 2, 2, 2, 2};

// Spanish groups thousands with "." only from five digits on ("2500", "25.000").
std::string groupedInteger(uint64_t v)
{
    std::string digits = std::to_string(v);
    if (digits.size() < 5)
        return digits;
    std::string out;
    const size_t lead = digits.size() % 3;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (i + 3 - lead) % 3 == 0)
            out += '.';
        out += digits[i];
    }
    return out;
}

// `scaled` is the value times 10^decimals, already rounded.
std::string decimalText(uint64_t scaled, int decimals)
{
    uint64_t pow10 = 1;
    for (int i = 0; i < decimals; ++i)
        pow10 *= 10;
    std::string text = groupedInteger(scaled / pow10);
    uint64_t frac = scaled % pow10;
    if (frac == 0)
        return text;
    std::string digits = std::to_string(frac);
    digits.insert(0, static_cast<size_t>(decimals) - digits.size(), '0');
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    return text + "," + digits;
}

uint64_t magnitude(int64_t bytes)
{
    return bytes < 0 ? static_cast<uint64_t>(-(bytes + 1)) + 1 : static_cast<uint64_t>(bytes);
}

// Picks the smallest unit whose rounded value stays below 1000 ("1 MB", never
// "1000 KB"), up to `lastUnit`; `minOneKB` turns a few bytes into "1 KB".
std::string unitText(uint64_t abs, double base, size_t lastUnit, bool minOneKB)
{
    double value = static_cast<double>(abs) / base;
    for (size_t u = 0;; ++u) {
        const int decimals = kDecimals[u];
        const double factor = std::pow(10.0, decimals);
        double scaled = std::round(value * factor);
        if (u == 0 && minOneKB && scaled < 1)
            scaled = 1;
        if (scaled < 1000 * factor || u == lastUnit)
            return decimalText(static_cast<uint64_t>(scaled), decimals) + " "
                + std::string(kUnits[u]);
        value /= base;
    }
}

std::string byteCount(uint64_t abs)
{
    return std::to_string(abs) + (abs == 1 ? " byte" : " bytes");
}

} // namespace

std::string formatFileBytes(int64_t bytes)
{
    if (bytes == 0)
        return "Cero KB";
    const uint64_t abs = magnitude(bytes);
    const std::string sign = bytes < 0 ? "-" : "";
    if (abs < 1000)
        return sign + byteCount(abs);
    return sign + unitText(abs, 1000.0, kUnits.size() - 1, false);
}

std::string formatMemoryBytes(uint64_t bytes)
{
    if (bytes == 0)
        return "Cero KB";
    if (bytes < 1024)
        return byteCount(bytes);
    return unitText(bytes, 1024.0, kUnits.size() - 1, false);
}

std::string formatJunkBytes(int64_t bytes)
{
    if (bytes == 0)
        return "Cero KB";
    const std::string sign = bytes < 0 ? "-" : "";
    return sign + unitText(magnitude(bytes), 1000.0, 2, true);
}

} // namespace tidvale

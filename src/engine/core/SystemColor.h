#pragma once

#include <cstdint>

namespace tidvale {

// The platform's named system colours; the GUI maps each to its light-appearance value.
enum class SystemColor {
    red,
    orange,
    yellow,
    green,
    mint,
    teal,
    cyan,
    blue,
    indigo,
    purple,
    pink,
    gray
};

struct Rgb {
    uint8_t r, g, b;
};

constexpr Rgb rgbOf(SystemColor c)
{
    switch (c) {
    case SystemColor::red:
        return {255, 59, 48};
    case SystemColor::orange:
        return {255, 149, 0};
    case SystemColor::yellow:
        return {255, 204, 0};
    case SystemColor::green:
        return {40, 205, 65};
    case SystemColor::mint:
        return {0, 199, 190};
    case SystemColor::teal:
        return {89, 173, 196};
    case SystemColor::cyan:
        return {85, 190, 240};
    case SystemColor::blue:
        return {0, 122, 255};
    case SystemColor::indigo:
        return {88, 86, 214};
    case SystemColor::purple:
        return {175, 82, 222};
    case SystemColor::pink:
        return {255, 45, 85};
    case SystemColor::gray:
        return {142, 142, 147};
    }
    return {0, 0, 0};
}

} // namespace tidvale

#pragma once

#include <string_view>

namespace tidvale {

// `s` without the blanks around it: spaces and tabs, and a carriage return at the end
// (a line of a file written on another system). The settings files the Linux rules
// read (desktop entries, profiles.ini, dpkg's status, .trashinfo) all trim this way.
inline std::string_view trimmedLine(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The value of one hexadecimal digit, or -1.
inline int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace tidvale

#include "engine/format/DateText.h"

#include <cstdio>

namespace tidvale {

std::string formatShortDate(std::time_t when)
{
    std::tm tm{};
    localtime_r(&when, &tm);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%d/%02d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year % 100);
    return buf;
}

std::string formatShortDateTime(std::time_t when)
{
    std::tm tm{};
    localtime_r(&when, &tm);
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", tm.tm_hour, tm.tm_min);
    return formatShortDate(when) + " " + buf;
}

std::string formatIsoDate(std::time_t when)
{
    std::tm tm{};
    gmtime_r(&when, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buf;
}

} // namespace tidvale

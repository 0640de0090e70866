#pragma once

// The `name` of each record, in order: how most listings are compared; and the record
// of a name, which must be listed.
#include "engine/fs/Removal.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

template <class Record> std::vector<std::string> names(const std::vector<Record>& records)
{
    std::vector<std::string> out;
    for (const auto& r : records)
        out.push_back(r.name);
    return out;
}

template <class Records> auto& named(Records& records, const std::string& name)
{
    for (auto& r : records)
        if (r.name == name)
            return r;
    throw std::runtime_error("not listed: " + name);
}

// The last path component of each target a removal says is gone, in order.
inline std::vector<std::string> goneNames(const tidvale::RemovalReport& report)
{
    std::vector<std::string> out;
    for (const auto& o : report.outcomes)
        if (o.isGone())
            out.push_back(o.path.substr(o.path.rfind('/') + 1));
    return out;
}

// What a removal left on purpose or failed at, as (path, message), in order.
inline std::vector<std::pair<std::string, std::string>> failures(
    const tidvale::RemovalReport& report)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& o : report.outcomes)
        if (o.status == tidvale::RemovalStatus::refused
            || o.status == tidvale::RemovalStatus::failed)
            out.emplace_back(o.path, o.message);
    return out;
}

// What a removal left for the administrator, in order.
inline std::vector<tidvale::RemovalOutcome> needingAdmin(const tidvale::RemovalReport& report)
{
    std::vector<tidvale::RemovalOutcome> out;
    for (const auto& o : report.outcomes)
        if (o.status == tidvale::RemovalStatus::needsAdministrator)
            out.push_back(o);
    return out;
}

// The paths a removal did not make go, in order.
inline std::vector<std::string> leftPaths(const tidvale::RemovalReport& report)
{
    std::vector<std::string> out;
    for (const auto* o : report.left())
        out.push_back(o->path);
    return out;
}

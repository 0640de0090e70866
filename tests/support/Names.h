#pragma once

// The `name` of each record, in order: how most listings are compared; and the record
// of a name, which must be listed.
#include <stdexcept>
#include <string>
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

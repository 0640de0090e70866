#pragma once

// The `name` of each record, in order: how most listings are compared.
#include <string>
#include <vector>

template <class Record> std::vector<std::string> names(const std::vector<Record>& records)
{
    std::vector<std::string> out;
    for (const auto& r : records)
        out.push_back(r.name);
    return out;
}

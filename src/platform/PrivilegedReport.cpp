#include "platform/PrivilegedReport.h"

#include <charconv>

namespace tidvale::platform {
namespace {

template <class T> bool parseNumber(std::string_view text, T& value)
{
    if (text.empty() || text.front() == '+')
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

} // namespace

std::string privilegedReportLine(size_t index, const PrivilegedPathResult& result)
{
    const std::string at = std::to_string(index);
    switch (result.status) {
    case PrivilegedStatus::removed:
        return "removed\t" + at + "\n";
    case PrivilegedStatus::missing:
        return "missing\t" + at + "\n";
    case PrivilegedStatus::refused:
        return "refused\t" + at + "\n";
    case PrivilegedStatus::failed:
        return "error\t" + at + "\t" + std::to_string(result.error) + "\n";
    case PrivilegedStatus::unknown:
        break;
    }
    return {};
}

std::vector<PrivilegedPathResult> parsePrivilegedReport(std::string_view report, size_t count)
{
    std::vector<PrivilegedPathResult> results(count);
    while (!report.empty()) {
        const size_t newline = report.find('\n');
        if (newline == std::string_view::npos)
            break; // a line cut short says nothing for sure
        std::string_view line = report.substr(0, newline);
        report.remove_prefix(newline + 1);

        std::vector<std::string_view> fields;
        for (size_t tab; (tab = line.find('\t')) != std::string_view::npos;) {
            fields.push_back(line.substr(0, tab));
            line.remove_prefix(tab + 1);
        }
        fields.push_back(line);

        size_t index = 0;
        if (fields.size() < 2 || !parseNumber(fields[1], index) || index >= count
            || results[index].status != PrivilegedStatus::unknown)
            continue;
        PrivilegedPathResult r;
        if (fields.size() == 2 && fields[0] == "removed")
            r.status = PrivilegedStatus::removed;
        else if (fields.size() == 2 && fields[0] == "missing")
            r.status = PrivilegedStatus::missing;
        else if (fields.size() == 2 && fields[0] == "refused")
            r.status = PrivilegedStatus::refused;
        else if (fields.size() == 3 && fields[0] == "error" && parseNumber(fields[2], r.error)
            && r.error != 0)
            r.status = PrivilegedStatus::failed;
        else
            continue;
        results[index] = r;
    }
    return results;
}

} // namespace tidvale::platform

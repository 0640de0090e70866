#include "cli/Command.h"

#include <algorithm>
#include <charconv>
#include <ostream>

namespace tidvale::cli {
namespace {

std::vector<Command>& registry()
{
    static std::vector<Command> list;
    return list;
}

size_t displayWidth(const std::string& s)
{
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

} // namespace

Registration::Registration(Command c)
{
    auto& list = registry();
    list.push_back(c);
    std::sort(list.begin(), list.end(),
        [](const Command& a, const Command& b) { return std::string(a.name) < b.name; });
}

const std::vector<Command>& commands()
{
    return registry();
}

void printJson(std::ostream& out, const nlohmann::json& value)
{
    out << value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows)
{
    std::vector<size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(row[i]));
    }
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line += std::string(widths[i] - displayWidth(row[i]) + 2, ' ');
        }
        out << line << "\n";
    }
}

bool takeOption(std::vector<std::string>& args, const std::string& flag, std::string& value)
{
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == "--")
            return false;
        if (*it == flag) {
            if (it + 1 == args.end())
                throw UsageError("a " + flag + " le falta su valor");
            value = *(it + 1);
            args.erase(it, it + 2);
            return true;
        }
    }
    return false;
}

bool takeFlag(std::vector<std::string>& args, const std::string& flag)
{
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == "--")
            return false;
        if (*it == flag) {
            args.erase(it);
            return true;
        }
    }
    return false;
}

void rejectUnknownOptions(const std::vector<std::string>& args)
{
    for (const auto& a : args) {
        if (a == "--")
            return;
        if (a.size() > 1 && a[0] == '-')
            throw UsageError("opción desconocida: " + a);
    }
}

int64_t parseByteCount(const std::string& text)
{
    int64_t v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < 0)
        throw UsageError("no es un número de bytes válido: " + text);
    return v;
}

} // namespace tidvale::cli

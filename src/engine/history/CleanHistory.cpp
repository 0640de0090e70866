#include "engine/history/CleanHistory.h"

#include "engine/format/DateText.h"
#include "engine/fs/OwnFiles.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace tidvale {
namespace {

using json = nlohmann::json;

constexpr std::time_t kYear = 365 * 24 * 3600;

} // namespace

const char* historyOutcomeName(HistoryItem::Outcome outcome)
{
    switch (outcome) {
    case HistoryItem::Outcome::deleted:
        return "deleted";
    case HistoryItem::Outcome::trashed:
        return "trashed";
    case HistoryItem::Outcome::edited:
        return "edited";
    case HistoryItem::Outcome::left:
        return "left";
    }
    return "left";
}

namespace {

std::optional<HistoryItem::Outcome> outcomeNamed(const std::string& name)
{
    for (auto outcome : {HistoryItem::Outcome::deleted, HistoryItem::Outcome::trashed,
             HistoryItem::Outcome::edited, HistoryItem::Outcome::left})
        if (name == historyOutcomeName(outcome))
            return outcome;
    return std::nullopt;
}

bool isValidUtf8(const std::string& text)
{
    try {
        (void)json(text).dump();
        return true;
    } catch (const json::type_error&) {
        return false;
    }
}

std::string hexOf(const std::string& bytes)
{
    static const char* kDigits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

std::optional<std::string> bytesOfHex(const std::string& hex)
{
    if (hex.size() % 2)
        return std::nullopt;
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const auto digit = [](char c) {
            return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        };
        const int hi = digit(hex[i]), lo = digit(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

// A name that is not UTF-8 is a valid file name all the same: JSON cannot hold its
// bytes as text (they are written as replacement characters), so they go beside it in
// hexadecimal and win when read back.
void putPath(json& object, const char* key, const std::string& path)
{
    object[key] = path;
    if (!isValidUtf8(path))
        object[std::string(key) + "_hex"] = hexOf(path);
}

std::string getPath(const json& object, const char* key)
{
    if (auto hex = object.find(std::string(key) + "_hex"); hex != object.end() && hex->is_string())
        if (auto bytes = bytesOfHex(hex->get<std::string>()))
            return *bytes;
    return object.value(key, std::string());
}

std::string lineOf(const HistoryRun& run)
{
    json items = json::array();
    for (const auto& item : run.items) {
        json entry{{"size", item.size}, {"outcome", historyOutcomeName(item.outcome)}};
        putPath(entry, "path", item.path);
        if (!item.trashedAs.empty())
            putPath(entry, "trash", item.trashedAs);
        if (!item.reason.empty())
            entry["reason"] = item.reason;
        items.push_back(std::move(entry));
    }
    const json record{{"id", run.id}, {"time", formatIsoDate(run.when)}, {"epoch", run.when},
        {"source", run.source}, {"freed", run.freed}, {"items", std::move(items)}};
    return record.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

std::optional<HistoryRun> runOfLine(const std::string& line)
{
    const json record = json::parse(line, nullptr, false);
    if (!record.is_object() || !record.contains("id") || !record["id"].is_string()
        || !record.contains("epoch") || !record["epoch"].is_number_integer()
        || !record.contains("items") || !record["items"].is_array())
        return std::nullopt;
    HistoryRun run;
    try {
        run.id = record["id"].get<std::string>();
        run.when = record["epoch"].get<std::time_t>();
        run.source = record.value("source", std::string());
        run.freed = record.value("freed", int64_t{0});
        for (const auto& entry : record["items"]) {
            HistoryItem item;
            item.path = getPath(entry, "path");
            item.size = entry.value("size", int64_t{0});
            const auto outcome = outcomeNamed(entry.value("outcome", std::string()));
            if (item.path.empty() || !outcome)
                return std::nullopt;
            item.outcome = *outcome;
            item.trashedAs = getPath(entry, "trash");
            item.reason = entry.value("reason", std::string());
            run.items.push_back(std::move(item));
        }
    } catch (const json::exception&) {
        return std::nullopt;
    }
    return run;
}

std::string folderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('/'));
}

std::string nameOf(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

} // namespace

std::vector<RemovalOutcome> HistoryRun::undoable() const
{
    std::vector<RemovalOutcome> outcomes;
    for (const auto& item : items)
        if (item.outcome == HistoryItem::Outcome::trashed
            || item.outcome == HistoryItem::Outcome::edited
            || item.outcome == HistoryItem::Outcome::deleted) {
            RemovalOutcome outcome = outcomeAt(item.path, {});
            outcome.size = item.size;
            outcome.trashedAs = item.trashedAs;
            outcome.edited = item.outcome == HistoryItem::Outcome::edited;
            outcomes.push_back(std::move(outcome));
        }
    return outcomes;
}

std::string historyItemText(const HistoryItem& item)
{
    switch (item.outcome) {
    case HistoryItem::Outcome::deleted:
        return "Eliminado";
    case HistoryItem::Outcome::trashed:
        return "En la Papelera";
    case HistoryItem::Outcome::edited:
        return "Modificado (copia en la Papelera)";
    case HistoryItem::Outcome::left:
        return "Se dejó" + (item.reason.empty() ? std::string() : ": " + item.reason);
    }
    return {};
}

HistoryRun historyRunOf(const RemovalReport& report, std::string source, std::time_t when)
{
    HistoryRun run;
    run.when = when;
    run.source = std::move(source);
    run.freed = report.freed();
    for (const auto& outcome : report.outcomes) {
        HistoryItem item{outcome.path, outcome.size, HistoryItem::Outcome::left, {}, {}};
        if (outcome.edited)
            item.outcome = HistoryItem::Outcome::edited;
        else if (outcome.isGone())
            item.outcome = outcome.trashedAs.empty() ? HistoryItem::Outcome::deleted
                                                     : HistoryItem::Outcome::trashed;
        if (outcome.isGone() || outcome.edited)
            item.trashedAs = outcome.trashedAs;
        else
            item.reason = outcome.message.empty() && outcome.status == RemovalStatus::changed
                ? "Cambió desde que se listó."
                : outcome.message;
        run.items.push_back(std::move(item));
    }
    return run;
}

HistoryRead readHistory(const std::string& path)
{
    HistoryRead history;
    const OwnFileText file = readOwnFile(path, 512u << 20);
    if (file.error) {
        history.error = *file.error;
        return history;
    }
    std::istringstream in(file.text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty())
            continue;
        if (auto run = runOfLine(line))
            history.runs.push_back(std::move(*run));
        else
            history.damagedLines.push_back(number);
    }
    return history;
}

std::optional<std::string> appendHistory(const std::string& path, HistoryRun& run)
{
    const HistoryRead history = readHistory(path);
    std::set<std::string> taken;
    for (const auto& old : history.runs)
        taken.insert(old.id);
    std::tm utc{};
    gmtime_r(&run.when, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    run.id = stamp;
    for (int n = 2; taken.count(run.id); ++n)
        run.id = std::string(stamp) + "-" + std::to_string(n);

    const bool trim = !history.runs.empty() && history.runs.front().when < run.when - kYear;
    if (!trim)
        return appendOwnLine(folderOf(path), nameOf(path), lineOf(run));
    // A damaged line has no date to judge it by; it goes with the year it sat among.
    std::string kept;
    for (const auto& old : history.runs)
        if (old.when >= run.when - kYear)
            kept += lineOf(old);
    kept += lineOf(run);
    return writeOwnFile(folderOf(path), nameOf(path), kept);
}

const HistoryRun* findRun(const HistoryRead& history, const std::string& id)
{
    if (history.runs.empty())
        return nullptr;
    if (id.empty() || id == "last")
        return &history.runs.back();
    for (const auto& run : history.runs)
        if (run.id == id)
            return &run;
    return nullptr;
}

std::string damagedLinesText(const std::string& path, const std::vector<int>& lines)
{
    std::string numbers;
    for (size_t i = 0; i < lines.size() && i < 10; ++i)
        numbers += (i ? ", " : "") + std::to_string(lines[i]);
    if (lines.size() > 10)
        numbers += ", …";
    return "Se saltaron " + std::to_string(lines.size())
        + (lines.size() == 1 ? " línea dañada" : " líneas dañadas") + " de “" + path + "” (línea"
        + (lines.size() == 1 ? " " : "s ") + numbers + ").";
}

} // namespace tidvale

#include "engine/settings/SettingsFile.h"

#include "engine/fs/OwnFiles.h"
#include "engine/fs/PathText.h"

#include <toml++/toml.h>

#include <algorithm>
#include <sstream>

namespace tidvale {
namespace {

// A settings file is a few lines; anything this large is not one.
constexpr size_t kMaxSettingsBytes = 256 * 1024;

const char* const kHeader
    = "# Ajustes de Tidvale. Los escriben la ventana Preferencias y «tidvale-cli settings»;\n"
      "# también se pueden editar aquí. Los comentarios no se conservan al guardar.\n\n";

enum class Kind { text, texts, number, flag };

Kind kindOf(std::string_view key)
{
    if (key == "trash_max_age_days")
        return Kind::number;
    if (key == "history" || key == "notify")
        return Kind::flag;
    return isListSetting(key) ? Kind::texts : Kind::text;
}

const char* kindName(Kind kind)
{
    switch (kind) {
    case Kind::text:
        return "un texto entre comillas";
    case Kind::texts:
        return "una lista de textos entre comillas";
    case Kind::number:
        return "un número entero";
    case Kind::flag:
        return "true o false";
    }
    return "";
}

// The node's value as the texts setSetting takes, or nothing when it is of another
// TOML type than the key's.
std::optional<std::vector<std::string>> textsOf(const toml::node& node, Kind kind)
{
    switch (kind) {
    case Kind::text:
        if (auto text = node.value_exact<std::string>())
            return std::vector{*text};
        return std::nullopt;
    case Kind::number:
        if (auto number = node.value_exact<int64_t>())
            return std::vector{std::to_string(*number)};
        return std::nullopt;
    case Kind::flag:
        if (auto flag = node.value_exact<bool>())
            return std::vector<std::string>{*flag ? "true" : "false"};
        return std::nullopt;
    case Kind::texts:
        break;
    }
    const toml::array* array = node.as_array();
    if (!array)
        return std::nullopt;
    std::vector<std::string> texts;
    for (const toml::node& item : *array) {
        auto text = item.value_exact<std::string>();
        if (!text)
            return std::nullopt;
        texts.push_back(*text);
    }
    // An empty list stays empty: setSetting reads one "" as "empty it".
    if (texts.size() == 1 && texts[0].empty())
        return std::nullopt;
    return texts;
}

struct Parsed {
    toml::table table;
    std::optional<SettingsDamage> damage;
    bool exists = false;
};

Parsed parse(const std::string& path)
{
    Parsed parsed;
    const OwnFileText file = readOwnFile(path, kMaxSettingsBytes);
    parsed.exists = file.exists;
    if (file.error) {
        parsed.damage = SettingsDamage{0, *file.error};
        return parsed;
    }
    try {
        parsed.table = toml::parse(file.text, path);
    } catch (const toml::parse_error& error) {
        // The library's own text is English; where it is is what the user needs.
        parsed.damage = SettingsDamage{static_cast<int>(error.source().begin.line),
            "el archivo no es TOML válido (columna " + std::to_string(error.source().begin.column)
                + ")"};
    }
    return parsed;
}

void insertValue(toml::table& table, std::string_view key, const Settings& s)
{
    const auto list = [](const std::vector<std::string>& items) {
        toml::array array;
        for (const auto& item : items)
            array.push_back(item);
        return array;
    };
    if (key == "schedule")
        table.insert_or_assign(key, std::string(scheduleName(s.schedule)));
    else if (key == "schedule_at")
        table.insert_or_assign(key, timeOfDayText(s.scheduleAt));
    else if (key == "categories")
        table.insert_or_assign(key, list(s.categories));
    else if (key == "trash_max_age_days")
        table.insert_or_assign(key, static_cast<int64_t>(s.trashMaxAgeDays));
    else if (key == "keep")
        table.insert_or_assign(key, list(s.keep));
    else if (key == "keep_sites")
        table.insert_or_assign(key, list(s.keepSites));
    else if (key == "history")
        table.insert_or_assign(key, s.history);
    else if (key == "notify")
        table.insert_or_assign(key, s.notify);
}

// Double quotes and every character as it is, as a person would write the file.
constexpr auto kFormat
    = toml::format_flags::allow_unicode_strings | toml::format_flags::indentation;

std::string formatted(const toml::table& table)
{
    std::ostringstream out;
    out << toml::toml_formatter(table, kFormat);
    return out.str();
}

// The values of a parsed file, each checked as the command line checks it; the first
// wrong one is the damage.
SettingsRead interpreted(const Parsed& parsed)
{
    SettingsRead read;
    read.exists = parsed.exists;
    read.damage = parsed.damage;
    if (read.damage)
        return read;
    Settings values;
    for (const auto& [key, node] : parsed.table) {
        const std::string name(key.str());
        if (settingKeyRefusal(name)) {
            read.unknownKeys.push_back(name);
            continue;
        }
        const Kind kind = kindOf(name);
        const auto texts = textsOf(node, kind);
        const auto refusal
            = texts ? setSetting(values, name, *texts) : name + " debe ser " + kindName(kind);
        if (refusal) {
            read.damage = SettingsDamage{static_cast<int>(node.source().begin.line), *refusal};
            read.unknownKeys.clear();
            return read;
        }
    }
    read.values = values;
    return read;
}

} // namespace

SettingsRead readSettings(const std::string& path)
{
    return interpreted(parse(path));
}

std::optional<std::string> writeSettings(
    const std::string& path, const Settings& settings, bool replaceDamaged)
{
    Parsed current = parse(path);
    if (const SettingsRead read = interpreted(current); read.damage) {
        if (!replaceDamaged)
            return damageText(path, *read.damage);
        current.table.clear();
    }

    std::string text = kHeader;
    for (std::string_view key : kSettingKeys) {
        toml::table one;
        insertValue(one, key, settings);
        text += formatted(one) + "\n";
        current.table.erase(key);
    }
    if (!current.table.empty())
        text += "\n# Claves que Tidvale no conoce: se conservan tal cual.\n"
            + formatted(current.table) + "\n";
    return writeOwnFile(parentFolder(path), lastPathComponent(path), text);
}

std::string settingValueText(const Settings& settings, std::string_view key)
{
    toml::table one;
    insertValue(one, key, settings);
    std::string line = formatted(one);
    const size_t equals = line.find(" = ");
    return equals == std::string::npos ? line : line.substr(equals + 3);
}

std::string damageText(const std::string& path, const SettingsDamage& damage)
{
    const std::string where = damage.line > 0
        ? lastPathComponent(path) + ", línea " + std::to_string(damage.line) + ": "
        : std::string();
    std::string message = damage.message;
    if (!message.ends_with('.'))
        message += '.';
    return where + message + " Se usan los valores por omisión y “" + path
        + "” no se modifica hasta que se corrija o se borre.";
}

} // namespace tidvale

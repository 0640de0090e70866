#pragma once

// The settings file, TOML through toml++. A missing file is the defaults; a damaged
// one is reported with its line and the defaults are used, and it is never
// overwritten while it is damaged: the user's own words are not Tidvale's to throw
// away.
#include "engine/settings/Settings.h"

#include <optional>
#include <string>
#include <vector>

namespace tidvale {

struct SettingsDamage {
    int line = 0; // 0: the file as a whole (unreadable, not a file)
    std::string message;
};

struct SettingsRead {
    Settings values; // the file's, or the defaults when it is missing or damaged
    bool exists = false;
    std::optional<SettingsDamage> damage;
    // Keys Tidvale does not know (a typing slip, or a later version's): kept when the
    // file is written, never used.
    std::vector<std::string> unknownKeys;
};

SettingsRead readSettings(const std::string& path);

// Writes every key of `settings`, then the unknown keys the file holds now, as they
// are (comments are not kept). Refused while the file is damaged, unless
// `replaceDamaged` (the user asked to start from the defaults). The reason in Spanish
// when nothing was written.
std::optional<std::string> writeSettings(
    const std::string& path, const Settings& settings, bool replaceDamaged = false);

// The value of `key` as the file writes it ("\"daily\"", "[\"/a\", \"/b\"]", "true").
std::string settingValueText(const Settings& settings, std::string_view key);

// "tidvale.toml, línea 3: …" and what is done about it, for a status line or stderr.
std::string damageText(const std::string& path, const SettingsDamage& damage);

} // namespace tidvale

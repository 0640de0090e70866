#pragma once

// What the user may turn on. Every default is "off" or what Tidvale does without a
// settings file, so a missing file and a file of defaults behave the same.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale {

enum class Schedule { off, daily, weekly, monthly };

struct TimeOfDay {
    int hour = 3;
    int minute = 30;
    bool operator==(const TimeOfDay&) const = default;
};

struct Settings {
    Schedule schedule = Schedule::off;
    // When the scheduled clean runs: at night, when the machine is idle; a machine
    // that was off then runs it at its next start.
    TimeOfDay scheduleAt;
    // The junk categories' display names a scheduled clean includes (every one by
    // default), as `clean --category` takes them.
    std::vector<std::string> categories = allCategoryNames();
    int trashMaxAgeDays = 0;       // 0: the Trash's age is not a rule
    std::vector<std::string> keep; // absolute paths no clean may remove
    // Sites whose cookies and site data a clean leaves (each domain with its
    // subdomains), so that the user stays signed in there.
    std::vector<std::string> keepSites;
    bool history = false;
    bool notify = true;

    static std::vector<std::string> allCategoryNames();
    bool operator==(const Settings&) const = default;
};

// The keys of the file, in the order it and every listing shows them.
inline constexpr std::array<std::string_view, 8> kSettingKeys{"schedule", "schedule_at",
    "categories", "trash_max_age_days", "keep", "keep_sites", "history", "notify"};

bool isListSetting(std::string_view key);
// Why `key` is not one of them, with the list of those that are; nothing when it is.
std::optional<std::string> settingKeyRefusal(std::string_view key);

// Sets `key` from the texts a user typed: one for a single value, one per item for a
// list (a list of one "" or "[]" empties it). The reason in Spanish when the key is
// unknown or a value is not valid; `settings` is then unchanged.
std::optional<std::string> setSetting(
    Settings& settings, std::string_view key, const std::vector<std::string>& values);

// The checks both the file and the command line go through; each gives the reason in
// Spanish when the value is not valid.
std::optional<Schedule> scheduleNamed(std::string_view name);
std::string_view scheduleName(Schedule schedule);
std::optional<TimeOfDay> parseTimeOfDay(std::string_view text); // "HH:MM"
std::string timeOfDayText(TimeOfDay time);                      // "03:30"
std::optional<std::string> categoriesRefusal(const std::vector<std::string>& names);
std::optional<std::string> keepRefusal(const std::vector<std::string>& paths);
// Each site is lowered and loses a leading "." ("Mail.Example.org" → "mail.example.org");
// the reason when one is not a bare domain or address.
std::optional<std::string> normalizeKeepSites(std::vector<std::string>& sites);
std::optional<std::string> trashAgeRefusal(long long days);

} // namespace tidvale

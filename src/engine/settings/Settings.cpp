#include "engine/settings/Settings.h"

#include "engine/records/ScanCategory.h"

#include <algorithm>
#include <charconv>

namespace tidvale {
namespace {

constexpr std::array<std::string_view, 4> kScheduleNames{"off", "daily", "weekly", "monthly"};

// Days enough for any Trash; a larger number is a typing slip, not a wish.
constexpr long long kMaxTrashAgeDays = 36500;

std::optional<long long> wholeNumber(std::string_view text)
{
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<bool> boolean(std::string_view text)
{
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    return std::nullopt;
}

std::string quoted(std::string_view text)
{
    return "«" + std::string(text) + "»";
}

} // namespace

std::vector<std::string> Settings::allCategoryNames()
{
    std::vector<std::string> names;
    for (ScanCategory c : allCategories)
        names.emplace_back(displayName(c));
    return names;
}

bool isListSetting(std::string_view key)
{
    return key == "categories" || key == "keep" || key == "keep_sites";
}

std::optional<std::string> settingKeyRefusal(std::string_view key)
{
    if (std::find(kSettingKeys.begin(), kSettingKeys.end(), key) != kSettingKeys.end())
        return std::nullopt;
    std::string known;
    for (std::string_view k : kSettingKeys)
        known += (known.empty() ? "" : ", ") + std::string(k);
    return "clave desconocida: " + quoted(key) + " (son: " + known + ")";
}

std::optional<Schedule> scheduleNamed(std::string_view name)
{
    for (size_t i = 0; i < kScheduleNames.size(); ++i)
        if (kScheduleNames[i] == name)
            return static_cast<Schedule>(i);
    return std::nullopt;
}

std::string_view scheduleName(Schedule schedule)
{
    return kScheduleNames[static_cast<size_t>(schedule)];
}

std::optional<TimeOfDay> parseTimeOfDay(std::string_view text)
{
    if (text.size() != 5 || text[2] != ':')
        return std::nullopt;
    const auto digits = [](std::string_view two) {
        return std::all_of(two.begin(), two.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(text.substr(0, 2)) || !digits(text.substr(3, 2)))
        return std::nullopt;
    const TimeOfDay time{
        (text[0] - '0') * 10 + (text[1] - '0'), (text[3] - '0') * 10 + (text[4] - '0')};
    if (time.hour > 23 || time.minute > 59)
        return std::nullopt;
    return time;
}

std::string timeOfDayText(TimeOfDay time)
{
    const char text[] = {char('0' + time.hour / 10), char('0' + time.hour % 10), ':',
        char('0' + time.minute / 10), char('0' + time.minute % 10)};
    return std::string(text, sizeof text);
}

std::optional<std::string> categoriesRefusal(const std::vector<std::string>& names)
{
    for (const auto& name : names) {
        if (categoryFromDisplayName(name))
            continue;
        std::string known;
        for (const auto& n : Settings::allCategoryNames())
            known += (known.empty() ? "" : ", ") + n;
        return "categoría desconocida: " + quoted(name) + " (son: " + known + ")";
    }
    return std::nullopt;
}

// A keep-list entry only ever stops a removal, but one that is relative, or climbs
// with "..", names no fixed place and would protect something else than meant.
std::optional<std::string> keepRefusal(const std::vector<std::string>& paths)
{
    for (const auto& path : paths) {
        if (path.empty() || path.front() != '/')
            return "keep solo admite rutas absolutas: " + quoted(path);
        if (path.find("/../") != std::string::npos || path.ends_with("/.."))
            return "keep no admite «..» en una ruta: " + quoted(path);
    }
    return std::nullopt;
}

// A site is kept by its host name, as cookies name it; a scheme, a path or a port would
// match nothing a browser stores, so it is refused rather than silently kept.
std::optional<std::string> normalizeKeepSites(std::vector<std::string>& sites)
{
    for (auto& site : sites) {
        std::string host = site;
        for (char& c : host)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        while (!host.empty() && host.front() == '.')
            host.erase(host.begin());
        const bool plain = !host.empty() && host.size() <= 253
            && std::all_of(host.begin(), host.end(),
                [](char c) {
                    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-';
                })
            && host.find("..") == std::string::npos && host.back() != '.';
        if (!plain)
            return "keep_sites solo admite dominios como mail.example.org (sin http:// ni "
                   "rutas): "
                + quoted(site);
        site = std::move(host);
    }
    return std::nullopt;
}

std::optional<std::string> trashAgeRefusal(long long days)
{
    if (days < 0 || days > kMaxTrashAgeDays)
        return "trash_max_age_days debe ser un número de días entre 0 (desactivado) y "
            + std::to_string(kMaxTrashAgeDays);
    return std::nullopt;
}

std::optional<std::string> setSetting(
    Settings& settings, std::string_view key, const std::vector<std::string>& values)
{
    if (auto refusal = settingKeyRefusal(key))
        return refusal;
    std::vector<std::string> items = values;
    if (items.size() == 1 && (items[0].empty() || items[0] == "[]") && isListSetting(key))
        items.clear();
    if (!isListSetting(key) && items.size() != 1)
        return std::string(key) + " toma un solo valor";

    Settings changed = settings;
    const std::string& value = items.empty() ? std::string() : items[0];
    if (key == "schedule") {
        const auto schedule = scheduleNamed(value);
        if (!schedule)
            return quoted(value) + " no es un valor de schedule: usa off, daily, weekly o monthly";
        changed.schedule = *schedule;
    } else if (key == "schedule_at") {
        const auto time = parseTimeOfDay(value);
        if (!time)
            return "schedule_at es una hora HH:MM, de 00:00 a 23:59, no " + quoted(value);
        changed.scheduleAt = *time;
    } else if (key == "categories") {
        if (auto refusal = categoriesRefusal(items))
            return refusal;
        changed.categories = items;
    } else if (key == "trash_max_age_days") {
        const auto days = wholeNumber(value);
        if (!days)
            return "trash_max_age_days es un número entero de días, no " + quoted(value);
        if (auto refusal = trashAgeRefusal(*days))
            return refusal;
        changed.trashMaxAgeDays = static_cast<int>(*days);
    } else if (key == "keep") {
        for (auto& path : items)
            while (path.size() > 1 && path.back() == '/')
                path.pop_back();
        if (auto refusal = keepRefusal(items))
            return refusal;
        changed.keep = items;
    } else if (key == "keep_sites") {
        if (auto refusal = normalizeKeepSites(items))
            return refusal;
        changed.keepSites = items;
    } else {
        const auto flag = boolean(value);
        if (!flag)
            return std::string(key) + " es true o false, no " + quoted(value);
        (key == "history" ? changed.history : changed.notify) = *flag;
    }
    settings = std::move(changed);
    return std::nullopt;
}

} // namespace tidvale

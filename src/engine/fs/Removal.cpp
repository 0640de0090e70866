#include "engine/fs/Removal.h"

#include <algorithm>

namespace tidvale {

void RemovalReport::append(const RemovalReport& later)
{
    outcomes.insert(outcomes.end(), later.outcomes.begin(), later.outcomes.end());
}

int64_t RemovalReport::freed() const
{
    int64_t total = 0;
    for (const auto& outcome : outcomes)
        total += outcome.isGone() ? outcome.freed : 0;
    return total;
}

int RemovalReport::count(RemovalStatus status) const
{
    return static_cast<int>(std::count_if(outcomes.begin(), outcomes.end(),
        [&](const RemovalOutcome& outcome) { return outcome.status == status; }));
}

bool RemovalReport::isGone(const std::string& key) const
{
    return std::any_of(outcomes.begin(), outcomes.end(),
        [&](const RemovalOutcome& outcome) { return outcome.isGone() && outcome.key == key; });
}

std::set<std::string> RemovalReport::goneKeys() const
{
    std::set<std::string> keys;
    for (const auto& outcome : outcomes)
        if (outcome.isGone())
            keys.insert(outcome.key);
    return keys;
}

const RemovalOutcome* RemovalReport::first(RemovalStatus status) const
{
    for (const auto& outcome : outcomes)
        if (outcome.status == status)
            return &outcome;
    return nullptr;
}

std::vector<const RemovalOutcome*> RemovalReport::left() const
{
    std::vector<const RemovalOutcome*> out;
    for (const auto& outcome : outcomes)
        if (!outcome.isGone())
            out.push_back(&outcome);
    return out;
}

RemovalOutcome outcomeAt(const std::string& path, std::string error)
{
    const RemovalStatus status = error.empty() ? RemovalStatus::gone : RemovalStatus::failed;
    return {path, path, 0, status, std::move(error), 0, {}, false};
}

void addRemoved(RemovalOutcome& outcome, const RemoveOutcome& removed)
{
    outcome.freed += removed.freed;
    if (!removed.ok() && outcome.status == RemovalStatus::gone) {
        outcome.status = RemovalStatus::failed;
        outcome.message = describeRemoveError(removed.error, removed.where);
    }
}

RemovalOutcome outcomeOf(const RemovalTarget& target, RemovalStatus status, std::string message)
{
    return {target.key, target.path, target.size, status, std::move(message), 0, {}, false};
}

RemovalReport trashTargets(
    platform::Trash& trash, const std::vector<RemovalTarget>& targets, const JobControl& job)
{
    const auto total = static_cast<int64_t>(targets.size());
    RemovalReport report;
    report.outcomes.reserve(targets.size());
    job.count(0, total);
    for (const auto& target : targets) {
        if (!isUnchangedSinceListed({target.path, target.listed})) {
            report.add(outcomeOf(target, RemovalStatus::changed, {}));
        } else if (auto moved = trash.moveToTrash(target.path); moved.ok) {
            RemovalOutcome outcome = outcomeOf(target, RemovalStatus::gone, {});
            outcome.freed = target.size;
            outcome.trashedAs = std::move(moved.trashedAs);
            report.add(std::move(outcome));
        } else {
            report.add(outcomeOf(target, RemovalStatus::failed, std::move(moved.error)));
        }
        job.count(static_cast<int64_t>(report.outcomes.size()), total);
    }
    return report;
}

} // namespace tidvale

#pragma once

#include "engine/core/Job.h"
#include "engine/fs/ListedItem.h"
#include "engine/fs/SafeRemove.h"
#include "platform/Trash.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace tidvale {

// What one entry of a list is, for a removal: the key the list knows its row by (its
// path unless said otherwise), where it is, what it was when it was listed and how big
// it was then.
struct RemovalTarget {
    std::string key;
    std::string path;
    ListedStamp listed;
    int64_t size = 0;
};

enum class RemovalStatus {
    gone,               // removed, moved to the Trash, or found already gone
    changed,            // the path no longer holds what was listed: left alone
    refused,            // left on purpose (a running program, a folder that fails its check)
    needsAdministrator, // the user may not remove it; a password could
    failed,             // the removal was tried and did not happen
};

// What became of one target. Only a gone target frees bytes, and `freed` is what
// really went (a tree that shrank since the listing frees what it held then, not
// what was listed); `message` says why for every other status.
struct RemovalOutcome {
    std::string key;
    std::string path;
    int64_t size = 0; // as listed
    RemovalStatus status = RemovalStatus::failed;
    std::string message;
    int64_t freed = 0;
    // Where a gone target now is in the Trash ("" when it was deleted for good): what
    // an undo puts back. For an `edited` target, a copy of it as it was before.
    std::string trashedAs;
    // The target was changed in place (a database whose rows were removed), not
    // removed; `trashedAs` holds the copy an undo puts back over it.
    bool edited = false;

    bool isGone() const { return status == RemovalStatus::gone; }
};

// Every removal in the program answers with one of these: one outcome per target, in
// the order the targets were given, so that a list applies it by key and a command
// prints it, and the totals are the sum of the outcomes.
struct RemovalReport {
    std::vector<RemovalOutcome> outcomes;

    void add(RemovalOutcome outcome) { outcomes.push_back(std::move(outcome)); }
    void append(const RemovalReport& later);

    int64_t freed() const;
    int count(RemovalStatus status) const;
    bool any(RemovalStatus status) const { return count(status) > 0; }
    // Whether the row known by `key` is gone.
    bool isGone(const std::string& key) const;
    std::set<std::string> goneKeys() const;
    // The first outcome of that status; null when none has it.
    const RemovalOutcome* first(RemovalStatus status) const;
    // The targets that stay: everything but the gone ones.
    std::vector<const RemovalOutcome*> left() const;
};

// A dry run checks every target as the removal would and touches nothing: what would
// go reads gone, freeing its listed size.
enum class RemovalMode { remove, dryRun };

// The outcome at `path` of a removal that either happened or failed with `error`: gone
// when `error` is empty, else failed with it. Frees nothing it knows of.
RemovalOutcome outcomeAt(const std::string& path, std::string error);

// Adds one removal inside a target (an entry of a folder being emptied) to its
// outcome: what it freed, and the first failure, which then stands for the target.
void addRemoved(RemovalOutcome& outcome, const RemoveOutcome& removed);

// The outcome of a target reached no further than a check made before any removal.
RemovalOutcome outcomeOf(const RemovalTarget& target, RemovalStatus status, std::string message);

// Moves each target to `trash`, in order, only while its path still holds the entry
// that was listed: gone (freeing its listed size), changed, or failed with the
// Trash's own reason. Blocks. The job counts the targets handled so far, of all of
// them; it cannot stop the moves.
RemovalReport trashTargets(
    platform::Trash& trash, const std::vector<RemovalTarget>& targets, const JobControl& job = {});

// The targets of records that carry their `path`, `listed` stamp and `size` (a large
// file, a download, an application), keyed by path.
template <class Record> std::vector<RemovalTarget> targetsOf(const std::vector<Record>& records)
{
    std::vector<RemovalTarget> targets;
    targets.reserve(records.size());
    for (const Record& record : records)
        targets.push_back({record.path, record.path, record.listed, record.size});
    return targets;
}

} // namespace tidvale

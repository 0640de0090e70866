#pragma once

#include "engine/fs/ListedItem.h"

#include <QString>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace tidvale::gui {

// What one move of listed entries to the Trash did, for the list and the status line.
struct TrashBatch {
    TrashTally tally;
    int64_t freed = 0;           // the listed sizes of the entries moved
    std::set<std::string> moved; // their paths

    bool wasMoved(const std::string& path) const { return moved.count(path) > 0; }
};

// Moves `items` to `trash` through the engine's identity re-check, in order: each one
// only while its path still holds the entry that was listed. `sizes[i]` counts as
// freed when item i moved. Blocks.
TrashBatch trashListed(platform::Trash& trash, const std::vector<ListedItem>& items,
    const std::vector<int64_t>& sizes, const JobControl& job = {});

// The same for records that carry their `path`, `listed` stamp and `size` (a large
// file, a download, an application).
template <class Record>
TrashBatch trashRecords(
    platform::Trash& trash, const std::vector<Record>& records, const JobControl& job = {})
{
    std::vector<ListedItem> items;
    std::vector<int64_t> sizes;
    for (const Record& record : records) {
        items.push_back({record.path, record.listed});
        sizes.push_back(record.size);
    }
    return trashListed(trash, items, sizes, job);
}

// The status line after a move to the Trash. `success` is the screen's own line for
// what was moved ("✅ Liberado: 3 MB"); it leads when anything was moved. Entries the
// Trash refused are counted with the Trash's reason for the first one, and entries
// that changed since they were listed are named as such. When nothing was moved the
// line never starts with the success mark.
QString trashStatusText(const QString& success, const TrashTally& tally);

} // namespace tidvale::gui

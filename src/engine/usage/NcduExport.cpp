#include "engine/usage/NcduExport.h"

#include <nlohmann/json.hpp>

namespace tidvale {

namespace {

nlohmann::json describe(const UsageEntry& e, bool root)
{
    nlohmann::json j{{"name", e.name}};
    if (!e.is(usageFolder) || root) {
        j["asize"] = e.is(usageFolder) ? 0 : e.bytes;
        j["dsize"] = e.is(usageFolder) ? 0 : e.blocks;
    }
    if (e.inode != 0)
        j["ino"] = e.inode;
    if (e.is(usageLink))
        j["notreg"] = true;
    // ncdu counts each hard-linked file once per folder total itself, so every name
    // is written with the inode that ties them together.
    if (e.is(usageHardLinked))
        j["hlnkc"] = true;
    if (e.is(usageUnreadable))
        j["read_error"] = true;
    if (e.is(usageOtherVolume))
        j["excluded"] = "othfs";
    return j;
}

} // namespace

void writeNcduExport(std::ostream& out, const UsageTree& tree, int64_t timestamp)
{
    auto dump = [&](const nlohmann::json& j) {
        out << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    };
    out << "[1,2,";
    dump({{"progname", "tidvale"}, {"progver", "1.0"}, {"timestamp", timestamp}});
    walkUsage(
        tree,
        [&](const UsageEntry& e, int level) {
            out << ",";
            // A mount point is written as an excluded entry, not a folder to open.
            const bool opens = e.is(usageFolder) && !e.is(usageOtherVolume);
            if (opens)
                out << "[";
            dump(describe(e, level == 0));
        },
        [&](const UsageEntry& e) {
            if (!e.is(usageOtherVolume))
                out << "]";
        });
    out << "]\n";
}

} // namespace tidvale

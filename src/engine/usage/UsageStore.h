#pragma once

// How a usage tree keeps its entries; shared by the tree and the walk that fills it.
#include "engine/usage/UsageTree.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string_view>

namespace tidvale {

inline constexpr uint8_t kUsageRemoved = 128; // taken out of the tree; its slot stays

// The totals of a folder grow from every thread of the walk without the tree's lock,
// so that a thread that loses its core while holding the lock cannot stall the others
// for a whole time slice; readers load them the same way.
template <class T> T loadOf(const T& value)
{
    return std::atomic_ref<T>(const_cast<T&>(value)).load(std::memory_order_relaxed);
}
template <class T> void addTo(T& value, T delta)
{
    std::atomic_ref<T>(value).fetch_add(delta, std::memory_order_relaxed);
}

// Forty-eight bytes an entry, names apart: indices instead of pointers, the name an
// offset into a shared block of characters, and no per-entry allocation.
struct UsageTree::Node {
    int64_t bytes = 0;
    int64_t blocks = 0;
    uint64_t inode = 0;
    uint32_t name = 0;
    UsageId parent = kNoUsage;
    UsageId first = kNoUsage;
    UsageId next = kNoUsage;
    uint32_t items = 0;
    uint8_t nameLength = 0;
    uint8_t flags = 0;
};

// Entries and names live in fixed blocks that never move, so a tree of millions of
// entries never holds two copies of itself while growing.
struct UsageTree::Store {
    static constexpr size_t kNodeBlock = size_t{1} << 15;
    static constexpr size_t kNameBlock = size_t{1} << 20;
    static constexpr size_t kMaxBlocks = (size_t{UINT32_MAX} + 1) / kNodeBlock;
    // A fixed table of blocks, so that the walk reaches an entry it was handed
    // without the lock while another thread adds a block.
    std::unique_ptr<std::unique_ptr<Node[]>[]> nodes
        = std::make_unique<std::unique_ptr<Node[]>[]>(kMaxBlocks);
    size_t blocksMade = 0;
    size_t count = 0;
    std::vector<std::unique_ptr<char[]>> names;
    size_t nameUsed = kNameBlock;

    Node& at(UsageId id) { return nodes[id / kNodeBlock][id % kNodeBlock]; }
    const Node& at(UsageId id) const { return nodes[id / kNodeBlock][id % kNodeBlock]; }

    std::string_view nameOf(const Node& n) const
    {
        return {names[n.name / kNameBlock].get() + n.name % kNameBlock, n.nameLength};
    }

    UsageId add(std::string_view name, uint8_t flags, UsageId parent)
    {
        if (count % kNodeBlock == 0)
            nodes[blocksMade++] = std::make_unique<Node[]>(kNodeBlock);
        const auto id = static_cast<UsageId>(count++);
        Node& n = at(id);
        name = name.substr(0, 255); // a file name is at most 255 bytes
        if (names.empty() || nameUsed + name.size() > kNameBlock) {
            names.push_back(std::make_unique<char[]>(kNameBlock));
            nameUsed = 0;
        }
        std::memcpy(names.back().get() + nameUsed, name.data(), name.size());
        n.name = static_cast<uint32_t>((names.size() - 1) * kNameBlock + nameUsed);
        n.nameLength = static_cast<uint8_t>(name.size());
        nameUsed += name.size();
        n.flags = flags;
        n.parent = parent;
        if (parent != kNoUsage) {
            Node& p = at(parent);
            n.next = p.first;
            p.first = id;
        }
        return id;
    }

    UsageEntry entry(UsageId id) const
    {
        const Node& n = at(id);
        return {id, std::string(nameOf(n)), loadOf(n.bytes), loadOf(n.blocks), n.inode,
            loadOf(n.items), static_cast<uint8_t>(n.flags & ~kUsageRemoved)};
    }

    static int64_t counted(const Node& n) { return (n.flags & usageRepeat) ? 0 : loadOf(n.bytes); }

    // The children of `id`, biggest first; ties by name so a listing is stable.
    std::vector<UsageId> sortedChildren(UsageId id) const
    {
        std::vector<UsageId> kids;
        for (UsageId c = at(id).first; c != kNoUsage; c = at(c).next)
            kids.push_back(c);
        std::sort(kids.begin(), kids.end(), [this](UsageId a, UsageId b) {
            const int64_t x = counted(at(a)), y = counted(at(b));
            return x != y ? x > y : nameOf(at(a)) < nameOf(at(b));
        });
        return kids;
    }
};

} // namespace tidvale

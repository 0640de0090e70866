#include "engine/usage/UsageTree.h"

#include "engine/usage/UsageStore.h"

#include <algorithm>

namespace tidvale {

UsageTree::UsageTree(std::string root)
    : root_(std::move(root))
    , store_(std::make_unique<Store>())
{
    while (root_.size() > 1 && root_.back() == '/')
        root_.pop_back();
    store_->add({}, usageFolder, kNoUsage);
}

UsageTree::~UsageTree() = default;

UsageEntry UsageTree::entry(UsageId id) const
{
    std::lock_guard guard(mutex_);
    UsageEntry e = store_->entry(id);
    if (id == kUsageRoot)
        e.name = root_;
    return e;
}

std::string UsageTree::path(UsageId id) const
{
    std::lock_guard guard(mutex_);
    std::vector<std::string_view> parts;
    for (UsageId at = id; at != kUsageRoot && at != kNoUsage; at = store_->at(at).parent)
        parts.push_back(store_->nameOf(store_->at(at)));
    std::string out = root_ == "/" ? std::string() : root_;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it)
        out.append("/").append(*it);
    return out.empty() ? "/" : out;
}

UsageId UsageTree::parentOf(UsageId id) const
{
    std::lock_guard guard(mutex_);
    return store_->at(id).parent;
}

std::vector<UsageEntry> UsageTree::children(UsageId id) const
{
    std::lock_guard guard(mutex_);
    std::vector<UsageEntry> out;
    for (UsageId c : store_->sortedChildren(id))
        out.push_back(store_->entry(c));
    return out;
}

std::vector<UsagePiece> UsageTree::rings(UsageId centre, int depth, double minShare) const
{
    std::lock_guard guard(mutex_);
    std::vector<UsagePiece> pieces;
    const double total = static_cast<double>(loadOf(store_->at(centre).bytes));
    if (total <= 0)
        return pieces;
    // Depth first with an explicit stack: a ring map is only a few levels deep, but
    // the walk must not care.
    struct Step {
        UsageId folder;
        int depth;
        double start;
        int branch;
    };
    std::vector<Step> todo{{centre, 1, 0.0, 0}};
    while (!todo.empty()) {
        const Step step = todo.back();
        todo.pop_back();
        const Node& folder = store_->at(step.folder);
        double at = step.start;
        int64_t drawnBytes = 0;
        uint32_t drawnItems = 0;
        int index = 0;
        for (UsageId c : store_->sortedChildren(step.folder)) {
            const Node& n = store_->at(c);
            const double share = static_cast<double>(Store::counted(n)) / total;
            if (share < minShare)
                break;
            const int branch = step.depth == 1 ? index : step.branch;
            pieces.push_back({c, step.folder, step.depth, at, share, Store::counted(n),
                loadOf(n.items), n.flags, branch, std::string(store_->nameOf(n))});
            if ((n.flags & usageFolder) && step.depth < depth)
                todo.push_back({c, step.depth + 1, at, branch});
            drawnBytes += Store::counted(n);
            drawnItems += loadOf(n.items) + 1;
            at += share;
            ++index;
        }
        const int64_t rest = loadOf(folder.bytes) - drawnBytes;
        if (static_cast<double>(rest) / total >= minShare)
            pieces.push_back({kNoUsage, step.folder, step.depth, at,
                static_cast<double>(rest) / total, rest, loadOf(folder.items) - drawnItems, 0,
                step.depth == 1 ? index : step.branch, "otros"});
    }
    std::stable_sort(pieces.begin(), pieces.end(), [](const UsagePiece& a, const UsagePiece& b) {
        return a.depth != b.depth ? a.depth < b.depth : a.start < b.start;
    });
    return pieces;
}

size_t UsageTree::entryCount() const
{
    std::lock_guard guard(mutex_);
    return store_->count;
}

size_t UsageTree::memoryBytes() const
{
    std::lock_guard guard(mutex_);
    return store_->blocksMade * Store::kNodeBlock * sizeof(Node)
        + store_->names.size() * Store::kNameBlock;
}

bool UsageTree::remove(UsageId id)
{
    std::lock_guard guard(mutex_);
    if (id == kUsageRoot || id >= store_->count)
        return false;
    Node& n = store_->at(id);
    if (n.flags & kUsageRemoved)
        return false;
    n.flags |= kUsageRemoved;
    Node& parent = store_->at(n.parent);
    if (parent.first == id) {
        parent.first = n.next;
    } else {
        for (UsageId c = parent.first; c != kNoUsage; c = store_->at(c).next)
            if (store_->at(c).next == id) {
                store_->at(c).next = n.next;
                break;
            }
    }
    const int64_t bytes = Store::counted(n);
    const int64_t blocks = (n.flags & usageRepeat) ? 0 : loadOf(n.blocks);
    const uint32_t items = loadOf(n.items) + 1;
    for (UsageId up = n.parent; up != kNoUsage; up = store_->at(up).parent) {
        Node& a = store_->at(up);
        addTo(a.bytes, -bytes);
        addTo(a.blocks, -blocks);
        addTo(a.items, 0 - items);
    }
    return true;
}

void walkUsage(const UsageTree& tree, const std::function<void(const UsageEntry&, int)>& visit,
    const std::function<void(const UsageEntry&)>& leave)
{
    struct Frame {
        UsageEntry entry;
        std::vector<UsageEntry> children;
        size_t next = 0;
        int level = 0;
    };
    UsageEntry root = tree.entry(kUsageRoot);
    visit(root, 0);
    if (!root.is(usageFolder))
        return;
    std::vector<Frame> stack;
    stack.push_back({root, tree.children(kUsageRoot), 0, 0});
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < top.children.size()) {
            UsageEntry e = std::move(top.children[top.next++]);
            const int level = top.level + 1;
            visit(e, level);
            if (e.is(usageFolder)) {
                auto kids = tree.children(e.id);
                stack.push_back({std::move(e), std::move(kids), 0, level});
            }
            continue;
        }
        leave(top.entry);
        stack.pop_back();
    }
}

} // namespace tidvale

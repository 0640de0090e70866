// Where the space of a folder went, as the disk map shows it: the biggest folders as a
// tree, or the whole tree as an ncdu export. Nothing here moves or deletes.
#include "cli/Command.h"
#include "engine/format/ByteText.h"
#include "engine/usage/NcduExport.h"
#include "engine/usage/UsageTree.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <ostream>

namespace tidvale::cli {
namespace {

std::string shareText(int64_t part, int64_t whole)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%5.1f %%",
        whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0);
    return buf;
}

std::string notes(const UsageEntry& e)
{
    if (e.is(usageUnreadable))
        return "  (sin permiso de lectura: tamaño incompleto)";
    if (e.is(usageOtherVolume))
        return "  (otro volumen: no se mide)";
    return {};
}

struct Shape {
    int depth;
    size_t top;
};

// The folders under `id`, biggest first, `shape.top` of them at each level.
std::vector<UsageEntry> biggestFolders(const UsageTree& tree, UsageId id, const Shape& shape)
{
    std::vector<UsageEntry> out;
    for (auto& c : tree.children(id))
        if (c.is(usageFolder) && out.size() < shape.top)
            out.push_back(std::move(c));
    return out;
}

nlohmann::json record(const UsageTree& tree, const UsageEntry& e, int level, const Shape& shape)
{
    nlohmann::json j{{"name", e.name}, {"path", tree.path(e.id)}, {"size", e.bytes},
        {"items", e.items}, {"unreadable", e.is(usageUnreadable)},
        {"otherVolume", e.is(usageOtherVolume)}};
    if (level < shape.depth) {
        nlohmann::json children = nlohmann::json::array();
        for (const auto& c : biggestFolders(tree, e.id, shape))
            children.push_back(record(tree, c, level + 1, shape));
        j["children"] = std::move(children);
    }
    return j;
}

void printTree(std::ostream& out, const UsageTree& tree, const UsageEntry& e, int level,
    int64_t whole, const Shape& shape)
{
    out << formatFileBytes(e.bytes) << "\t" << shareText(e.bytes, whole) << "\t" << e.items << "\t"
        << std::string(static_cast<size_t>(level) * 2, ' ')
        << (level == 0 ? tree.rootPath() : e.name) << notes(e) << "\n";
    if (level < shape.depth)
        for (const auto& c : biggestFolders(tree, e.id, shape))
            printTree(out, tree, c, level + 1, whole, shape);
}

int usage(Invocation& inv)
{
    Shape shape{2, 10};
    if (std::string n; takeOption(inv.args, "--depth", n))
        shape.depth = static_cast<int>(std::min<int64_t>(parseByteCount(n), 1000));
    if (std::string k; takeOption(inv.args, "--top", k))
        shape.top = static_cast<size_t>(parseByteCount(k));
    std::string exportTo;
    takeOption(inv.args, "--export", exportTo);
    rejectUnknownOptions(inv.args);
    auto args = inv.args;
    if (!args.empty() && args.front() == "--")
        args.erase(args.begin());
    if (args.size() > 1)
        throw UsageError("usage admite una sola carpeta");
    UsageTree tree(args.empty() ? inv.context.folders.home : args.front());
    // An export lists every file, so none is folded away.
    mapUsage(*inv.context.pool, tree, {}, UsageOptions{exportTo.empty() ? size_t{24} : 0});
    if (!exportTo.empty()) {
        std::ofstream file(exportTo, std::ios::binary | std::ios::trunc);
        const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
        writeNcduExport(file, tree, static_cast<int64_t>(now));
        file.close();
        if (!file) {
            inv.err << "No se pudo escribir " << exportTo << "\n";
            return 1;
        }
        inv.out << "Exportado: " << tree.entryCount() << " elementos en " << exportTo << "\n";
        return 0;
    }
    const UsageEntry root = tree.entry(kUsageRoot);
    if (inv.json) {
        printJson(inv.out, record(tree, root, 0, shape));
        return 0;
    }
    printTree(inv.out, tree, root, 0, root.bytes, shape);
    return 0;
}

const Registration kUsage{{"usage", "[--depth N] [--top K] [--export FICHERO] [CARPETA]",
    "las carpetas más grandes en árbol (la carpeta personal por omisión); --export escribe el "
    "formato JSON de ncdu",
    usage}};

} // namespace
} // namespace tidvale::cli

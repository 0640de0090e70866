#pragma once

// The history of cleans, one JSON record a line: what a user turned on so that a clean
// can be looked back on and undone. Only what a removal moved to the Trash can come
// back; the rest is kept so the user sees what went.
#include "engine/fs/Removal.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace tidvale {

struct HistoryItem {
    enum class Outcome { deleted, trashed, edited, left };
    std::string path;
    int64_t size = 0;
    Outcome outcome = Outcome::left;
    std::string trashedAs; // trashed, edited: where it (or the copy) is in the Trash
    std::string reason;    // left: why
};

struct HistoryRun {
    std::string id; // "20261207-232001", a second suffix ("-2") when two share a second
    std::time_t when = 0;
    std::string source; // the screen's title, "tidvale-cli clean", "limpieza programada"
    int64_t freed = 0;
    std::vector<HistoryItem> items;

    // The outcomes an undo works from: a gone item per trashed or edited one.
    std::vector<RemovalOutcome> undoable() const;
};

// "deleted", "trashed", "edited", "left": how the file and --json name an outcome.
const char* historyOutcomeName(HistoryItem::Outcome outcome);

// What became of an item, in words: "Eliminado", "En la Papelera", "Modificado
// (copia en la Papelera)", "Se dejó: <why>".
std::string historyItemText(const HistoryItem& item);

// A run made of `report`: every target with what became of it.
HistoryRun historyRunOf(const RemovalReport& report, std::string source, std::time_t when);

struct HistoryRead {
    std::vector<HistoryRun> runs; // oldest first, as the file holds them
    std::vector<int> damagedLines;
    std::optional<std::string> error; // the file could not be read at all
};

// A missing file is an empty history. A line that is not a record is skipped and
// counted, never fatal.
HistoryRead readHistory(const std::string& path);

// Appends `run`, its id made unique among the file's; then, when the oldest record is
// more than a year older than `run`, the file is rewritten without the records older
// than that (whole or not at all). The reason in Spanish when nothing was written.
std::optional<std::string> appendHistory(const std::string& path, HistoryRun& run);

// The run `id` ("" or "last": the newest); null when there is none.
const HistoryRun* findRun(const HistoryRead& history, const std::string& id);

// "Se saltaron 2 líneas dañadas del historial (líneas 3, 9)."
std::string damagedLinesText(const std::string& path, const std::vector<int>& lines);

} // namespace tidvale

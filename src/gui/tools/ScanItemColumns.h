#pragma once

#include "engine/records/ScanItem.h"
#include "gui/tools/RecordTableModel.h"

namespace tidvale::gui {

// What the two junk lists (System Junk, Privacy) share: the tick of a found item and
// its size in the junk byte text.
using ScanItemModel = RecordTableModel<ScanItem>;
ScanItemModel::Tick scanItemTick();
ScanItemModel::Column junkSizeColumn();

} // namespace tidvale::gui

#pragma once

#include "engine/finders/LargeFiles.h"
#include "gui/tools/RecordTableModel.h"

namespace tidvale::gui {

// The Large files list: one row per file, largest first, in four columns.
class LargeFilesModel : public RecordTableModel<LargeFileItem> {
public:
    enum Column { nameColumn, pathColumn, sizeColumn, dateColumn, columnTotal };

    explicit LargeFilesModel(QObject* parent = nullptr);
};

} // namespace tidvale::gui

#pragma once

#include "engine/records/LaunchItem.h"
#include "gui/tools/RecordTableModel.h"

namespace tidvale::gui {

// The Extensiones list, in the order the service returned it.
class LaunchItemModel : public RecordTableModel<LaunchItem> {
public:
    enum Column { nameColumn, sourceColumn, pathColumn, columnCount_ };

    explicit LaunchItemModel(QObject* parent = nullptr);
};

} // namespace tidvale::gui

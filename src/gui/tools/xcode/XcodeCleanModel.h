#pragma once

#include "engine/records/XcodeCleanItem.h"
#include "gui/tools/RecordTableModel.h"

namespace tidvale::gui {

// The Xcode cleaner's own copy of the eleven locations. A location that did not exist
// at the scan has a disabled tick and reads as unticked.
class XcodeCleanModel : public RecordTableModel<XcodeCleanItem> {
public:
    enum Column { check, name, desc, size, columnTotal };

    explicit XcodeCleanModel(QObject* parent = nullptr);
    bool anyCleanable() const;
};

} // namespace tidvale::gui

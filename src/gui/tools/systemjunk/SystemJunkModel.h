#pragma once

#include "gui/tools/ScanItemColumns.h"

namespace tidvale::gui {

// The System Junk list: tick, name (🔒 and orange when a password is needed),
// category in its colour, size.
class SystemJunkModel : public ScanItemModel {
public:
    enum Column { check, name, category, size };

    explicit SystemJunkModel(QObject* parent = nullptr);
};

} // namespace tidvale::gui

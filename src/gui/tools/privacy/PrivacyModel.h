#pragma once

#include "gui/tools/ScanItemColumns.h"

namespace tidvale::gui {

// The Privacy list: tick, browser in its colour, the file or cache, size.
class PrivacyModel : public ScanItemModel {
public:
    enum Column { check, browser, type, size };

    explicit PrivacyModel(QObject* parent = nullptr);
};

} // namespace tidvale::gui

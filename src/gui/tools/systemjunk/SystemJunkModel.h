#pragma once

#include "gui/tools/ScanItemTableModel.h"

namespace tidvale::gui {

// The System Junk list: tick, name (🔒 and orange when a password is needed),
// category in its colour, size.
class SystemJunkModel : public ScanItemTableModel {
    Q_OBJECT
public:
    enum Column { check, name, category, size };

    explicit SystemJunkModel(QObject* parent = nullptr);

protected:
    QVariant cellData(const ScanItem& item, int column, int role) const override;
};

} // namespace tidvale::gui

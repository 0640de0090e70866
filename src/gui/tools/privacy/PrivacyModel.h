#pragma once

#include "gui/tools/ScanItemTableModel.h"

namespace tidvale::gui {

// The Privacy list: tick, browser in its colour, the file or cache, size.
class PrivacyModel : public ScanItemTableModel {
    Q_OBJECT
public:
    enum Column { check, browser, type, size };

    explicit PrivacyModel(QObject* parent = nullptr);

protected:
    QVariant cellData(const ScanItem& item, int column, int role) const override;
};

} // namespace tidvale::gui

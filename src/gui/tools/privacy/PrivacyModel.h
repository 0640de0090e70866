#pragma once

#include "gui/tools/ScanItemTableModel.h"

namespace tidvale::gui {

// The Privacy list: tick, browser in its colour, the file or cache, size.
class PrivacyModel : public ScanItemTableModel {
    Q_OBJECT
public:
    enum Column { check, browser, type, size, columnTotal };

    using ScanItemTableModel::ScanItemTableModel;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    QVariant cellData(const ScanItem& item, int column, int role) const override;
};

} // namespace tidvale::gui

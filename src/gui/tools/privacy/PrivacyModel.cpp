#include "gui/tools/privacy/PrivacyModel.h"

#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"

#include "engine/scan/JunkCleanRules.h"

namespace tidvale::gui {

PrivacyModel::PrivacyModel(QObject* parent)
    : ScanItemTableModel({QString(), QStringLiteral("Navegador"), QStringLiteral("Archivo"),
                             QStringLiteral("Tamaño")},
        parent)
{
}

QVariant PrivacyModel::cellData(const ScanItem& item, int column, int role) const
{
    switch (column) {
    case browser:
        if (role == Qt::DisplayRole)
            return QString::fromUtf8(displayName(item.category));
        if (role == Qt::ForegroundRole)
            return systemColor(colorOf(item.category));
        if (role == Qt::FontRole)
            return uiFont(12, QFont::Bold);
        return {};
    case type:
        if (role == Qt::DisplayRole)
            return QString::fromStdString(singleLine(item.name));
        if (role == Qt::ForegroundRole)
            return labelColor();
        if (role == Qt::FontRole)
            return uiFont(12);
        if (role == Qt::ToolTipRole)
            return QString::fromStdString(item.path);
        return {};
    case size:
        return sizeCellData(item, role);
    default:
        return {};
    }
}

} // namespace tidvale::gui

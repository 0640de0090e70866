#include "gui/tools/systemjunk/SystemJunkModel.h"

#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"

#include "engine/scan/JunkCleanRules.h"

namespace tidvale::gui {

SystemJunkModel::SystemJunkModel(QObject* parent)
    : ScanItemTableModel({QString(), QStringLiteral("Nombre"), QStringLiteral("Categoría"),
                             QStringLiteral("Tamaño")},
        parent)
{
}

QVariant SystemJunkModel::cellData(const ScanItem& item, int column, int role) const
{
    switch (column) {
    case name:
        if (role == Qt::DisplayRole) {
            const QString text = QString::fromStdString(singleLine(item.name));
            return item.requiresAdmin ? QStringLiteral("🔒 ") + text : text;
        }
        if (role == Qt::ForegroundRole)
            return item.requiresAdmin ? systemColor(SystemColor::orange) : labelColor();
        if (role == Qt::FontRole)
            return uiFont(13);
        if (role == Qt::ToolTipRole)
            return QString::fromStdString(item.path);
        return {};
    case category:
        if (role == Qt::DisplayRole)
            return QString::fromUtf8(displayName(item.category));
        if (role == Qt::ForegroundRole)
            return systemColor(colorOf(item.category));
        if (role == Qt::FontRole)
            return uiFont(11);
        return {};
    case size:
        return sizeCellData(item, role);
    default:
        return {};
    }
}

} // namespace tidvale::gui

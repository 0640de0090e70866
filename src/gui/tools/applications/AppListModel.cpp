#include "gui/tools/applications/AppListModel.h"

#include "gui/tools/FinderLists.h"
#include "gui/tools/applications/AppIcons.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/style/Fonts.h"
#include "gui/text/DisplayText.h"

namespace tidvale::gui {

int AppListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(apps_.size());
}

int AppListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnCount_;
}

QPixmap AppListModel::iconFor(int row) const
{
    if (pixmaps_.size() != apps_.size())
        pixmaps_.assign(apps_.size(), QPixmap());
    QPixmap& pixmap = pixmaps_[static_cast<size_t>(row)];
    if (pixmap.isNull()) {
        const AppRow& app = apps_[static_cast<size_t>(row)];
        pixmap = app.icon.isNull()
            ? fallbackAppIcon(app.info.path).pixmap(iconPoints * 2, iconPoints * 2)
            : QPixmap::fromImage(app.icon);
    }
    return pixmap;
}

QVariant AppListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const AppInfo& app = apps_[static_cast<size_t>(row)].info;
    switch (index.column()) {
    case iconColumn:
        if (role == Qt::DecorationRole)
            return iconFor(row);
        if (role == Qt::ToolTipRole)
            return plainToolTip(displayText(app.path));
        return {};
    case nameColumn:
        if (role == Qt::DisplayRole)
            return displayText(app.name);
        if (role == Qt::ToolTipRole)
            return plainToolTip(displayText(app.path));
        if (role == Qt::FontRole)
            return uiFont(13, QFont::Medium);
        if (role == Qt::ForegroundRole)
            return labelColor();
        return {};
    case versionColumn:
        if (role == Qt::DisplayRole)
            return app.version.empty() ? QStringLiteral("-") : displayText(app.version);
        if (role == Qt::FontRole)
            return uiFont(11);
        if (role == Qt::ForegroundRole)
            return secondaryLabelColor();
        return {};
    case sizeColumn:
        if (role == Qt::DisplayRole)
            return fileBytesText(app.size);
        if (role == Qt::FontRole)
            return monospacedDigitFont(12);
        if (role == Qt::ForegroundRole)
            return app.size > largeAppBytes ? systemColor(SystemColor::red) : secondaryLabelColor();
        return {};
    default:
        return {};
    }
}

QVariant AppListModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case nameColumn:
        return QStringLiteral("Aplicación");
    case versionColumn:
        return QStringLiteral("Versión");
    case sizeColumn:
        return QStringLiteral("Tamaño");
    default:
        return QString();
    }
}

void AppListModel::setApps(std::vector<AppRow> apps)
{
    beginResetModel();
    apps_ = std::move(apps);
    pixmaps_.clear();
    endResetModel();
}

void AppListModel::removePaths(const std::set<std::string>& paths)
{
    pixmaps_.resize(apps_.size());
    // From the end, so the rows still to check keep their numbers.
    for (int row = static_cast<int>(apps_.size()) - 1; row >= 0; --row) {
        if (!paths.count(apps_[static_cast<size_t>(row)].info.path))
            continue;
        beginRemoveRows({}, row, row);
        apps_.erase(apps_.begin() + row);
        pixmaps_.erase(pixmaps_.begin() + row);
        endRemoveRows();
    }
}

} // namespace tidvale::gui

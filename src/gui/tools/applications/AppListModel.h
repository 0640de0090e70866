#pragma once

#include "engine/records/AppInfo.h"
#include "gui/tools/RecordTableModel.h"

#include <QImage>
#include <QPixmap>

namespace tidvale::gui {

// One listed application: the engine's record and its icon image (null: the theme's
// icon it names, else generic).
struct AppRow {
    AppInfo info;
    QImage icon;
    mutable QPixmap pixmap; // made when the row is first painted
};

// The Applications list, in the order the service returned it.
class AppListModel : public RecordTableModel<AppRow> {
public:
    enum Column { iconColumn, nameColumn, versionColumn, sizeColumn, columnCount_ };
    // The name column's second line: why the row cannot be uninstalled here, or nothing.
    static constexpr int reasonRole = Qt::UserRole + 1;
    // Sizes above this are shown in red.
    static constexpr int64_t largeAppBytes = 500'000'000;
    static constexpr int iconPoints = 36;

    explicit AppListModel(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Why a whole kind of application cannot be uninstalled now (PackageKit is not
    // running): the status line says it once, and the rows whose reason ends with it
    // show only their own part.
    void setSharedCause(const QString& cause);

private:
    QString sharedCause_;
};

} // namespace tidvale::gui

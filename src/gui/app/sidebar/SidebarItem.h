#pragma once

#include "engine/texts/PlatformTexts.h"

#include <QColor>
#include <QString>

#include <vector>

namespace tidvale::gui {

// One row of the sidebar; `tag` is the index of the tool screen it shows.
struct SidebarItem {
    QString title;
    QString icon; // symbol name
    QColor color;
    int tag = 0;
};

// The application's table of contents, read from the tool table: row n has tag n.
std::vector<SidebarItem> sidebarItems(const PlatformTexts& texts);

} // namespace tidvale::gui

#include "gui/app/sidebar/SidebarItem.h"

#include "gui/app/ToolTable.h"

namespace tidvale::gui {

std::vector<SidebarItem> sidebarItems(const PlatformTexts& texts)
{
    std::vector<SidebarItem> items;
    int tag = 0;
    for (const ToolEntry& tool : toolTable(texts))
        items.push_back({tool.title, tool.symbol, tool.color, tag++});
    return items;
}

} // namespace tidvale::gui

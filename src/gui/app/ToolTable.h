#pragma once

#include "engine/texts/PlatformTexts.h"
#include "gui/tools/ScreenServices.h"

#include <QColor>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace tidvale::gui {

class ToolViewController;

// One tool of the application: how the sidebar shows it and how its screen is made.
struct ToolEntry {
    QString title;  // the sidebar's
    QString symbol; // symbol name
    QColor color;
    std::function<ToolViewController*(const ScreenServices&, QWidget* parent)> make;
};

// The tools in the sidebar's order; the position in this table is a tool's tag. The
// developer tool's title is the system's (`texts`). Adding a tool here adds its row
// and its screen, in step.
std::vector<ToolEntry> toolTable(const PlatformTexts& texts);

} // namespace tidvale::gui

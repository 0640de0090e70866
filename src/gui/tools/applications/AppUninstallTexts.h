#pragma once

#include "engine/apps/AppUninstall.h"

#include <QString>

#include <vector>

namespace tidvale::gui {

// What the confirmation explains on a Linux desktop: each row that goes and what removes
// it (every listed row of a chosen package goes with it), the packages that would go
// with them, and the chosen rows that cannot go from here. Plain text.
QString uninstallConfirmationText(const UninstallPlan& plan, const std::vector<AppInfo>& listed,
    const std::vector<platform::DebianPackage>& others);

// The status line when none of the chosen rows can be uninstalled here.
QString notUninstallableText(const UninstallPlan& plan);

// The status line after an uninstall: what went and what it freed, then each
// application that stayed (named as `listed` names it) with the text of what refused it.
QString uninstallOutcomeText(const std::vector<AppInfo>& listed, const RemovalReport& report);

} // namespace tidvale::gui

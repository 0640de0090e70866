#pragma once

#include <QString>

#include <string>
#include <vector>

namespace tidvale::gui {

// An engine text for display. Paths from the file system may hold bytes that are not
// UTF-8: they show as replacement characters, so keep the engine's std::string for
// every operation on the file and use this only for what the user reads.
QString displayText(const std::string& text);

// A path or name as a tooltip that shows it as it is. Tooltips render their text as
// markup whenever it looks like markup, which a file name can ("<img src=...>").
QString plainToolTip(const QString& text);

// A scan's status line followed by why folders the environment names were left out
// ("⚠️ XDG_CACHE_HOME=… es tu carpeta de inicio…"), so an empty list is never
// mistaken for a clean home.
QString withNotices(const QString& status, const std::vector<std::string>& notices);

} // namespace tidvale::gui

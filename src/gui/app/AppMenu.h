#pragma once

#include <QStringList>

#include <functional>

class QKeySequence;
class QMenuBar;
class QWidget;

namespace tidvale::gui {

// The window's menu bar, as a desktop application is expected to have one: the
// application's menu ("Acerca de Tidvale", "Preferencias…", "Salir"), "Edición" acting
// on the widget that has the keyboard focus, and "Ventana" with one entry per tool
// (`tools`, in sidebar order) that calls `showTool` with its index. Every title has a
// mnemonic and F10 opens the first menu, as desktops other than the Mac expect; on
// macOS the about, preferences and quit items move to the system's application menu by
// their roles and Qt drops the mnemonics.
// "Deshacer" undoes the focused text field's typing, or else, when `canUndoRemoval`
// says there is one, the last removal (`undoRemoval`). "Historial…" sits beside
// "Preferencias…".
struct AppMenuActions {
    std::function<void()> openPreferences;
    std::function<void()> openHistory;
    std::function<bool()> canUndoRemoval;
    std::function<void()> undoRemoval;
};
QMenuBar* makeAppMenuBar(QWidget* window, const AppMenuActions& actions, const QStringList& tools,
    std::function<void(int)> showTool);

// The keys that show the tool at `index`: Ctrl+1 … Ctrl+9 for the first nine, Ctrl+0
// for the tenth, Ctrl+Shift+1 … for the rest (⌘ on the Mac).
QKeySequence toolShortcut(int index);

} // namespace tidvale::gui

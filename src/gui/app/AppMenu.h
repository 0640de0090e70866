#pragma once

#include <functional>

class QMenuBar;
class QWidget;

namespace tidvale::gui {

// The window's menu bar, as a desktop application is expected to have one: the
// application's menu ("Acerca de Tidvale", "Preferencias…", "Salir"), "Edición" acting
// on the widget that has the keyboard focus, and "Ventana". On macOS the about,
// preferences and quit items move to the system's application menu by their roles.
QMenuBar* makeAppMenuBar(QWidget* window, std::function<void()> openPreferences);

} // namespace tidvale::gui

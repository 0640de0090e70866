#pragma once

#include "engine/context/Context.h"

#include <QString>

#include <functional>
#include <string>

class QAbstractItemView;
class QKeySequence;
class QMenu;
class QModelIndex;

namespace tidvale::gui {

// Opens a context menu on `view` when the user asks for one, filled by `fill` with the
// row under the pointer (invalid when none); an empty menu is not shown.
void attachContextMenu(
    QAbstractItemView* view, std::function<void(QMenu*, const QModelIndex&)> fill);

// Fills a row's context menu with the entries the lists share, in the order they are
// called, each acting on one path through the context's workspace: reveal it in the
// file manager, open it, show its information window, move it to the Trash.
//
//   ItemMenu(menu, path, context).reveal().info().separator().trash([this, path] {
//       trashOne(path);
//   });
class ItemMenu {
public:
    // Empties `menu` first. `refused` is told when the desktop took no request of the
    // file manager's (no file manager answered).
    ItemMenu(QMenu* menu, std::string path, const Context& context,
        std::function<void(const QString&)> refused = {});

    ItemMenu& reveal(const QString& title = {}); // "Mostrar en Finder" or the desktop's
    ItemMenu& open();                            // "Abrir", with its default application
    ItemMenu& launch();                          // "Abrir Aplicación"
    ItemMenu& info();                            // "Obtener Información"
    ItemMenu& trash(
        std::function<void()> action, const QString& title = QStringLiteral("Mover a Papelera"));
    ItemMenu& action(const QString& title, const QString& symbol, std::function<void()> action);
    ItemMenu& separator();
    // Whether the entry added last can be chosen; a disabled one stays in view, so the
    // user sees it exists and why the row cannot have it.
    ItemMenu& enabled(bool on);
    // The key of the entry added last, shown beside it; the list acts on that key on
    // its current row by itself.
    ItemMenu& shortcut(const QKeySequence& key);

private:
    // What the status line says when the file manager did not take a request; nothing
    // where the system's texts say nothing.
    std::function<void()> refusedNotice() const;

    QMenu* menu_;
    std::string path_;
    const Context& context_;
    std::function<void(const QString&)> refused_;
};

} // namespace tidvale::gui

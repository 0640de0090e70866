#include "gui/app/AppMenu.h"

#include "gui/widgets/Alert.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

#include <string_view>
#include <utility>
#include <vector>

namespace tidvale::gui {
namespace {

// An edit command is a slot of the focused widget (line edits and text areas have them
// all, lists have selectAll); where the widget has no such slot the item is disabled,
// so that its shortcut reaches the widget's own key handling instead.
struct EditCommand {
    const char* title;
    QKeySequence::StandardKey key;
    const char* slot;
};
constexpr EditCommand kEditCommands[] = {
    {"&Deshacer", QKeySequence::Undo, "undo"},
    {"&Rehacer", QKeySequence::Redo, "redo"},
    {nullptr, QKeySequence::UnknownKey, nullptr},
    {"Cor&tar", QKeySequence::Cut, "cut"},
    {"&Copiar", QKeySequence::Copy, "copy"},
    {"&Pegar", QKeySequence::Paste, "paste"},
    {"Seleccionar t&odo", QKeySequence::SelectAll, "selectAll"},
};

bool hasSlot(const QWidget* widget, const char* slot)
{
    if (!widget)
        return false;
    const QByteArray signature = QByteArray(slot) + "()";
    return widget->metaObject()->indexOfSlot(signature.constData()) >= 0;
}

void addEditMenu(QMenuBar* bar, const AppMenuActions& actions)
{
    QMenu* edit = bar->addMenu(QStringLiteral("&Edición"));
    std::vector<std::pair<QAction*, const char*>> commands;
    for (const auto& command : kEditCommands) {
        if (!command.title) {
            edit->addSeparator();
            continue;
        }
        QAction* action = edit->addAction(QString::fromUtf8(command.title));
        action->setShortcut(command.key);
        action->setEnabled(false);
        const char* slot = command.slot;
        const bool undo = command.key == QKeySequence::Undo;
        QObject::connect(action, &QAction::triggered, edit, [slot, undo, actions] {
            QWidget* focus = QApplication::focusWidget();
            if (hasSlot(focus, slot))
                QMetaObject::invokeMethod(focus, slot);
            else if (undo && actions.canUndoRemoval && actions.canUndoRemoval())
                actions.undoRemoval();
        });
        commands.emplace_back(action, slot);
    }
    // Typing in a field is undone first, as everywhere; elsewhere the key undoes the
    // last removal of the session.
    auto update = [commands, actions] {
        QWidget* focus = QApplication::focusWidget();
        for (const auto& [action, slot] : commands)
            action->setEnabled(hasSlot(focus, slot)
                || (std::string_view(slot) == "undo" && actions.canUndoRemoval
                    && actions.canUndoRemoval()));
    };
    QObject::connect(qApp, &QApplication::focusChanged, edit, update);
    QObject::connect(edit, &QMenu::aboutToShow, edit, update);
    update();
}

// A tool's title with a mnemonic on its first letter not taken yet by the menu.
QString withMnemonic(const QString& title, QString& taken)
{
    for (qsizetype i = 0; i < title.size(); ++i) {
        const QChar c = title[i].toLower();
        if (c.isLetter() && !taken.contains(c)) {
            taken += c;
            return title.left(i) + QLatin1Char('&') + title.mid(i);
        }
    }
    return title;
}

void addWindowMenu(QMenuBar* bar, QWidget* window, const QStringList& tools,
    const std::function<void(int)>& showTool)
{
    QPointer<QWidget> target(window);
    QMenu* menu = bar->addMenu(QStringLiteral("&Ventana"));
    QString taken = QStringLiteral("mx");
    QAction* minimize = menu->addAction(QStringLiteral("&Minimizar"));
    minimize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    QObject::connect(minimize, &QAction::triggered, menu, [target] {
        if (target)
            target->showMinimized();
    });
#ifdef Q_OS_MACOS
    const QString zoomTitle = QStringLiteral("Zoom");
#else
    const QString zoomTitle = QStringLiteral("Ma&ximizar");
#endif
    QAction* zoom = menu->addAction(zoomTitle);
    QObject::connect(zoom, &QAction::triggered, menu, [target] {
        if (!target)
            return;
        if (target->isMaximized())
            target->showNormal();
        else
            target->showMaximized();
    });
    if (tools.isEmpty())
        return;
    menu->addSeparator();
    for (int i = 0; i < tools.size(); ++i) {
        QAction* tool = menu->addAction(withMnemonic(tools[i], taken));
        tool->setShortcut(toolShortcut(i));
        QObject::connect(tool, &QAction::triggered, menu, [showTool, i] { showTool(i); });
    }
}

} // namespace

QKeySequence toolShortcut(int index)
{
    if (index < 0)
        return {};
    if (index < 10)
        return QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + (index + 1) % 10));
    return QKeySequence(Qt::CTRL | Qt::SHIFT | static_cast<Qt::Key>(Qt::Key_1 + (index - 10) % 9));
}

QMenuBar* makeAppMenuBar(QWidget* window, const AppMenuActions& actions, const QStringList& tools,
    std::function<void(int)> showTool)
{
    auto* bar = new QMenuBar(window);
    QMenu* app = bar->addMenu(QStringLiteral("&Tidvale"));
    QAction* about = app->addAction(QStringLiteral("&Acerca de Tidvale"));
    about->setMenuRole(QAction::AboutRole);
    QObject::connect(about, &QAction::triggered, window, [window] {
        AlertRequest alert;
        alert.style = AlertStyle::informational;
        alert.message = QStringLiteral("Tidvale");
        alert.informativeText = QStringLiteral("Versión " TIDVALE_VERSION);
        alert.buttons = {QStringLiteral("Aceptar")};
        showAlert(window, alert, {});
    });
    app->addSeparator();
    QAction* preferences = app->addAction(QStringLiteral("&Preferencias…"));
    preferences->setMenuRole(QAction::PreferencesRole);
    // Ctrl+, (⌘,) where the platform's table names no preferences keys.
    auto preferencesKeys = QKeySequence::keyBindings(QKeySequence::Preferences);
    if (preferencesKeys.isEmpty())
        preferencesKeys = {QKeySequence(Qt::CTRL | Qt::Key_Comma)};
    preferences->setShortcuts(preferencesKeys);
    QObject::connect(preferences, &QAction::triggered, window, actions.openPreferences);
    QAction* history = app->addAction(QStringLiteral("&Historial…"));
    history->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    QObject::connect(history, &QAction::triggered, window, actions.openHistory);
    app->addSeparator();
    QAction* quit = app->addAction(QStringLiteral("&Salir"));
    quit->setMenuRole(QAction::QuitRole);
    // Ctrl+Q (⌘Q) where the platform's own table names no quit keys, as the Windows
    // scheme of Qt's generic platforms does not.
    auto quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (quitKeys.isEmpty())
        quitKeys = {QKeySequence(Qt::CTRL | Qt::Key_Q)};
    quit->setShortcuts(quitKeys);
    // Every window closes, the last one ends the application: what closing the main
    // window does, with any open alert closed first.
    QObject::connect(quit, &QAction::triggered, window, [] { QApplication::closeAllWindows(); });

    addEditMenu(bar, actions);
    addWindowMenu(bar, window, tools, showTool);

#ifndef Q_OS_MACOS
    // F10 opens the first menu, as on the other desktops; the arrows then walk the bar.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
    QObject::connect(f10, &QShortcut::activated, bar, [bar] {
        const auto menus = bar->actions();
        if (!menus.isEmpty()) {
            bar->setFocus(Qt::ShortcutFocusReason);
            bar->setActiveAction(menus.first());
        }
    });
#endif
    return bar;
}

} // namespace tidvale::gui

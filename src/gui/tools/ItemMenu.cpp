#include "gui/tools/ItemMenu.h"

#include "gui/style/Colors.h"
#include "gui/style/Symbols.h"
#include "gui/text/PlatformText.h"
#include "platform/Workspace.h"

#include <QAbstractItemView>
#include <QMenu>

namespace tidvale::gui {

void attachContextMenu(
    QAbstractItemView* view, std::function<void(QMenu*, const QModelIndex&)> fill)
{
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, view,
        [view, fill = std::move(fill)](const QPoint& pos) {
            auto* menu = new QMenu(view);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            fill(menu, view->indexAt(pos));
            if (menu->isEmpty()) {
                delete menu;
                return;
            }
            menu->popup(view->viewport()->mapToGlobal(pos));
        });
}

ItemMenu::ItemMenu(QMenu* menu, std::string path, const Context& context,
    std::function<void(const QString&)> refused)
    : menu_(menu)
    , path_(std::move(path))
    , context_(context)
    , refused_(std::move(refused))
{
    menu_->clear();
}

std::function<void()> ItemMenu::refusedNotice() const
{
    const QString text = platformText(context_, &PlatformTexts::fileManagerFailed);
    if (text.isEmpty() || !refused_)
        return {};
    return [text, refused = refused_] { refused(text); };
}

ItemMenu& ItemMenu::action(
    const QString& title, const QString& symbol, std::function<void()> action)
{
    QAction* item = menu_->addAction(symbolIcon(symbol, labelColor(menu_)), title);
    QObject::connect(item, &QAction::triggered, menu_, [action = std::move(action)] { action(); });
    return *this;
}

ItemMenu& ItemMenu::reveal(const QString& title)
{
    return action(title.isEmpty() ? platformText(context_, &PlatformTexts::revealInFolder) : title,
        QStringLiteral("folder"),
        [path = path_, workspace = context_.backends.workspace, refused = refusedNotice()] {
            if (!workspace->reveal(path) && refused)
                refused();
        });
}

ItemMenu& ItemMenu::open()
{
    return action(QStringLiteral("Abrir"), QStringLiteral("arrow.up.right.square"),
        [path = path_, workspace = context_.backends.workspace] {
            workspace->openWithDefaultApplication(path);
        });
}

ItemMenu& ItemMenu::launch()
{
    return action(QStringLiteral("Abrir Aplicación"), QStringLiteral("play.circle"),
        [path = path_, workspace = context_.backends.workspace] {
            workspace->launchApplication(path);
        });
}

ItemMenu& ItemMenu::info()
{
    return action(QStringLiteral("Obtener Información"), QStringLiteral("info.circle"),
        [path = path_, workspace = context_.backends.workspace, refused = refusedNotice()] {
            if (!workspace->showInformation(path) && refused)
                refused();
        });
}

ItemMenu& ItemMenu::trash(std::function<void()> action, const QString& title)
{
    return this->action(title, QStringLiteral("trash"), std::move(action));
}

ItemMenu& ItemMenu::enabled(bool on)
{
    if (!menu_->actions().isEmpty())
        menu_->actions().constLast()->setEnabled(on);
    return *this;
}

ItemMenu& ItemMenu::shortcut(const QKeySequence& key)
{
    if (!menu_->actions().isEmpty()) {
        QAction* last = menu_->actions().constLast();
        last->setShortcut(key);
        last->setShortcutContext(Qt::WidgetShortcut);
    }
    return *this;
}

ItemMenu& ItemMenu::separator()
{
    menu_->addSeparator();
    return *this;
}

} // namespace tidvale::gui

#include "gui/app/sidebar/SidebarItem.h"

#include "gui/style/Colors.h"

namespace tidvale::gui {

std::vector<SidebarItem> sidebarItems(const PlatformTexts& texts)
{
    using C = SystemColor;
    return {
        {QStringLiteral("Smart Scan"), QStringLiteral("magnifyingglass.circle.fill"),
            systemColor(C::blue), 0},
        {QStringLiteral("Basura del Sistema"), QStringLiteral("trash.fill"), systemColor(C::orange),
            1},
        {QStringLiteral("Privacidad"), QStringLiteral("lock.shield.fill"), systemColor(C::purple),
            2},
        {QStringLiteral("Aplicaciones"), QStringLiteral("app.fill"), systemColor(C::green), 3},
        {QStringLiteral("Extensiones"), QStringLiteral("puzzlepiece.fill"), systemColor(C::yellow),
            4},
        {QStringLiteral("Memoria"), QStringLiteral("memorychip.fill"), systemColor(C::cyan), 5},
        {QStringLiteral("Espacio en Disco"), QStringLiteral("externaldrive.fill"),
            systemColor(C::red), 6},
        {QStringLiteral("Archivos Grandes"), QStringLiteral("doc.zipper"), systemColor(C::pink), 7},
        {QStringLiteral("Duplicados"), QStringLiteral("doc.on.doc.fill"), systemColor(C::indigo),
            8},
        {QString::fromStdString(texts.developerSidebarTitle), QStringLiteral("hammer.fill"),
            xcodeBrown(), 9},
        {QStringLiteral("Descargas"), QStringLiteral("arrow.down.circle.fill"),
            systemColor(C::mint), 10},
    };
}

} // namespace tidvale::gui

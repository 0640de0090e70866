#include "gui/app/ToolTable.h"

#include "gui/style/Colors.h"
#include "gui/tools/applications/ApplicationsViewController.h"
#include "gui/tools/diskspace/DiskSpaceViewController.h"
#include "gui/tools/downloads/DownloadsViewController.h"
#include "gui/tools/duplicates/DuplicatesViewController.h"
#include "gui/tools/extensions/ExtensionsViewController.h"
#include "gui/tools/largefiles/LargeFilesViewController.h"
#include "gui/tools/memory/MemoryViewController.h"
#include "gui/tools/privacy/PrivacyViewController.h"
#include "gui/tools/smartscan/SmartScanViewController.h"
#include "gui/tools/systemjunk/SystemJunkViewController.h"
#include "gui/tools/xcode/XcodeCleanerViewController.h"

namespace tidvale::gui {
namespace {

template <class Screen> ToolViewController* make(const ScreenServices& services, QWidget* parent)
{
    return new Screen(services, parent);
}

} // namespace

std::vector<ToolEntry> toolTable(const PlatformTexts& texts)
{
    using C = SystemColor;
    return {
        {QStringLiteral("Smart Scan"), QStringLiteral("magnifyingglass.circle.fill"),
            systemColor(C::blue), make<SmartScanViewController>},
        {QStringLiteral("Basura del Sistema"), QStringLiteral("trash.fill"), systemColor(C::orange),
            make<SystemJunkViewController>},
        {QStringLiteral("Privacidad"), QStringLiteral("lock.shield.fill"), systemColor(C::purple),
            make<PrivacyViewController>},
        {QStringLiteral("Aplicaciones"), QStringLiteral("app.fill"), systemColor(C::green),
            make<ApplicationsViewController>},
        {QStringLiteral("Extensiones"), QStringLiteral("puzzlepiece.fill"), systemColor(C::yellow),
            make<ExtensionsViewController>},
        {QStringLiteral("Memoria"), QStringLiteral("memorychip.fill"), systemColor(C::cyan),
            make<MemoryViewController>},
        {QStringLiteral("Espacio en Disco"), QStringLiteral("externaldrive.fill"),
            systemColor(C::red), make<DiskSpaceViewController>},
        {QStringLiteral("Archivos Grandes"), QStringLiteral("doc.zipper"), systemColor(C::pink),
            make<LargeFilesViewController>},
        {QStringLiteral("Duplicados"), QStringLiteral("doc.on.doc.fill"), systemColor(C::indigo),
            make<DuplicatesViewController>},
        {QString::fromStdString(texts.developerSidebarTitle), QStringLiteral("hammer.fill"),
            xcodeBrown(), make<XcodeCleanerViewController>},
        {QStringLiteral("Descargas"), QStringLiteral("arrow.down.circle.fill"),
            systemColor(C::mint), make<DownloadsViewController>},
    };
}

} // namespace tidvale::gui

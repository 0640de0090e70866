#include "engine/desktop/SettingsLocation.h"
#include "engine/junk/ScanService.h"
#include "engine/setup/ContextBuilder.h"
#include "engine/setup/ProcessContext.h"
#include "engine/system/SystemInfoService.h"
#include "gui/app/ViewController.h"
#include "gui/jobs/RemovalLog.h"

#include <QApplication>
#include <QIcon>

// Tidvale reads no options of its own: the arguments go to Qt only. The settings file is
// read, and written only when the user changes something in Preferencias….
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("tidvale"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tidvale.svg")));
    tidvale::ContextOptions options;
    options.backends = tidvale::platform::systemBackends;
    options.settings = tidvale::systemUserSettings;
    const tidvale::Context& context
        = tidvale::installProcessContext(tidvale::buildContext(options));
    tidvale::gui::RemovalLog removals(context);
    tidvale::gui::ViewController window(
        {context, tidvale::ScanService::shared(), tidvale::SystemInfoService::shared(), removals});
    tidvale::gui::showMainWindow(window);
    return app.exec();
}

#include "gui/app/QtDispatcher.h"
#include "gui/app/ViewController.h"

#include <QApplication>
#include <QIcon>

// Tidvale reads no options, settings or files of its own: the arguments go to Qt only.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral("tidvale"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tidvale.svg")));
    tidvale::gui::installQtDispatcher();
    tidvale::gui::ViewController window;
    tidvale::gui::showMainWindow(window);
    return app.exec();
}

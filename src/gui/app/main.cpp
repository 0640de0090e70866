#include "gui/app/QtDispatcher.h"
#include "gui/app/ViewController.h"

#include <QApplication>

// Tidvale reads no options, settings or files of its own: the arguments go to Qt only.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tidvale::gui::installQtDispatcher();
    tidvale::gui::ViewController window;
    tidvale::gui::showMainWindow(window);
    return app.exec();
}

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tidvale"));
    window.resize(920, 640);
    window.setMinimumSize(760, 500);
    window.show();
    return app.exec();
}

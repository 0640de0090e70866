// Starts a program and reports how long it takes until its window's sidebar colour
// appears on the X screen (the first painted frame), then its resident memory once
// idle. Built and run by bench/startup.sh under Xvfb; not part of the application.
//   startup_probe PROGRAM X Y
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>

#include <cstdio>

namespace {

long residentKilobytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const int x = atoi(argv[2]), y = atoi(argv[3]);
    const QColor sidebar(28, 28, 43);
    QScreen* screen = QGuiApplication::primaryScreen();

    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer clock;
    clock.start();
    program.start(QString::fromLocal8Bit(argv[1]), {});
    if (!program.waitForStarted())
        return 1;
    qint64 painted = -1;
    while (clock.elapsed() < 20000) {
        const QColor c = screen->grabWindow(0, x, y, 1, 1).toImage().pixelColor(0, 0);
        if (qAbs(c.red() - sidebar.red()) < 4 && qAbs(c.green() - sidebar.green()) < 4
            && qAbs(c.blue() - sidebar.blue()) < 4) {
            painted = clock.nsecsElapsed() / 1000;
            break;
        }
        QThread::usleep(500);
    }
    QThread::sleep(3); // idle
    const long rss = residentKilobytes(program.processId());
    std::printf("first_paint_ms %.1f\nidle_rss_mb %.1f\n", painted / 1000.0, rss / 1024.0);
    program.terminate();
    program.waitForFinished(3000);
    return painted < 0 ? 1 : 0;
}

// Measures how long the GUI event loop stalls while a screen works: a timer asks to
// fire every 2 ms, and every gap between two firings is a time the window could not
// answer. Runs the real screens on a throw-away home; the work runs as it does for a
// user, from the start button and a confirmed alert. Not part of the application; run
// by bench/gui-stalls.sh, which builds it and the trees.
//
//   tidvale-gui-stalls junk                 System Junk scans and cleans $HOME/.cache
//   tidvale-gui-stalls dupes FOLDER         Duplicates hashes FOLDER
//   tidvale-gui-stalls stop FOLDER          Large Files walks FOLDER, stopped after 0.15 s
//
// Prints one line per phase: its wall time, the longest gap and the 99th percentile.
// With TIDVALE_SHOTS=DIR it also saves the whole screen early in each phase, for a look
// at the "Detener" button and the removal sheet under Xvfb (the pictures stall the
// window in their turn).
#include "engine/junk/ScanService.h"
#include "engine/setup/ContextBuilder.h"
#include "engine/system/SystemInfoService.h"
#include "gui/jobs/RemovalLog.h"
#include "gui/tools/duplicates/DuplicatesViewController.h"
#include "gui/tools/largefiles/LargeFilesViewController.h"
#include "gui/tools/systemjunk/SystemJunkViewController.h"
#include "gui/widgets/Alert.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QStyleFactory>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tidvale::gui;

namespace {

// Records the gaps between firings of a 2 ms timer while it lives.
class StallProbe {
public:
    StallProbe()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            const double gap = static_cast<double>(now - last_) / 1e6;
            if (gaps_.empty() || gap > worst_) {
                worst_ = gap;
                worstAt_ = static_cast<double>(last_) / 1e9;
            }
            gaps_.push_back(gap);
            last_ = now;
        });
        clock_.start();
        timer_.start();
    }
    void report(const char* phase) const
    {
        std::vector<double> gaps = gaps_;
        std::sort(gaps.begin(), gaps.end());
        const double worst = gaps.empty() ? 0 : gaps.back();
        const double p99 = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
        std::printf("%-6s wall %8.3f s   longest stall %7.1f ms (at %.3f s)   p99 %6.1f ms   (%zu "
                    "ticks)\n",
            phase, static_cast<double>(clock_.nsecsElapsed()) / 1e9, worst, worstAt_, p99,
            gaps.size());
        std::fflush(stdout);
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    std::vector<double> gaps_;
    double worst_ = 0;
    double worstAt_ = 0;
};

bool waitWhile(const std::function<bool()>& busy, int ms = 3'600'000)
{
    QElapsedTimer t;
    t.start();
    while (busy()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(1);
    }
    return true;
}

void shootLater(const QString& name, int ms)
{
    const QString dir = qEnvironmentVariable("TIDVALE_SHOTS");
    if (dir.isEmpty())
        return;
    QTimer::singleShot(ms, [dir, name] {
        QGuiApplication::primaryScreen()->grabWindow(0).save(dir + "/" + name + ".png");
    });
}

// Shows `screen` as a user would see it; false when no window appears.
bool showScreen(ToolViewController& screen)
{
    screen.resize(900, 600);
    screen.show();
    return QTest::qWaitForWindowExposed(&screen);
}

// Presses the start button and measures until the job's result is on the screen.
bool scan(ToolViewController& screen, const char* phase)
{
    StallProbe probe;
    shootLater(QStringLiteral("%1-running").arg(QLatin1String(phase)), 60);
    screen.startButton()->click();
    if (!waitWhile([&] { return screen.isBusy(); }))
        return false;
    probe.report(phase);
    return true;
}

int junk(const ScreenServices& services)
{
    SystemJunkViewController screen(services);
    if (!showScreen(screen) || !scan(screen, "scan"))
        return 1;
    AlertAnswerer confirm(0);
    StallProbe probe;
    shootLater(QStringLiteral("clean-running"), 500);
    screen.doClean();
    // The confirmation's answer comes through the event loop, then the removal runs.
    QTest::qWait(20);
    if (!waitWhile([&] { return screen.isBusy(); }))
        return 1;
    probe.report("clean");
    std::printf("after  %s\n", qPrintable(screen.statusLabel()->text()));
    return 0;
}

int dupes(const ScreenServices& services, const std::string& folder)
{
    DuplicatesViewController screen(services);
    screen.setSearchRoots({folder});
    if (!showScreen(screen) || !scan(screen, "hash"))
        return 1;
    std::printf("after  %s\n", qPrintable(screen.statusLabel()->text()));
    return 0;
}

// How long "Detener" takes to give the screen back, and how long the stopped walk goes
// on in the background before it sees the flag.
int stop(const ScreenServices& services, const std::string& folder)
{
    LargeFilesViewController screen(services);
    screen.setSearchRoots({folder});
    if (!showScreen(screen))
        return 1;
    StallProbe probe;
    shootLater(QStringLiteral("stop-running"), 60);
    screen.startButton()->click();
    QTest::qWait(150);
    if (!screen.isBusy()) {
        std::fprintf(stderr, "the walk ended before it could be stopped: use a bigger tree\n");
        return 1;
    }
    QElapsedTimer t;
    t.start();
    screen.startButton()->click();
    const double back = static_cast<double>(t.nsecsElapsed()) / 1e6;
    QThreadPool::globalInstance()->waitForDone();
    const double ended = static_cast<double>(t.nsecsElapsed()) / 1e6;
    probe.report("stop");
    std::printf("stop   screen back after %.2f ms, busy=%d; stopped walk ended after %.1f ms\n",
        back, screen.isBusy() ? 1 : 0, ended);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!(mode == QLatin1String("junk") && argc == 2) && !(argc == 3 && mode != "junk")) {
        std::fprintf(stderr, "usage: %s junk | dupes FOLDER | stop FOLDER\n", argv[0]);
        return 2;
    }
    // It really cleans: never on the user's own home folder, never in the machine's
    // own folders (the machine-wide junk is looked for under an empty root).
    tidvale::ContextOptions options;
    options.backends = tidvale::platform::systemBackends;
    tidvale::Context context = tidvale::buildContext(options);
    if (context.folders.home == context.folders.realHome) {
        std::fprintf(stderr, "HOME must point at a throw-away folder, not %s\n",
            context.folders.realHome.c_str());
        return 2;
    }
    context.folders.systemRoot = context.folders.home + "/.no-system";
    QDir().mkpath(QString::fromStdString(context.folders.systemRoot));
    const tidvale::ScanService scan(context);
    const tidvale::SystemInfoService info(context);
    tidvale::gui::RemovalLog removals(context);
    const ScreenServices services{context, scan, info, removals};
    if (mode == QLatin1String("junk"))
        return junk(services);
    if (mode == QLatin1String("dupes"))
        return dupes(services, argv[2]);
    if (mode == QLatin1String("stop"))
        return stop(services, argv[2]);
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
}

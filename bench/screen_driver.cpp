// Takes pictures of the real window for people to look at: every tool screen, and
// Smart Scan before a scan, after it and after a clean (the clean is confirmed through
// the alert test hook). Not part of the application, which reads no options; run by
// scripts/screenshots.sh on a home folder made for it.
//
//   tidvale-screen-driver OUTPUT_FOLDER light|dark
#include "engine/junk/ScanService.h"
#include "engine/setup/ContextBuilder.h"
#include "engine/system/SystemInfoService.h"
#include "gui/app/ViewController.h"
#include "gui/app/container/ContentContainerViewController.h"
#include "gui/app/sidebar/SidebarViewController.h"
#include "gui/jobs/RemovalLog.h"
#include "gui/tools/downloads/DownloadsViewController.h"
#include "gui/tools/duplicates/DuplicatesViewController.h"
#include "gui/tools/largefiles/LargeFilesViewController.h"
#include "gui/tools/smartscan/SmartScanViewController.h"
#include "gui/widgets/Alert.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QListView>
#include <QPalette>
#include <QScrollArea>
#include <QStyleFactory>
#include <QTest>

#include <cstdio>
#include <functional>

using namespace tidvale::gui;

namespace {

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(30, 30, 32));
    p.setColor(QPalette::WindowText, QColor(235, 235, 240));
    p.setColor(QPalette::Base, QColor(44, 44, 46));
    p.setColor(QPalette::AlternateBase, QColor(52, 52, 55));
    p.setColor(QPalette::Text, QColor(235, 235, 240));
    p.setColor(QPalette::Button, QColor(58, 58, 60));
    p.setColor(QPalette::ButtonText, QColor(235, 235, 240));
    p.setColor(QPalette::Highlight, QColor(10, 132, 255));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(58, 58, 60));
    p.setColor(QPalette::ToolTipText, QColor(235, 235, 240));
    return p;
}

bool waitFor(const std::function<bool()>& done, int ms = 60000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER light|dark\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString mode = QString::fromLocal8Bit(argv[2]);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (mode == QLatin1String("dark"))
        QApplication::setPalette(darkPalette());
    // It really cleans: never let it loose on the user's own home folder.
    tidvale::ContextOptions options;
    options.backends = tidvale::platform::systemBackends;
    const tidvale::Context context = tidvale::buildContext(options);
    if (context.folders.home == context.folders.realHome) {
        std::fprintf(stderr, "HOME must point at a throw-away folder, not %s\n",
            context.folders.realHome.c_str());
        return 2;
    }
    const tidvale::ScanService scan(context);
    const tidvale::SystemInfoService info(context);

    tidvale::gui::RemovalLog removals(context);
    ViewController window({context, scan, info, removals});
    showMainWindow(window);
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto shoot = [&](const QString& name, int settle = 400) {
        QTest::qWait(settle); // past the 0.18 s fade
        const QString file = out + "/" + mode + "-" + name + ".png";
        if (!window.grab().save(file))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    };

    auto* smart
        = qobject_cast<SmartScanViewController*>(window.contentVC()->featureControllers().front());
    shoot(QStringLiteral("smartscan-1-ready"));
    smart->startScan();
    shoot(QStringLiteral("smartscan-2-scanning"), 0);
    if (!waitFor([&] { return !smart->isBusy(); }))
        return 1;
    shoot(QStringLiteral("smartscan-3-results"));
    window.resize(760, 500);
    shoot(QStringLiteral("smallest-smartscan-results"));
    window.resize(920, 640);
    {
        AlertAnswerer confirm(0);
        smart->cleanAll();
        if (!waitFor([&] { return smart->allItems().empty(); }))
            return 1;
    }
    shoot(QStringLiteral("smartscan-4-cleaned"));

    // The list screens once more after their scan or listing, which the finders run on
    // the throw-away home rather than on the real one; Memory and Disk have none.
    const std::string& home = context.folders.home;
    const std::vector<std::string> folders{
        home + "/Downloads", home + "/Documents", home + "/Desktop"};
    auto list = [&](ToolViewController* screen) {
        if (auto* large = qobject_cast<LargeFilesViewController*>(screen))
            large->setSearchRoots(folders);
        if (auto* copies = qobject_cast<DuplicatesViewController*>(screen))
            copies->setSearchRoots(folders);
        if (auto* downloads = qobject_cast<DownloadsViewController*>(screen))
            downloads->setFolder(folders.front());
        // The screen's start button starts its scan (and would stop it while it runs).
        auto* start = screen->startButton();
        if (!start)
            return false;
        start->click();
        QTest::qWait(100);
        return waitFor([&] { return !screen->isBusy(); });
    };
    const auto& screens = window.contentVC()->featureControllers();
    for (int tool = 1; tool < ContentContainerViewController::toolCount; ++tool) {
        window.sidebarVC()->selectItem(tool);
        const QString name = QStringLiteral("tool-%1").arg(tool, 2, 10, QLatin1Char('0'));
        shoot(name);
        if (tool == 5 || tool == 6)
            continue;
        if (!list(screens[static_cast<size_t>(tool)]))
            return 1;
        shoot(name + QStringLiteral("-listed"));
    }
    // The keyboard's focus ring on each kind of control that draws its own.
    QApplication::setActiveWindow(&window);
    auto focusShot = [&](int tool, QWidget* widget, const QString& name) {
        window.sidebarVC()->selectItem(tool);
        QTest::qWait(300);
        widget->setFocus(Qt::TabFocusReason);
        shoot(QStringLiteral("focus-") + name, 200);
    };
    focusShot(1, window.sidebarVC()->tableView(), QStringLiteral("sidebar"));
    if (QAbstractItemView* rows = screens[10]->listView()) {
        rows->setCurrentIndex(rows->model()->index(1, 1));
        focusShot(10, rows, QStringLiteral("list"));
        rows->selectionModel()->select(
            rows->currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        focusShot(10, rows, QStringLiteral("list-selected"));
    }
    focusShot(0, screens[0]->startButton(), QStringLiteral("scan-button"));
    if (auto* column = screens[5]->findChild<QScrollArea*>())
        focusShot(5, column, QStringLiteral("scroll-column"));
    focusShot(4, screens[4]->startButton(), QStringLiteral("yellow-button"));
    focusShot(1, screens[1]->startButton(), QStringLiteral("orange-button"));

    // Every screen at the smallest size the window allows.
    window.resize(760, 500);
    for (int tool = 0; tool < ContentContainerViewController::toolCount; ++tool) {
        window.sidebarVC()->selectItem(tool);
        shoot(QStringLiteral("smallest-%1").arg(tool, 2, 10, QLatin1Char('0')));
    }
    return 0;
}

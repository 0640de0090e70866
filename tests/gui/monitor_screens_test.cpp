// The Memory and Disk space screens: figures, colour bounds, the live refresh, optimising
// and "Actualizar".
#include "gui/app/container/ContentContainerViewController.h"
#include "gui/style/Colors.h"
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/text/ByteTexts.h"
#include "gui/tools/diskspace/DiskMapView.h"
#include "gui/tools/diskspace/DiskSpaceViewController.h"
#include "gui/tools/diskspace/UsageBarView.h"
#include "gui/tools/memory/MemoryViewController.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ScreenHeader.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

platform::VmFigures figures(uint64_t free)
{
    return platform::VmFigures{free, 11 << 20, 12 << 20, 13 << 20, 14 << 20};
}

// The screen's one-second measure is noted rather than waited (ScreenTestEnvironment).
struct MemoryScreen {
    ScreenTestEnvironment env;
    std::shared_ptr<FakeMemoryStatistics> stats;

    explicit MemoryScreen(uint64_t total, FakeMemoryStatistics::Figures first)
        : stats(std::make_shared<FakeMemoryStatistics>(total))
    {
        stats->set({first});
        env.context.backends.memory = stats;
    }
};

bool live(const MemoryViewController* screen)
{
    return screen->refreshTimer() && screen->refreshTimer()->isActive();
}

struct DiskScreen {
    ScreenTestEnvironment env;
    std::shared_ptr<FakeVolumeStatistics>& volume = env.volumes;
    DiskSpaceViewController screen{env.services};

    explicit DiskScreen(FakeVolumeStatistics::Figures figures)
    {
        volume->figures = figures;
        screen.resize(720, 640);
    }
};

// Waits for the bar's growth to start, then takes it to its end at once.
qreal grownBar(UsageBarView* bar)
{
    QPropertyAnimation* growth = nullptr;
    if (!QTest::qWaitFor([&] { return (growth = bar->findChild<QPropertyAnimation*>()); }))
        return -1;
    growth->setCurrentTime(growth->duration());
    return bar->fillFraction();
}

int labelsWithText(const QWidget& w, const QString& text)
{
    int n = 0;
    for (const QLabel* l : w.findChildren<QLabel*>())
        n += l->text() == text;
    return n;
}

} // namespace

class MonitorScreensTest : public QObject {
    Q_OBJECT
private slots:
    // The bounds are the engine's (its own tests); here, that each screen shows the
    // figures and colours of the level it is given.
    void memoryFiguresAndColour()
    {
        MemoryScreen s(1000, figures(149));
        MemoryViewController screen(s.env.services);
        screen.ensureViewLoaded();
        QCOMPARE(screen.usedLabel()->text(), QStringLiteral("851 bytes (85%)"));
        QCOMPARE(screen.freeLabel()->text(), memoryBytesText(149));
        QCOMPARE(screen.usedLabel()->palette().color(QPalette::WindowText),
            systemColor(SystemColor::red));
        QVERIFY(qAbs(screen.progressValue() - 0.851) < 0.0002);
    }

    // Through the real container: choosing another tool stops the refresh and keeps the
    // figures; coming back reads them at once and restarts it.
    void refreshesOnlyWhileShown()
    {
        MemoryScreen s(8ull << 30, figures(1ull << 30));
        ContentContainerViewController container(s.env.services);
        container.resize(700, 600);
        container.show();
        QVERIFY(QTest::qWaitForWindowExposed(&container));
        container.showFeature(5);
        auto* memory = qobject_cast<MemoryViewController*>(container.currentChild());
        QVERIFY(memory && live(memory));
        QCOMPARE(memory->freeLabel()->text(), memoryBytesText(1ull << 30));
        s.stats->set({figures(2ull << 30)});
        QVERIFY(QMetaObject::invokeMethod(memory->refreshTimer(), "timeout"));
        QCOMPARE(memory->freeLabel()->text(), memoryBytesText(2ull << 30));

        container.showFeature(6);
        QVERIFY(!memory->refreshTimer());
        s.stats->set({figures(3ull << 30)});
        QCOMPARE(memory->freeLabel()->text(), memoryBytesText(2ull << 30));
        container.showFeature(5);
        QCOMPARE(memory->freeLabel()->text(), memoryBytesText(3ull << 30));
        QVERIFY(live(memory));
    }

    void optimiseRunsOnceAndReports()
    {
        MemoryScreen s(8ull << 30, figures(1ull << 30));
        MemoryViewController screen(s.env.services);
        screen.ensureViewLoaded();
        s.stats->set({figures(1ull << 30), figures((1ull << 30) + (300ull << 20))});
        QTest::mouseClick(screen.optimizeBtn(), Qt::LeftButton);
        QVERIFY(screen.isOptimizing());
        QVERIFY(!screen.optimizeBtn()->isEnabled());
        screen.optimizeMemory(); // a second press while it runs starts no second measure

        QTRY_VERIFY(!screen.isOptimizing());
        QCOMPARE(s.env.waits, std::vector<std::chrono::milliseconds>{std::chrono::seconds(1)});
        QCOMPARE(screen.statusLabel()->text(),
            QStringLiteral("✅ Memoria libre aumentó ~") + memoryBytesText(300ull << 20));
        QCOMPARE(screen.freeLabel()->text(), memoryBytesText((1ull << 30) + (300ull << 20)));

        s.stats->set({figures(5ull << 30), figures(4ull << 30)}); // free memory fell meanwhile
        screen.optimizeMemory();
        QTRY_VERIFY(!screen.isOptimizing());
        QCOMPARE(screen.statusLabel()->text(),
            QStringLiteral("Sin cambios: macOS ya gestiona la memoria de forma eficiente"));
    }

    // A Linux desktop's words: its own name for wired memory, what it does with free
    // memory, and the blocks kept for root as a third disk figure so the three add up.
    void linuxWords()
    {
        MemoryScreen s(8ull << 30, figures(1ull << 30));
        s.env.context.places = linuxPlaces();
        MemoryViewController memory(s.env.services);
        memory.ensureViewLoaded();
        QCOMPARE(labelsWithText(memory, QStringLiteral("No paginable")), 1);
        QCOMPARE(labelsWithText(memory, QStringLiteral("Wired")), 0);
        memory.optimizeMemory();
        QTRY_VERIFY(!memory.isOptimizing());
        QVERIFY(memory.statusLabel()->text().startsWith(QStringLiteral("Sin cambios: Linux ")));

        constexpr int64_t kGB = 1'000'000'000;
        DiskScreen d(platform::VolumeFigures{1000 * kGB, 300 * kGB, 650 * kGB});
        d.env.context.places = linuxPlaces();
        d.screen.ensureViewLoaded();
        QCOMPARE(d.screen.reservedValue()->text(), fileBytesText(50 * kGB));
        QCOMPARE(labelsWithText(d.screen, QStringLiteral("Reservado para el sistema")), 1);
        DiskScreen mac(platform::VolumeFigures{1000 * kGB, 300 * kGB, 650 * kGB});
        mac.screen.ensureViewLoaded();
        QVERIFY(!mac.screen.reservedValue());
    }

    void diskFiguresAndColour()
    {
        DiskScreen s(platform::VolumeFigures{1000, 349});
        s.screen.ensureViewLoaded();
        QCOMPARE(s.screen.percentLabel()->text(), QStringLiteral("65% usado"));
        QCOMPARE(s.screen.percentLabel()->palette().color(QPalette::WindowText),
            systemColor(SystemColor::orange));
        QCOMPARE(s.screen.usedValue()->text(), fileBytesText(651));
    }

    // The bar grows after a short delay; "Actualizar" rebuilds with one copy of everything.
    void barGrowsAndRefreshRebuildsWithoutDuplicates()
    {
        DiskScreen s(platform::VolumeFigures{1000, 250});
        s.screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.screen));
        QCOMPARE(s.screen.usageBar()->fillFraction(), 0.0);
        QCOMPARE(grownBar(s.screen.usageBar()), 0.75);
        for (int i = 0; i < 2; ++i) {
            s.volume->figures = platform::VolumeFigures{1000, 100};
            QTest::mouseClick(s.screen.refreshButton(), Qt::LeftButton);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(s.screen.findChildren<ScreenHeader*>().size(), 1);
        QCOMPARE(labelsWithText(s.screen, QStringLiteral("90% usado")), 1);
        QCOMPARE(grownBar(s.screen.usageBar()), 0.9);

        QTest::mouseClick(s.screen.finderButton(), Qt::LeftButton);
        QCOMPARE(s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"folder", "/"}}));
    }

    // The map of a folder, its list, a zoom, a move to the Trash of what is still as
    // measured (and not of what changed since), and a search started on a folder.
    void mapListsZoomsTrashesAndSearchesHere()
    {
        ScreenTestEnvironment env;
        ContentContainerViewController container(env.services);
        auto* disk = qobject_cast<DiskSpaceViewController*>(container.featureControllers()[6]);
        env.inHome("map/big/a", 5000);
        env.inHome("map/big/sub/b", 3000);
        const std::string small = env.inHome("map/small", 100);
        disk->ensureViewLoaded();
        disk->setMapFolder(env.homePath("map"));
        disk->doMap();
        QTRY_VERIFY(!disk->isBusy());
        auto names = [&] {
            QStringList out;
            for (const auto& row : disk->childModel()->items())
                out << QString::fromStdString(row.name);
            return out;
        };
        QCOMPARE(names(), (QStringList{"big", "small"}));
        QCOMPARE(disk->mapView()->pieces().front().name, std::string("big"));
        disk->childList()->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
        QCOMPARE(names(), (QStringList{"small", "big"}));

        disk->zoomTo(disk->childModel()->items()[1].id);
        QVERIFY(disk->breadcrumb()->text().contains("<a href=\"0\">"));
        QCOMPARE(names(), (QStringList{"sub", "a"})); // the sort chosen stays
        const UsageId a = disk->childModel()->items()[1].id;
        env.inHome("map/big/a", 6000); // rewritten since it was measured
        disk->trashEntry(a);
        QTRY_VERIFY(!disk->isBusy());
        QVERIFY(env.trash->moved.empty());
        QVERIFY(disk->statusLabel()->text().contains("cambió"));

        disk->zoomOut();
        disk->trashEntry(disk->childModel()->items()[0].id);
        QTRY_VERIFY(!disk->isBusy());
        QCOMPARE(env.trash->moved, std::vector<std::string>{small});
        QCOMPARE(names(), QStringList{"big"});
        QCOMPARE(disk->usageTree()->entry(kUsageRoot).bytes, 8000);

        QSignalSpy asked(&container, &ContentContainerViewController::featureRequested);
        QMenu menu;
        disk->fillEntryMenu(&menu, disk->childModel()->items()[0].id);
        for (QAction* action : menu.actions())
            if (action->text() == QStringLiteral("Buscar archivos grandes aquí"))
                action->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(container.currentChild(), container.featureControllers()[7]);
        QTRY_VERIFY(!container.currentChild()->isBusy());
    }
};

QTEST_MAIN(MonitorScreensTest)
#include "monitor_screens_test.moc"

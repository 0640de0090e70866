// The Memory screen: figures, colours, the live refresh and the optimise button.
#include "gui/app/container/ContentContainerViewController.h"
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/tools/memory/MemoryViewController.h"
#include "gui/widgets/ByteTexts.h"
#include "gui/widgets/Colors.h"
#include "gui/widgets/PrimaryButton.h"
#include "support/FakeSystemStatistics.h"

#include <QLabel>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

platform::VmFigures figures(uint64_t free)
{
    platform::VmFigures f;
    f.free = free;
    f.active = 11 << 20;
    f.inactive = 12 << 20;
    f.wired = 13 << 20;
    f.compressed = 14 << 20;
    return f;
}

QColor textColor(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

struct MemoryScreen {
    ScreenTestEnvironment env;
    std::shared_ptr<FakeMemoryStatistics> stats;
    platform::ScopedService<platform::MemoryStatistics> slot;
    MemoryViewController screen;

    explicit MemoryScreen(uint64_t total = 1000)
        : stats(std::make_shared<FakeMemoryStatistics>(total))
        , slot(stats)
    {
    }
};

} // namespace

class MemoryTest : public QObject {
    Q_OBJECT
private slots:
    void figuresAndColours_data()
    {
        QTest::addColumn<uint64_t>("total");
        QTest::addColumn<std::optional<uint64_t>>("free"); // nothing: statistics refused
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QString>("colour"); // "label", "orange" or "red"
        QTest::addColumn<double>("bar");
        QTest::newRow("0.65 is not yet orange")
            << uint64_t(100) << std::optional<uint64_t>(35) << "65%"
            << "label" << 0.65;
        QTest::newRow("just above 0.65") << uint64_t(1000) << std::optional<uint64_t>(349) << "65%"
                                         << "orange" << 0.651;
        QTest::newRow("0.85 is still orange")
            << uint64_t(100) << std::optional<uint64_t>(15) << "85%"
            << "orange" << 0.85;
        QTest::newRow("just above 0.85") << uint64_t(1000) << std::optional<uint64_t>(149) << "85%"
                                         << "red" << 0.851;
        QTest::newRow("99.9 % truncates") << uint64_t(1000) << std::optional<uint64_t>(1) << "99%"
                                          << "red" << 0.999;
        QTest::newRow("free above total") << uint64_t(100) << std::optional<uint64_t>(150) << "0%"
                                          << "label" << 0.0;
        QTest::newRow("no total") << uint64_t(0) << std::optional<uint64_t>(0) << "0%"
                                  << "label" << 0.0;
        QTest::newRow("statistics refused") << uint64_t(100) << std::optional<uint64_t>() << "100%"
                                            << "red" << 1.0;
    }
    void figuresAndColours()
    {
        QFETCH(uint64_t, total);
        QFETCH(std::optional<uint64_t>, free);
        QFETCH(QString, percent);
        QFETCH(QString, colour);
        QFETCH(double, bar);
        MemoryScreen s(total);
        if (free)
            s.stats->push(figures(*free));
        else
            s.stats->push(std::nullopt);
        s.screen.ensureViewLoaded();

        const uint64_t used = free && *free < total ? total - *free : (free ? 0 : total);
        QCOMPARE(s.screen.usedLabel()->text(), memoryBytesText(used) + " (" + percent + ")");
        QCOMPARE(s.screen.totalLabel()->text(), memoryBytesText(total));
        QCOMPARE(s.screen.freeLabel()->text(), memoryBytesText(free.value_or(0)));
        QCOMPARE(s.screen.compressedLabel()->text(), memoryBytesText(free ? 14 << 20 : 0));
        const QColor expected = colour == "red" ? systemColor(SystemColor::red)
            : colour == "orange"                ? systemColor(SystemColor::orange)
                                                : labelColor(&s.screen);
        QCOMPARE(textColor(s.screen.usedLabel()), expected);
        QCOMPARE(textColor(s.screen.totalLabel()), labelColor(&s.screen));
        QVERIFY(qAbs(s.screen.progressValue() - bar) < 0.0002);
    }

    void refreshesOnlyWhileShownAndAgainWhenBack()
    {
        MemoryScreen s(8ull << 30);
        s.stats->push(figures(1ull << 30));
        QWidget window;
        window.resize(700, 600);
        s.screen.setParent(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(s.screen.refreshTimer());
        QVERIFY(s.screen.refreshTimer()->isActive());
        QCOMPARE(s.screen.refreshTimer()->interval(), 3000);
        QCOMPARE(s.screen.freeLabel()->text(), memoryBytesText(1ull << 30));

        // A tick reads the figures anew.
        s.stats->clear();
        s.stats->push(figures(2ull << 30));
        QVERIFY(QMetaObject::invokeMethod(s.screen.refreshTimer(), "timeout"));
        QCOMPARE(s.screen.freeLabel()->text(), memoryBytesText(2ull << 30));

        s.screen.hide(); // another tool is chosen
        QVERIFY(!s.screen.refreshTimer());
        s.stats->clear();
        s.stats->push(figures(3ull << 30));
        QCOMPARE(s.screen.freeLabel()->text(), memoryBytesText(2ull << 30)); // kept as they were

        s.screen.show(); // and back: current figures at once, and live again
        QCOMPARE(s.screen.freeLabel()->text(), memoryBytesText(3ull << 30));
        QVERIFY(s.screen.refreshTimer() && s.screen.refreshTimer()->isActive());
        s.screen.setParent(nullptr);
    }

    // Through the real container: choosing another tool stops the refresh, coming back
    // restarts it.
    void toolSwitchingStopsAndRestartsTheTimer()
    {
        ScreenTestEnvironment env;
        auto stats = std::make_shared<FakeMemoryStatistics>(1000);
        platform::ScopedService<platform::MemoryStatistics> slot(stats);
        stats->push(figures(10));
        ContentContainerViewController container;
        container.resize(700, 600);
        container.show();
        QVERIFY(QTest::qWaitForWindowExposed(&container));
        container.showFeature(5);
        auto* memory = qobject_cast<MemoryViewController*>(container.currentChild());
        QVERIFY(memory);
        QVERIFY(memory->refreshTimer() && memory->refreshTimer()->isActive());
        container.showFeature(6);
        QVERIFY(!memory->refreshTimer());
        container.showFeature(5);
        QVERIFY(memory->refreshTimer() && memory->refreshTimer()->isActive());
    }

    void optimiseRunsOnceAndReports()
    {
        MemoryScreen s(8ull << 30);
        s.stats->push(figures(1ull << 30));
        s.screen.ensureViewLoaded();
        s.stats->clear();
        s.stats->push(figures(1ull << 30));                    // before
        s.stats->push(figures((1ull << 30) + (300ull << 20))); // after the wait

        QTest::mouseClick(s.screen.optimizeBtn(), Qt::LeftButton);
        QVERIFY(s.screen.isOptimizing());
        QVERIFY(!s.screen.optimizeBtn()->isEnabled());
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("Optimizando memoria..."));
        const int calls = s.stats->calls();
        s.screen.optimizeMemory(); // a second press while it runs
        QCOMPARE(s.stats->calls(), calls);

        QTRY_VERIFY_WITH_TIMEOUT(!s.screen.isOptimizing(), 10000);
        QVERIFY(s.screen.optimizeBtn()->isEnabled());
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Memoria libre aumentó ~") + memoryBytesText(300ull << 20));
        // The figures were read again with the result.
        QCOMPARE(s.screen.freeLabel()->text(), memoryBytesText((1ull << 30) + (300ull << 20)));

        s.stats->clear();
        s.stats->push(figures(5ull << 30));
        s.stats->push(figures(4ull << 30)); // free memory fell during the wait
        s.screen.optimizeMemory();
        QTRY_VERIFY_WITH_TIMEOUT(!s.screen.isOptimizing(), 10000);
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("Sin cambios: macOS ya gestiona la memoria de forma eficiente"));
    }

    void screenGoneBeforeTheResult()
    {
        ScreenTestEnvironment env;
        auto stats = std::make_shared<FakeMemoryStatistics>(1000);
        platform::ScopedService<platform::MemoryStatistics> slot(stats);
        stats->push(figures(10));
        auto* screen = new MemoryViewController;
        screen->ensureViewLoaded();
        QPointer<QTimer> timer = screen->refreshTimer();
        screen->optimizeMemory();
        delete screen;
        QVERIFY(!timer); // the timer went with its screen
        // The measurement completes into nothing.
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(MemoryTest)
#include "memory_test.moc"

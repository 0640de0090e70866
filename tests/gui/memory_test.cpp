// The Memory screen: figures and their colour bounds, the live refresh and the optimise
// button.
#include "engine/core/Dispatch.h"
#include "gui/app/container/ContentContainerViewController.h"
#include "gui/style/Colors.h"
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/text/ByteTexts.h"
#include "gui/tools/memory/MemoryViewController.h"
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
    return platform::VmFigures{free, 11 << 20, 12 << 20, 13 << 20, 14 << 20};
}

// The engine's work as the application runs it, but its timed waits (the one-second
// measure) noted rather than waited.
class NoWaitDispatcher final : public Dispatcher {
public:
    void toBackground(std::function<void()> work) override { real_->toBackground(std::move(work)); }
    void toMain(std::function<void()> work) override { real_->toMain(std::move(work)); }
    void toBackgroundAfter(std::chrono::milliseconds delay, std::function<void()> work) override
    {
        waits.push_back(delay);
        toBackground(std::move(work));
    }
    std::vector<std::chrono::milliseconds> waits;

private:
    std::shared_ptr<Dispatcher> real_ = dispatcher();
};

struct MemoryScreen {
    ScreenTestEnvironment env;
    std::shared_ptr<FakeMemoryStatistics> stats;
    platform::ScopedService<platform::MemoryStatistics> slot;
    std::shared_ptr<NoWaitDispatcher> clock = std::make_shared<NoWaitDispatcher>();

    explicit MemoryScreen(uint64_t total, FakeMemoryStatistics::Figures first)
        : stats(std::make_shared<FakeMemoryStatistics>(total))
        , slot(stats)
    {
        stats->set({first});
        setDispatcher(clock);
    }
};

bool live(const MemoryViewController* screen)
{
    return screen->refreshTimer() && screen->refreshTimer()->isActive();
}

} // namespace

class MemoryTest : public QObject {
    Q_OBJECT
private slots:
    void figuresAndColours_data()
    {
        QTest::addColumn<uint64_t>("total");
        QTest::addColumn<qint64>("free"); // -1: statistics refused
        QTest::addColumn<QString>("used");
        QTest::addColumn<int>("colour"); // 0 label, 1 orange, 2 red
        QTest::addColumn<double>("bar");
        QTest::newRow("just above 0.65")
            << uint64_t(1000) << 349ll << "651 bytes (65%)" << 1 << 0.651;
        QTest::newRow("just above 0.85")
            << uint64_t(1000) << 149ll << "851 bytes (85%)" << 2 << 0.851;
        QTest::newRow("free above total") << uint64_t(100) << 150ll << "Cero KB (0%)" << 0 << 0.0;
        QTest::newRow("statistics refused")
            << uint64_t(100) << -1ll << "100 bytes (100%)" << 2 << 1.0;
    }
    void figuresAndColours()
    {
        QFETCH(uint64_t, total);
        QFETCH(qint64, free);
        QFETCH(QString, used);
        QFETCH(int, colour);
        QFETCH(double, bar);
        MemoryScreen s(total,
            free < 0 ? std::nullopt : FakeMemoryStatistics::Figures(figures(uint64_t(free))));
        MemoryViewController screen;
        screen.ensureViewLoaded();
        QCOMPARE(screen.usedLabel()->text(), used);
        QCOMPARE(screen.freeLabel()->text(), memoryBytesText(std::max<qint64>(free, 0)));
        const QColor expected = colour == 2 ? systemColor(SystemColor::red)
            : colour == 1                   ? systemColor(SystemColor::orange)
                                            : labelColor(&screen);
        QCOMPARE(screen.usedLabel()->palette().color(QPalette::WindowText), expected);
        QVERIFY(qAbs(screen.progressValue() - bar) < 0.0002);
    }

    // Through the real container: choosing another tool stops the refresh and keeps the
    // figures; coming back reads them at once and restarts it.
    void refreshesOnlyWhileShown()
    {
        MemoryScreen s(8ull << 30, figures(1ull << 30));
        ContentContainerViewController container;
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
        MemoryViewController screen;
        screen.ensureViewLoaded();
        s.stats->set({figures(1ull << 30), figures((1ull << 30) + (300ull << 20))});
        QTest::mouseClick(screen.optimizeBtn(), Qt::LeftButton);
        QVERIFY(screen.isOptimizing());
        QVERIFY(!screen.optimizeBtn()->isEnabled());
        const int calls = s.stats->calls();
        screen.optimizeMemory(); // a second press while it runs
        QCOMPARE(s.stats->calls(), calls);

        QTRY_VERIFY(!screen.isOptimizing());
        QCOMPARE(s.clock->waits, std::vector<std::chrono::milliseconds>{std::chrono::seconds(1)});
        QCOMPARE(screen.statusLabel()->text(),
            QStringLiteral("✅ Memoria libre aumentó ~") + memoryBytesText(300ull << 20));
        QCOMPARE(screen.freeLabel()->text(), memoryBytesText((1ull << 30) + (300ull << 20)));

        s.stats->set({figures(5ull << 30), figures(4ull << 30)}); // free memory fell meanwhile
        screen.optimizeMemory();
        QTRY_VERIFY(!screen.isOptimizing());
        QCOMPARE(screen.statusLabel()->text(),
            QStringLiteral("Sin cambios: macOS ya gestiona la memoria de forma eficiente"));
    }

    void screenGoneBeforeTheResult()
    {
        MemoryScreen s(1000, figures(10));
        auto* screen = new MemoryViewController;
        screen->ensureViewLoaded();
        QPointer<QTimer> timer = screen->refreshTimer();
        screen->optimizeMemory();
        delete screen;
        QVERIFY(!timer);                              // the timer went with its screen
        QThreadPool::globalInstance()->waitForDone(); // the result lands on nothing
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(MemoryTest)
#include "memory_test.moc"

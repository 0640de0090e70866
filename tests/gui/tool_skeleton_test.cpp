// The screen skeleton every tool is built on: its job runs on a worker while the start
// button, spinner and status line say so, and a list shows a hint until the first job.
#include "gui/tools/ItemLists.h"
#include "gui/tools/ToolViewController.h"
#include "gui/widgets/ActivityIndicator.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTableView>
#include <QTest>
#include <QThreadPool>

#include <atomic>
#include <future>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

// A screen whose job says two things, waits until the test opens the gate, and answers
// with the number it was given and whether it was asked to stop.
class JobScreen : public ToolViewController {
public:
    using ToolViewController::cancelJob;
    using ToolViewController::runRemoval;

    explicit JobScreen(std::shared_future<void> gate)
        : gate_(std::move(gate))
    {
    }
    void start(int value)
    {
        if (!readyForJob())
            return;
        runJob(
            [value, gate = gate_, seen = seen](const JobControl& job) {
                ++seen->started;
                job.say("uno");
                job.say("dos");
                gate.wait();
                seen->stopped = job.cancelled();
                return std::make_pair(value, job.cancelled());
            },
            [this](std::pair<int, bool> result) {
                doneWhileBusy = isBusy();
                results.push_back(result);
            });
    }

    QStringListModel rows;
    // What the work saw, which outlives the screen.
    struct Seen {
        std::atomic<int> started{0};
        std::atomic<bool> stopped{false};
    };
    std::shared_ptr<Seen> seen = std::make_shared<Seen>();
    std::vector<std::pair<int, bool>> results;
    bool doneWhileBusy = true;

private:
    std::shared_future<void> gate_;

protected:
    void loadView() override
    {
        setUpScreen({QStringLiteral("Prueba"), QStringLiteral("Un trabajo"),
            QStringLiteral("trash"), Qt::blue});
        addStartButton(QStringLiteral("Empezar"), [this] { start(1); });
        setList(makeTableList(&rows, {40, {100}}), ContentInset::margins,
            QStringLiteral("Pulsa «Empezar»."));
    }
};

} // namespace

class ToolSkeletonTest : public QObject {
    Q_OBJECT
private slots:
    void jobHoldsTheStartButtonSpinnerAndStatusUntilItsResultIsShown()
    {
        std::promise<void> gate;
        JobScreen screen(gate.get_future().share());
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QVERIFY(screen.listHint()->isVisible());
        QSignalSpy status(&screen, &ToolViewController::statusChanged);
        QSignalSpy finished(&screen, &ToolViewController::jobFinished);

        QTest::mouseClick(screen.startButton(), Qt::LeftButton);
        QVERIFY(screen.isBusy());
        QVERIFY(!screen.startButton()->isEnabled());
        QVERIFY(screen.progress()->isAnimating());
        QVERIFY(!screen.listHint()->isVisible()); // the box is empty now because of the job
        screen.start(2);                          // a second start while one runs: nothing
        QTRY_COMPARE(status.count(), 2);
        QCOMPARE(screen.statusLabel()->text(), QStringLiteral("dos"));

        gate.set_value();
        QVERIFY(finished.wait(5000));
        QCOMPARE(screen.results, (std::vector<std::pair<int, bool>>{{1, false}}));
        QCOMPARE(screen.seen->started.load(), 1);
        QVERIFY(!screen.doneWhileBusy);
        QVERIFY(screen.startButton()->isEnabled());
        QVERIFY(!screen.progress()->isAnimating());
        QVERIFY(!screen.listHint()->isVisible());
    }

    void aStoppedJobStillDeliversWhatItHas()
    {
        std::promise<void> gate;
        JobScreen screen(gate.get_future().share());
        screen.start(3);
        screen.cancelJob();
        gate.set_value();
        QSignalSpy finished(&screen, &ToolViewController::jobFinished);
        QVERIFY(finished.wait(5000));
        QCOMPARE(screen.results, (std::vector<std::pair<int, bool>>{{3, true}}));
    }

    // The work holds the screen only weakly: once it is gone the result is dropped
    // (reaching it would touch freed memory), and the job is asked to stop.
    void screenGoneDuringTheJob()
    {
        std::promise<void> gate;
        auto* screen = new JobScreen(gate.get_future().share());
        const auto seen = screen->seen;
        screen->start(4);
        delete screen;
        gate.set_value();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(seen->started.load(), 1);
        QVERIFY(seen->stopped);
    }

    void removalHandsItsOutcomeOnAtOnce()
    {
        JobScreen screen({});
        int seen = 0;
        screen.runRemoval(
            [](const JobControl&) { return 7; }, [&](int outcome) { seen = outcome; });
        QCOMPARE(seen, 7);
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(ToolSkeletonTest)
#include "tool_skeleton_test.moc"

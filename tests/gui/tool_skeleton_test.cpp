// The screen skeleton every tool is built on: its job runs on a worker while the start
// button, spinner and status line say so, "Detener" puts the screen back at once, a
// removal runs on a worker behind a modal sheet, and a list shows a hint until the
// first job.
#include "gui/tools/ItemLists.h"
#include "gui/tools/ToolViewController.h"
#include "gui/widgets/ActivityIndicator.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTableView>
#include <QTest>
#include <QThreadPool>

#include <atomic>
#include <future>
#include <thread>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

// A screen whose job says two things, waits until the test opens the gate, and answers
// with the number it was given and whether it was asked to stop.
class JobScreen : public ToolViewController {
public:
    using ToolViewController::runRemoval;

    explicit JobScreen(std::shared_future<void> gate)
        : gate_(std::move(gate))
    {
    }
    void start(int value)
    {
        if (!readyForJob())
            return;
        QStringList before = rows.stringList();
        rows.setStringList({});
        setStatus(QStringLiteral("buscando"));
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
            },
            [this, before] { rows.setStringList(before); });
    }
    void say(const QString& text) { setStatus(text); }

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
        QCOMPARE(screen.startButton()->text(), QStringLiteral("Detener"));
        QVERIFY(screen.progress()->isAnimating());
        QVERIFY(!screen.listHint()->isVisible()); // the box is empty now because of the job
        screen.start(2);                          // a second start while one runs: nothing
        QTRY_COMPARE(status.count(), 3);
        QCOMPARE(screen.statusLabel()->text(), QStringLiteral("dos"));

        gate.set_value();
        QVERIFY(finished.wait(5000));
        QCOMPARE(screen.results, (std::vector<std::pair<int, bool>>{{1, false}}));
        QCOMPARE(screen.seen->started.load(), 1);
        QVERIFY(!screen.doneWhileBusy);
        QCOMPARE(screen.startButton()->text(), QStringLiteral("Empezar"));
        QVERIFY(!screen.progress()->isAnimating());
        QVERIFY(!screen.listHint()->isVisible());
    }

    // "Detener" does not wait for the job: the list, status and hint are back before
    // the click returns, the job sees the flag, and neither its late texts nor its
    // result ever reach the screen, not even once a new job runs.
    void stoppingPutsTheScreenBackAndDropsTheLateResult()
    {
        std::promise<void> gate;
        JobScreen screen(gate.get_future().share());
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        screen.rows.setStringList({QStringLiteral("a.log")});
        screen.say(QStringLiteral("antes"));
        QSignalSpy finished(&screen, &ToolViewController::jobFinished);
        QSignalSpy stopped(&screen, &ToolViewController::jobStopped);

        screen.start(3);
        QTRY_COMPARE(screen.statusLabel()->text(), QStringLiteral("dos"));
        QCOMPARE(screen.rows.rowCount(), 0);
        QTest::mouseClick(screen.startButton(), Qt::LeftButton);
        QCOMPARE(stopped.count(), 1);
        QVERIFY(!screen.isBusy());
        QCOMPARE(screen.rows.stringList(), QStringList{QStringLiteral("a.log")});
        QCOMPARE(screen.statusLabel()->text(), QStringLiteral("antes"));
        QCOMPARE(screen.startButton()->text(), QStringLiteral("Empezar"));
        QVERIFY(!screen.progress()->isAnimating());

        screen.start(5); // a new job while the stopped one still runs
        gate.set_value();
        QVERIFY(finished.wait(5000));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(screen.results, (std::vector<std::pair<int, bool>>{{5, false}}));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(screen.seen->started.load(), 2);
    }

    // Stopped before any job ever finished, the list shows its hint again.
    void stoppingTheFirstJobBringsTheHintBack()
    {
        std::promise<void> gate;
        JobScreen screen(gate.get_future().share());
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        screen.start(1);
        QVERIFY(!screen.listHint()->isVisible());
        screen.stopJob();
        QVERIFY(screen.listHint()->isVisible());
        gate.set_value();
        QThreadPool::globalInstance()->waitForDone();
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

    // The removal runs off the GUI thread behind a window-modal sheet that counts it
    // and that neither Escape nor "Detener" nor a new job gets past; its outcome is
    // applied on the GUI thread once the sheet is gone.
    void removalRunsOnAWorkerBehindAModalSheet()
    {
        JobScreen screen({});
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QSignalSpy finished(&screen, &ToolViewController::jobFinished);
        std::promise<void> gate;
        std::shared_future<void> open = gate.get_future().share();
        int outcome = 0;
        std::thread::id ranOn;
        screen.runRemoval(
            [open, &ranOn](const JobControl& job) {
                ranOn = std::this_thread::get_id();
                job.count(1, 3);
                open.wait();
                job.count(3, 3);
                return 7;
            },
            [&](int value) {
                QVERIFY(!screen.progressSheet());
                outcome = value;
            });

        QPointer<ProgressSheet> sheet = screen.progressSheet();
        QVERIFY(sheet);
        QTRY_VERIFY(sheet->isVisible());
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        QTRY_COMPARE(sheet->text(), QStringLiteral("Eliminando… 1 de 3"));
        QVERIFY(!screen.startButton()->isEnabled());
        QTest::keyClick(sheet, Qt::Key_Escape);
        sheet->close();
        screen.stopJob();
        screen.start(2);
        QVERIFY(sheet && sheet->isVisible());
        QVERIFY(screen.isBusy());

        gate.set_value();
        QVERIFY(finished.wait(5000));
        QCOMPARE(outcome, 7);
        QVERIFY(ranOn != std::this_thread::get_id());
        QTRY_VERIFY(!sheet);
        QVERIFY(screen.startButton()->isEnabled());
        QCOMPARE(screen.seen->started.load(), 0);
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(ToolSkeletonTest)
#include "tool_skeleton_test.moc"

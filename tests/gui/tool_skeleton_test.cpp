// The screen skeleton every tool is built on, and "Detener" on a real screen's table.
// A job runs on a worker while the start button, spinner and
// status line say so; "Detener" puts the list, status and start button back as they were
// when the click returns, and the stopped job's texts and result never land; a removal
// runs on a worker behind a modal sheet; a list shows a hint until the first job.
#include "engine/fs/SafeRemove.h"
#include "gui/support/ShownScreen.h"
#include "gui/text/ByteTexts.h"
#include "gui/tools/ItemLists.h"
#include "gui/tools/ToolViewController.h"
#include "gui/tools/systemjunk/SystemJunkViewController.h"
#include "gui/widgets/ActivityIndicator.h"

#include <QPointer>
#include <QStringListModel>
#include <QTableView>

#include <atomic>
#include <future>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

// A screen whose job says two things, waits until the test opens the gate, and answers
// with the number it was given and whether it was asked to stop.
class JobScreen : public ToolViewController {
public:
    using ToolViewController::runRemoval;

    JobScreen(const ScreenServices& services, std::shared_future<void> gate)
        : ToolViewController(services)
        , gate_(std::move(gate))
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

// Every cell of the top-level rows, row by row.
QStringList cells(QAbstractItemModel* model)
{
    QStringList texts;
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            texts << model->index(r, c).data().toString();
    return texts;
}

} // namespace

class ToolSkeletonTest : public QObject {
    Q_OBJECT
    ScreenTestEnvironment env; // what the made-up screens are built on; they use none of it

private slots:
    void jobHoldsTheStartButtonSpinnerAndStatusUntilItsResultIsShown()
    {
        std::promise<void> gate;
        JobScreen screen(env.services, gate.get_future().share());
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
        JobScreen screen(env.services, gate.get_future().share());
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

        screen.start(5); // a new job while the stopped one still runs
        gate.set_value();
        QVERIFY(finished.wait(5000));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(screen.results, (std::vector<std::pair<int, bool>>{{5, false}}));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(screen.seen->started.load(), 2);
    }

    // The work holds the screen only weakly: once it is gone the result is dropped
    // (reaching it would touch freed memory), and the job is asked to stop.
    void screenGoneDuringTheJob()
    {
        std::promise<void> gate;
        auto* screen = new JobScreen(env.services, gate.get_future().share());
        const auto seen = screen->seen;
        screen->start(4);
        delete screen;
        gate.set_value();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(seen->started.load(), 1);
        QVERIFY(seen->stopped);
    }

    // The removal runs off the GUI thread behind a window-modal sheet that counts it,
    // items and the files gone inside them, and that neither Escape nor "Detener" nor a
    // new job gets past; its outcome is applied on the GUI thread once the sheet is gone.
    // The sheet is part of the window: no frame, never larger than it.
    void removalRunsOnAWorkerBehindAModalSheet()
    {
        JobScreen screen(env.services, {});
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QSignalSpy finished(&screen, &ToolViewController::jobFinished);
        std::promise<void> gate;
        std::shared_future<void> open = gate.get_future().share();
        int outcome = 0;
        for (const char* file : {"item/a", "item/b/c", "item/b/d"})
            env.tree.file(file, 10);
        screen.runRemoval(
            [open, item = env.tree.path("item")](const JobControl& job) {
                job.count(1, 3);
                removeItem(item);
                open.wait(); // on the GUI thread it would never get past the wait
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
        QVERIFY(sheet->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(sheet->width() <= screen.window()->width());
        QTRY_COMPARE(sheet->text(),
            QStringLiteral("Eliminando… 1 de 3 · 3 archivo(s), ") + fileBytesText(30));
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
        QTRY_VERIFY(!sheet);
        QVERIFY(screen.startButton()->isEnabled());
        QCOMPARE(screen.seen->started.load(), 0);
    }

    // The result of the stopped scan is queued behind the click, whatever its speed, so
    // the click always lands while the scan runs.
    void stopOnSystemJunk()
    {
        ShownScreen<SystemJunkViewController> s;
        s.env.inHome("Library/Caches/first/x", 900'000);
        QVERIFY(s.run());
        const QStringList before = cells(s.model());
        QVERIFY(!before.isEmpty());
        const QString status = s.status();
        const QString title = s.screen.startButton()->text();
        s.env.inHome("Library/Caches/second/x", 800'000);

        QTest::mouseClick(s.screen.startButton(), Qt::LeftButton);
        QCOMPARE(s.screen.startButton()->text(), QStringLiteral("Detener"));
        QTest::mouseClick(s.screen.startButton(), Qt::LeftButton);
        QVERIFY(!s.screen.isBusy());
        QCOMPARE(cells(s.model()), before);
        QCOMPARE(s.status(), status);
        QCOMPARE(s.screen.startButton()->text(), title);
        QVERIFY(s.run());
        QVERIFY(cells(s.model()) != before);
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(ToolSkeletonTest)
#include "tool_skeleton_test.moc"

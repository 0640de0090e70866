// "Detener" on every screen that scans: the list, status and start button are back as
// they were before the scan when the click returns, the stopped scan's result never
// lands, and the next scan that runs to its end shows what changed meanwhile.
#include "gui/support/ShownScreen.h"
#include "gui/tools/applications/ApplicationsViewController.h"
#include "gui/tools/downloads/DownloadsViewController.h"
#include "gui/tools/duplicates/DuplicatesViewController.h"
#include "gui/tools/extensions/ExtensionsViewController.h"
#include "gui/tools/largefiles/LargeFilesViewController.h"
#include "gui/tools/privacy/PrivacyViewController.h"
#include "gui/tools/smartscan/SmartScanViewController.h"
#include "gui/tools/systemjunk/SystemJunkViewController.h"
#include "gui/tools/xcode/XcodeCleanerViewController.h"
#include "gui/widgets/ResultCardView.h"

using namespace tidvale;
using namespace tidvale::gui;

namespace {

// Every cell of the top-level rows, row by row.
QStringList cells(QAbstractItemModel* model)
{
    QStringList texts;
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            texts << model->index(r, c).data().toString();
    return texts;
}

// Scans once, lets `change` alter the tree, then starts a scan and stops it at once.
// The result of the stopped scan is queued behind the click, whatever its speed, so
// the click always lands while the scan runs.
template <class Controller>
void stopPutsTheListBack(ShownScreen<Controller>& s, const std::function<void()>& change)
{
    QVERIFY(s.run());
    const QStringList before = cells(s.model());
    QVERIFY(!before.isEmpty());
    const QString status = s.status();
    const QString title = s.screen.startButton()->text();
    change();

    QSignalSpy finished(&s.screen, &ToolViewController::jobFinished);
    QTest::mouseClick(s.screen.startButton(), Qt::LeftButton);
    QCOMPARE(s.screen.startButton()->text(), QStringLiteral("Detener"));
    QTest::mouseClick(s.screen.startButton(), Qt::LeftButton);
    QVERIFY(!s.screen.isBusy());
    QCOMPARE(cells(s.model()), before);
    QCOMPARE(s.status(), status);
    QCOMPARE(s.screen.startButton()->text(), title);

    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCOMPARE(finished.count(), 0);
    QCOMPARE(cells(s.model()), before);
    QCOMPARE(s.status(), status);

    QVERIFY(s.run());
    QVERIFY(cells(s.model()) != before);
}

} // namespace

class StopScanTest : public QObject {
    Q_OBJECT
private slots:
    void systemJunk()
    {
        ShownScreen<SystemJunkViewController> s;
        s.env.inHome("Library/Caches/first/x", 900'000);
        stopPutsTheListBack(s, [&] { s.env.inHome("Library/Caches/second/x", 800'000); });
    }

    void privacy()
    {
        ShownScreen<PrivacyViewController> s;
        s.env.inHome("Library/Safari/History.db", 4000);
        stopPutsTheListBack(s, [&] { s.env.inHome("Library/Caches/com.apple.Safari/c", 3000); });
    }

    void largeFiles()
    {
        ShownScreen<LargeFilesViewController> s;
        s.screen.setSearchRoots({s.env.homePath("Downloads")});
        s.env.sparse("home/Downloads/a.iso", 60'000'000);
        stopPutsTheListBack(s, [&] { s.env.sparse("home/Downloads/b.iso", 60'000'000); });
    }

    void duplicates()
    {
        ShownScreen<DuplicatesViewController> s;
        s.screen.setSearchRoots({s.env.homePath("Documents")});
        s.env.tree.file("home/Documents/a1", 5000, 'a');
        s.env.tree.file("home/Documents/a2", 5000, 'a');
        stopPutsTheListBack(s, [&] {
            s.env.tree.file("home/Documents/b1", 9000, 'b');
            s.env.tree.file("home/Documents/b2", 9000, 'b');
        });
    }

    void downloads()
    {
        ShownScreen<DownloadsViewController> s;
        s.screen.setFolder(s.env.homePath("Downloads"));
        s.env.inHome("Downloads/old.zip", 1000);
        stopPutsTheListBack(s, [&] { s.env.inHome("Downloads/new.zip", 2000); });
    }

    void applications()
    {
        ShownScreen<ApplicationsViewController> s;
        s.env.inSystem("Applications/A.app/Contents/MacOS/a", 3000);
        stopPutsTheListBack(
            s, [&] { s.env.inSystem("Applications/B.app/Contents/MacOS/b", 1000); });
    }

    void developerCaches()
    {
        ShownScreen<XcodeCleanerViewController> s;
        s.env.inHome("Library/Developer/Xcode/Archives/a.xcarchive/x", 2000);
        stopPutsTheListBack(
            s, [&] { s.env.inHome("Library/Developer/Xcode/DerivedData/A/x", 9000); });
    }

    void startupItems()
    {
        ShownScreen<ExtensionsViewController> s;
        s.env.tree.text("home/Library/LaunchAgents/a.plist", "<plist><dict/></plist>");
        stopPutsTheListBack(s, [&] {
            s.env.tree.text("home/Library/LaunchAgents/b.plist", "<plist><dict/></plist>");
        });
    }

    // Smart Scan has cards, not a list: its cards and clean button come back, and the
    // disc and its caption say what a press does now.
    void smartScanCards()
    {
        ShownScreen<SmartScanViewController> s;
        s.env.inHome("Library/Caches/first/x", 900'000);
        QVERIFY(s.run());
        QCOMPARE(s.screen.resultCards().size(), size_t(1));
        QLabel* caption = nullptr;
        for (QLabel* label : s.screen.findChildren<QLabel*>())
            if (label->text() == QStringLiteral("ESCANEAR"))
                caption = label;
        QVERIFY(caption);
        const QString status = s.status();

        QTest::mouseClick(s.screen.startButton(), Qt::LeftButton);
        QCOMPARE(caption->text(), QStringLiteral("DETENER"));
        QVERIFY(!s.screen.resultCards().front()->isVisible());
        QTest::mouseClick(s.screen.startButton(), Qt::LeftButton);
        QCOMPARE(caption->text(), QStringLiteral("ESCANEAR"));
        QVERIFY(s.screen.resultCards().front()->isVisible());
        QVERIFY(s.screen.cleanButton() && s.screen.cleanButton()->isVisible());
        QCOMPARE(s.status(), status);
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(s.screen.resultCards().size(), size_t(1));
        QVERIFY(s.screen.resultCards().front()->isVisible());
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(StopScanTest)
#include "stop_scan_test.moc"

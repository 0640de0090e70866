// The main window, the sidebar and the content container, driven as a user would.
#include "gui/app/ViewController.h"
#include "gui/app/container/ContentContainerViewController.h"
#include "gui/app/sidebar/SidebarModel.h"
#include "gui/app/sidebar/SidebarViewController.h"
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/tools/smartscan/SmartScanViewController.h"
#include "gui/widgets/Colors.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ResultCardView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QGraphicsEffect>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

void clickRow(SidebarViewController& sidebar, int row)
{
    QListView* list = sidebar.tableView();
    const QRect r = list->visualRect(sidebar.model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

// Lets a started fade finish and its effect go.
void settleFade(QWidget* view)
{
    QTRY_VERIFY_WITH_TIMEOUT(view->graphicsEffect() == nullptr, 2000);
}

} // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void sidebarListsTheElevenToolsInOrder()
    {
        SidebarViewController sidebar;
        QAbstractItemModelTester tester(sidebar.model());
        struct Row {
            const char* title;
            const char* icon;
            QColor color;
        };
        const Row expected[] = {
            {"Smart Scan", "magnifyingglass.circle.fill", systemColor(SystemColor::blue)},
            {"Basura del Sistema", "trash.fill", systemColor(SystemColor::orange)},
            {"Privacidad", "lock.shield.fill", systemColor(SystemColor::purple)},
            {"Aplicaciones", "app.fill", systemColor(SystemColor::green)},
            {"Extensiones", "puzzlepiece.fill", systemColor(SystemColor::yellow)},
            {"Memoria", "memorychip.fill", systemColor(SystemColor::cyan)},
            {"Espacio en Disco", "externaldrive.fill", systemColor(SystemColor::red)},
            {"Archivos Grandes", "doc.zipper", systemColor(SystemColor::pink)},
            {"Duplicados", "doc.on.doc.fill", systemColor(SystemColor::indigo)},
            {"Limpieza Xcode", "hammer.fill", QColor(153, 102, 51)},
            {"Descargas", "arrow.down.circle.fill", systemColor(SystemColor::mint)},
        };
        QCOMPARE(sidebar.model()->rowCount(), 11);
        for (int row = 0; row < 11; ++row) {
            const QModelIndex i = sidebar.model()->index(row, 0);
            QCOMPARE(i.data().toString(), QString::fromUtf8(expected[row].title));
            QCOMPARE(
                i.data(SidebarModel::symbolRole).toString(), QString::fromUtf8(expected[row].icon));
            QCOMPARE(
                i.data(SidebarModel::colorRole).value<QColor>().rgb(), expected[row].color.rgb());
            QCOMPARE(i.data(SidebarModel::tagRole).toInt(), row);
        }
        QCOMPARE(sidebar.selectedRow(), -1);
    }

    void sidebarReportsAChoiceBeforeTheHighlightMoves()
    {
        SidebarViewController sidebar;
        sidebar.resize(220, 640);
        sidebar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sidebar));
        std::vector<std::pair<int, int>> seen; // (tag, row highlighted when told)
        connect(&sidebar, &SidebarViewController::didSelect, this,
            [&](int tag) { seen.emplace_back(tag, sidebar.selectedRow()); });

        sidebar.selectItem(0);
        clickRow(sidebar, 4);
        QCOMPARE(sidebar.selectedRow(), 4);
        QVERIFY(!seen.empty());
        QCOMPARE(seen.front(), std::make_pair(0, -1));
        QVERIFY(std::find(seen.begin(), seen.end(), std::make_pair(4, 0)) != seen.end());

        // Out of range: nothing reported, the highlight stays.
        seen.clear();
        sidebar.selectItem(11);
        QVERIFY(seen.empty());
        QCOMPARE(sidebar.selectedRow(), 4);
    }

    void sidebarWithNobodyListeningStillHighlights()
    {
        SidebarViewController sidebar;
        sidebar.resize(220, 640);
        sidebar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sidebar));
        clickRow(sidebar, 7);
        QCOMPARE(sidebar.selectedRow(), 7);
        clickRow(sidebar, 2);
        QCOMPARE(sidebar.selectedRow(), 2);
    }

    void everyToolRowIsReachableAtTheSmallestWindow()
    {
        ScreenTestEnvironment env;
        ViewController window;
        showMainWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const QSize size : {QSize(920, 640), QSize(760, 500)}) {
            window.resize(size);
            QTRY_COMPARE(window.size(), size);
            QListView* list = window.sidebarVC()->tableView();
            QTRY_VERIFY2(list->viewport()->rect().contains(
                             list->visualRect(window.sidebarVC()->model()->index(10, 0))),
                qPrintable(QString::number(size.height())));
        }
    }

    void windowStartsOnSmartScanWithFixedSidebar()
    {
        ScreenTestEnvironment env;
        ViewController window;
        ContentContainerViewController* container = window.contentVC();
        QVERIFY(!container->controllersCreated());
        QVERIFY(container->currentChild() == nullptr);

        showMainWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Tidvale"));
        QCOMPARE(window.size(), QSize(920, 640));
        QCOMPARE(window.minimumSize(), QSize(760, 500));
        QCOMPARE(window.sidebarVC()->selectedRow(), 0);
        const auto& tools = container->featureControllers();
        QCOMPARE(tools.size(), size_t(11));
        const char* classes[] = {"SmartScanViewController", "SystemJunkViewController",
            "PrivacyViewController", "ApplicationsViewController", "ExtensionsViewController",
            "MemoryViewController", "DiskSpaceViewController", "LargeFilesViewController",
            "DuplicatesViewController", "XcodeCleanerViewController", "DownloadsViewController"};
        for (size_t i = 0; i < tools.size(); ++i)
            QCOMPARE(QString(tools[i]->metaObject()->className()),
                QStringLiteral("tidvale::gui::") + classes[i]);
        QCOMPARE(container->currentChild(), tools[0]);
        // Only the screen shown has built its controls.
        QVERIFY(tools[0]->isViewLoaded());
        QVERIFY(!tools[1]->isViewLoaded());

        window.resize(1300, 700);
        QTRY_COMPARE(window.width(), 1300);
        QCOMPARE(window.sidebarVC()->width(), ViewController::sidebarWidth);
        QCOMPARE(container->width(), 1300 - ViewController::sidebarWidth - 1);
        QCOMPARE(container->currentChild()->geometry(), container->rect());

        window.resize(100, 100);
        QTRY_COMPARE(window.size(), QSize(760, 500));
    }

    void switchingToolsFadesAndKeepsEveryScreen()
    {
        ScreenTestEnvironment env;
        ViewController window;
        showMainWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ContentContainerViewController* container = window.contentVC();
        const std::vector<ToolViewController*> tools = container->featureControllers();
        settleFade(tools[0]);

        // The tool already shown: no fade, nothing changes.
        container->showFeature(0);
        QVERIFY(tools[0]->graphicsEffect() == nullptr);
        QCOMPARE(container->currentChild(), tools[0]);

        clickRow(*window.sidebarVC(), 5);
        QCOMPARE(container->currentChild(), tools[5]);
        QVERIFY(tools[5]->graphicsEffect() != nullptr); // fading in
        QVERIFY(tools[5]->isVisible());
        QVERIFY(!tools[0]->isVisible());
        settleFade(tools[5]);

        for (int bad : {-1, 11, 42}) {
            container->showFeature(bad);
            QCOMPARE(container->currentChild(), tools[5]);
            QVERIFY(tools[5]->graphicsEffect() == nullptr);
        }
        container->showFeature(0);
        QCOMPARE(container->featureControllers(), tools);
        QCOMPARE(container->currentChild(), tools[0]);

        // The keyboard chooses tools too.
        window.sidebarVC()->selectItem(0);
        window.sidebarVC()->tableView()->setFocus();
        QTest::keyClick(window.sidebarVC()->tableView(), Qt::Key_Down);
        QCOMPARE(container->currentChild(), tools[1]);
        QCOMPARE(window.sidebarVC()->selectedRow(), 1);
    }

    void scanKeepsRunningWhileAnotherToolIsShown()
    {
        ScreenTestEnvironment env;
        env.inHome("Library/Caches/com.example.big/blob", 900000);
        env.inHome(".Trash/old.iso", 4000);
        ViewController window;
        showMainWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ContentContainerViewController* container = window.contentVC();
        auto* smart = qobject_cast<SmartScanViewController*>(container->featureControllers()[0]);
        QVERIFY(smart);

        smart->startScan();
        clickRow(*window.sidebarVC(), 2); // away before any result can arrive
        QCOMPARE(container->currentChild(), container->featureControllers()[2]);
        QVERIFY(smart->isScanning());
        QTRY_VERIFY(!smart->isScanning());

        clickRow(*window.sidebarVC(), 0);
        QCOMPARE(container->currentChild(), smart);
        QCOMPARE(smart->resultCards().size(), size_t(2));
        QCOMPARE(smart->resultCards()[0]->titleLabel()->text(), QStringLiteral("Caché de Usuario"));
        QVERIFY(smart->resultCards()[0]->isVisible());
        QVERIFY(smart->cleanButton() && smart->cleanButton()->isVisible());
    }

    void closingTheWindowQuits()
    {
        ScreenTestEnvironment env;
        ViewController window;
        showMainWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Quitting on the last window happens inside the event loop: run it, close the
        // window from within, and it must return by itself (the timer is a safety net).
        QTimer::singleShot(0, &window, &QWidget::close);
        QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(99); });
        QCOMPARE(QApplication::exec(), 0);
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"

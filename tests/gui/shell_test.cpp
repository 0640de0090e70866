// The main window, the sidebar, the content container and the alert sheets, driven as a
// user would.
#include "gui/app/AppMenu.h"
#include "gui/app/ViewController.h"
#include "gui/app/container/ContentContainerViewController.h"
#include "gui/app/sidebar/SidebarModel.h"
#include "gui/app/sidebar/SidebarViewController.h"
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/tools/smartscan/SmartScanViewController.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ResultCardView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <map>
#include <set>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

void clickRow(SidebarViewController& sidebar, int row)
{
    QListView* list = sidebar.tableView();
    const QRect r = list->visualRect(sidebar.model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

struct ShownWindow {
    ScreenTestEnvironment env;
    ViewController window{env.services};
    ContentContainerViewController* container = window.contentVC();
    bool show()
    {
        showMainWindow(window);
        return QTest::qWaitForWindowExposed(&window);
    }
};

AlertRequest confirmRequest()
{
    AlertRequest request;
    request.message = QStringLiteral("¿Limpiar archivos?");
    request.informativeText = QStringLiteral("Se eliminarán 2 elementos.");
    request.buttons = {QStringLiteral("Limpiar"), QStringLiteral("Cancelar")};
    return request;
}

QAbstractButton* buttonTitled(QMessageBox* box, const QString& title)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == title)
            return b;
    return nullptr;
}

struct SheetHost {
    QWidget window;
    QWidget* screen = new QWidget(&window);
    SheetHost()
    {
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    // Only Smart Scan is built at first. Clicks and arrow keys choose tools by the
    // row's tag, a tool shown again is the same screen, no index outside the sidebar
    // changes the one shown.
    void windowStartsOnSmartScanAndSwitchesTools()
    {
        ShownWindow w;
        QVERIFY(!w.container->controllersCreated());
        QVERIFY(w.show());
        SidebarViewController* sidebar = w.window.sidebarVC();
        ContentContainerViewController* container = w.container;
        const std::vector<ToolViewController*> tools = container->featureControllers();
        QCOMPARE(tools.size(), size_t(ContentContainerViewController::toolCount));
        QCOMPARE(container->currentChild(), tools[0]);
        QVERIFY(!tools[1]->isViewLoaded());

        clickRow(*sidebar, 5);
        QCOMPARE(container->currentChild(), tools[5]);
        QVERIFY(!tools[0]->isVisible());
        for (int bad : {-1, 11, 42}) {
            container->showFeature(bad);
            QCOMPARE(container->currentChild(), tools[5]);
        }
        sidebar->selectItem(0);
        QCOMPARE(container->featureControllers(), tools);
        QCOMPARE(container->currentChild(), tools[0]);
        sidebar->tableView()->setFocus();
        QTest::keyClick(sidebar->tableView(), Qt::Key_Down);
        QCOMPARE(container->currentChild(), tools[1]);
    }

    void scanKeepsRunningWhileAnotherToolIsShown()
    {
        ShownWindow w;
        w.env.inHome("Library/Caches/com.example.big/blob", 900000);
        w.env.inHome(".Trash/old.iso", 4000);
        QVERIFY(w.show());
        auto* smart = qobject_cast<SmartScanViewController*>(w.container->featureControllers()[0]);
        QVERIFY(smart);

        smart->startScan();
        clickRow(*w.window.sidebarVC(), 2); // away before any result can arrive
        QCOMPARE(w.container->currentChild(), w.container->featureControllers()[2]);
        QVERIFY(smart->isBusy());
        QTRY_VERIFY(!smart->isBusy());

        clickRow(*w.window.sidebarVC(), 0);
        QCOMPARE(w.container->currentChild(), smart);
        QCOMPARE(smart->resultCards().size(), size_t(2));
        QVERIFY(smart->resultCards()[0]->isVisible());
        QVERIFY(smart->cleanButton() && smart->cleanButton()->isVisible());
    }

    void menuBarEditCommandsAndQuit()
    {
        ShownWindow w;
        QVERIFY(w.show());
        auto* bar = w.window.findChild<QMenuBar*>();
        QVERIFY(bar);
        std::map<QString, QAction*> byTitle;
        for (QAction* menu : bar->actions())
            for (QAction* a : menu->menu()->actions())
                byTitle[a->text().remove(QLatin1Char('&'))] = a;
        // The platform's quit keys, and Ctrl+Q (⌘Q) where the platform names none.
        QCOMPARE(byTitle["Salir"]->shortcut(),
            QKeySequence::keyBindings(QKeySequence::Quit)
                .value(0, QKeySequence(Qt::CTRL | Qt::Key_Q)));

        // Edit commands reach the focused widget's own slots, and only where it has them.
        auto* field = new QLineEdit(QStringLiteral("texto"), &w.window);
        field->show();
        QApplication::setActiveWindow(&w.window);
        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), field);
        byTitle["Seleccionar todo"]->trigger();
        QCOMPARE(field->selectedText(), QStringLiteral("texto"));
        w.window.sidebarVC()->tableView()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w.window.sidebarVC()->tableView());
        QVERIFY(!byTitle["Copiar"]->isEnabled()); // a list has no copy slot
        QVERIFY(byTitle["Seleccionar todo"]->isEnabled());

        // The quit shortcut closes the window, and with it, the last one, the application.
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QTimer::singleShot(
            0, &w.window, [&] { QTest::keySequence(&w.window, byTitle["Salir"]->shortcut()); });
        QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(99); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!w.window.isVisible());
    }

    // On every screen Tab runs sidebar → toolbar → list → footer in reading order, in
    // and out of each list, and Shift+Tab runs back the same way; the tool keys of the
    // Ventana menu reach every tool.
    void tabRunsInReadingOrderOnEveryScreen()
    {
        ShownWindow w;
        w.env.inHome("Library/Caches/com.example.big/blob", 900000);
        w.env.inHome("Library/Logs/app.log", 90000);
        QVERIFY(w.show());
        QApplication::setActiveWindow(&w.window);
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QListView* sidebar = w.window.sidebarVC()->tableView();
        const auto tools = w.container->featureControllers();
        for (int tool = 0; tool < static_cast<int>(tools.size()); ++tool) {
            QTest::keySequence(&w.window, toolShortcut(tool));
            QCOMPARE(w.container->currentChild(), tools[static_cast<size_t>(tool)]);
            if (tool == 1) { // a list with rows, where Tab used to move from cell to cell
                QSignalSpy listed(tools[1], &ToolViewController::jobFinished);
                tools[1]->startButton()->click();
                QVERIFY(listed.wait(10000));
                QVERIFY(tools[1]->listView()->model()->rowCount() > 1);
            }
            sidebar->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(QApplication::focusWidget(), sidebar);
            std::vector<QWidget*> chain;
            for (int step = 0; step < 40; ++step) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QWidget* at = QApplication::focusWidget();
                if (at == sidebar)
                    break;
                QVERIFY2(std::find(chain.begin(), chain.end(), at) == chain.end(),
                    qPrintable(QStringLiteral("tool %1: Tab is stuck").arg(tool)));
                chain.push_back(at);
            }
            QVERIFY2(!chain.empty() && chain.size() < 40, qPrintable(QString::number(tool)));
            const ToolViewController* screen = tools[static_cast<size_t>(tool)];
            for (const QWidget* stop : {static_cast<const QWidget*>(screen->startButton()),
                     static_cast<const QWidget*>(screen->listView())})
                QVERIFY(!stop || std::count(chain.begin(), chain.end(), stop) == 1);
            // Reading order is the order as laid out: a column Tab scrolled goes back up.
            for (auto* column : screen->findChildren<QScrollArea*>())
                column->verticalScrollBar()->setValue(0);
            for (size_t i = 1; i < chain.size(); ++i) {
                const QRect a(chain[i - 1]->mapTo(&w.window, QPoint()), chain[i - 1]->size());
                const QRect b(chain[i]->mapTo(&w.window, QPoint()), chain[i]->size());
                const bool sameLine = a.top() < b.bottom() && b.top() < a.bottom();
                QVERIFY2(sameLine ? a.left() < b.left() : a.top() < b.top(),
                    qPrintable(QStringLiteral("tool %1: %2 before %3")
                                   .arg(tool)
                                   .arg(chain[i - 1]->metaObject()->className(),
                                       chain[i]->metaObject()->className())));
            }
            for (auto back = chain.rbegin(); back != chain.rend(); ++back) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
                QCOMPARE(QApplication::focusWidget(), *back);
            }
        }
    }

    // The menus: mnemonics on every title, F10 opens the first menu, each tool has its
    // key in Ventana; Shift+F10 opens a list's menu for its current row.
    void menusAndContextMenusByKeyboard()
    {
        ShownWindow w;
        w.env.inHome("Library/Caches/com.example.big/blob", 900000);
        QVERIFY(w.show());
        QApplication::setActiveWindow(&w.window);
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        auto* bar = w.window.findChild<QMenuBar*>();
        std::vector<QKeySequence> toolKeys;
        for (QAction* menu : bar->actions()) {
            QVERIFY2(menu->text().contains(QLatin1Char('&')), qPrintable(menu->text()));
            for (QAction* a : menu->menu()->actions()) {
                QVERIFY2(a->isSeparator() || a->text().contains(QLatin1Char('&')),
                    qPrintable(a->text()));
                if (menu->text() == QStringLiteral("&Ventana") && !a->shortcut().isEmpty()
                    && a->text().remove(QLatin1Char('&')) != QStringLiteral("Minimizar"))
                    toolKeys.push_back(a->shortcut());
            }
        }
        QCOMPARE(toolKeys.size(), size_t(ContentContainerViewController::toolCount));
        QCOMPARE(toolKeys.front(), QKeySequence(Qt::CTRL | Qt::Key_1));
        QCOMPARE(toolKeys[9], QKeySequence(Qt::CTRL | Qt::Key_0));
        QCOMPARE(std::set<QKeySequence>(toolKeys.begin(), toolKeys.end()).size(), toolKeys.size());

        QTest::keyClick(&w.window, Qt::Key_F10);
        QTRY_VERIFY(bar->activeAction() == bar->actions().first());
        QTRY_VERIFY(bar->actions().first()->menu()->isVisible());
        bar->actions().first()->menu()->close();

        auto* junk = w.container->featureControllers()[1];
        QTest::keySequence(&w.window, toolShortcut(1));
        QSignalSpy done(junk, &ToolViewController::jobFinished);
        junk->startButton()->click();
        QVERIFY(done.wait(10000));
        QAbstractItemView* list = junk->listView();
        QSignalSpy asked(list, &QWidget::customContextMenuRequested);
        list->setFocus();
        list->setCurrentIndex(list->model()->index(0, 1));
        QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(list->indexAt(asked[0][0].toPoint()).row(), 0);
        // Space ticks the row's box from any of its cells.
        const QModelIndex box = list->model()->index(0, 0);
        const auto before = box.data(Qt::CheckStateRole).toInt();
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(box.data(Qt::CheckStateRole).toInt() != before);
        QCOMPARE(box.data(Qt::AccessibleTextRole).toString(),
            QStringLiteral("Marcar ") + list->model()->index(0, 1).data().toString());
    }

    void alertIsAWindowModalSheetAnsweredByIndex_data()
    {
        QTest::addColumn<bool>("permanent");
        QTest::addColumn<QString>("press"); // empty: the Enter key
        QTest::addColumn<int>("answer");
        QTest::newRow("enter confirms") << false << "" << 0;
        // Enter never deletes for good: it answers "Cancelar", still the second button.
        QTest::newRow("enter on a permanent deletion") << true << "" << 1;
        QTest::newRow("permanent deletion confirmed") << true << "Limpiar" << 0;
    }
    void alertIsAWindowModalSheetAnsweredByIndex()
    {
        QFETCH(bool, permanent);
        QFETCH(QString, press);
        QFETCH(int, answer);
        SheetHost w;
        std::vector<int> answers;
        AlertRequest request = confirmRequest();
        request.deletesPermanently = permanent;
        showAlert(w.screen, request, [&](int a) { answers.push_back(a); });
        auto* box = w.window.findChild<QMessageBox*>();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QCOMPARE(box->defaultButton()->text(), permanent ? "Cancelar" : "Limpiar");
        QCOMPARE(box->buttons().size(), 2);
        QVERIFY(answers.empty()); // returns before the user answers
        if (press.isEmpty())
            QTest::keyClick(box, Qt::Key_Return);
        else
            QTest::mouseClick(buttonTitled(box, press), Qt::LeftButton);
        QTRY_COMPARE(answers, std::vector<int>{answer});
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"

// The Applications screen: listing, icons, the size colour, uninstalling and the menu.
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/tools/applications/AppIcons.h"
#include "gui/tools/applications/AppListModel.h"
#include "gui/tools/applications/ApplicationsViewController.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/ByteTexts.h"
#include "gui/widgets/Colors.h"
#include "gui/widgets/PrimaryButton.h"

#include <QAbstractItemModelTester>
#include <QImageWriter>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include <unistd.h>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

// A file of `bytes` logical bytes that takes no room on the disk.
void sparse(const std::string& path, off_t bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path).close();
    QVERIFY(::truncate(path.c_str(), bytes) == 0);
}

struct AppsScreen {
    ScreenTestEnvironment env;
    ApplicationsViewController screen;
    QAbstractItemModelTester tester{screen.apps()};

    AppsScreen()
    {
        screen.resize(760, 600);
        screen.show();
    }
    void load()
    {
        QTest::mouseClick(screen.scanButton(), Qt::LeftButton);
        QTRY_VERIFY(!screen.isLoading());
    }
    QStringList names() const
    {
        QStringList n;
        for (int r = 0; r < screen.apps()->rowCount(); ++r)
            n << screen.apps()->index(r, AppListModel::nameColumn).data().toString();
        return n;
    }
    void select(const QList<int>& rows)
    {
        auto* sel = screen.tableView()->selectionModel();
        sel->clearSelection();
        for (int r : rows)
            sel->select(screen.apps()->index(r, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

} // namespace

class ApplicationsTest : public QObject {
    Q_OBJECT
private slots:
    void listsLargestFirstWithVersionsAndColours()
    {
        AppsScreen s;
        QVERIFY(QTest::qWaitForWindowExposed(&s.screen));
        QCOMPARE(s.screen.apps()->rowCount(), 0); // nothing before "Cargar Apps"
        sparse(s.env.systemRoot() + "/Applications/Edge.app", 500'000'000);
        sparse(s.env.home() + "/Applications/Over.app/Contents/MacOS/bin", 500'000'001);
        s.env.tree.text("system/Applications/Small.app/Contents/Info.plist",
            "<plist><dict><key>CFBundleShortVersionString</key><string>4.2</string></dict></"
            "plist>");
        s.load();
        QCOMPARE(s.names(), (QStringList{"Over", "Edge", "Small"}));
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("3 aplicaciones"));
        auto* m = s.screen.apps();
        QCOMPARE(m->index(1, AppListModel::versionColumn).data().toString(), QStringLiteral("-"));
        QCOMPARE(m->index(2, AppListModel::versionColumn).data().toString(), QStringLiteral("4.2"));
        QCOMPARE(m->index(0, AppListModel::sizeColumn).data(Qt::ForegroundRole).value<QColor>(),
            systemColor(SystemColor::red));
        QCOMPARE(m->index(1, AppListModel::sizeColumn).data(Qt::ForegroundRole).value<QColor>(),
            secondaryLabelColor());
        QCOMPARE(
            m->index(1, AppListModel::sizeColumn).data().toString(), fileBytesText(500'000'000));
        QVERIFY(s.screen.scanButton()->isEnabled());
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
        s.select({1});
        QVERIFY(s.screen.uninstallButton()->isEnabled());

        // An empty result still says how many.
        std::filesystem::remove_all(s.env.systemRoot() + "/Applications");
        std::filesystem::remove_all(s.env.home() + "/Applications");
        s.load();
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("0 aplicaciones"));
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
    }

    void bundleIconOrGenericNeverBlank()
    {
        AppsScreen s;
        const std::string res = s.env.systemRoot() + "/Applications/Painted.app/Contents/Resources";
        std::filesystem::create_directories(res);
        QImage art(128, 128, QImage::Format_ARGB32);
        art.fill(QColor(10, 200, 30));
        QImageWriter writer(QString::fromStdString(res + "/AppIcon.icns"), "icns");
        QVERIFY2(writer.write(art), qPrintable(writer.errorString()));
        s.env.inSystem("Applications/Plain.app", 5);
        s.env.inSystem(
            "Applications/Broken.app/Contents/Resources/AppIcon.icns", 40); // not an image
        s.load();
        QCOMPARE(s.screen.apps()->rowCount(), 3);
        for (int r = 0; r < 3; ++r) {
            const auto pixmap = s.screen.apps()
                                    ->index(r, AppListModel::iconColumn)
                                    .data(Qt::DecorationRole)
                                    .value<QPixmap>();
            QVERIFY(!pixmap.isNull());
            const QColor centre
                = pixmap.toImage().pixelColor(pixmap.width() / 2, pixmap.height() / 2);
            const bool painted
                = s.screen.apps()->index(r, AppListModel::nameColumn).data() == "Painted";
            QCOMPARE(centre == QColor(10, 200, 30), painted);
        }
        // Drawn 36 points square in the middle of its 44-point cell, not at the icon's
        // own size from the corner.
        QTableView* table = s.screen.tableView();
        const QImage shot = table->viewport()->grab().toImage();
        const QRect cell = table->visualRect(s.screen.apps()->index(0, AppListModel::iconColumn));
        QCOMPARE(shot.pixelColor(cell.center()), QColor(10, 200, 30));
        QVERIFY(shot.pixelColor(cell.topLeft() + QPoint(2, 2)) != QColor(10, 200, 30));
        QVERIFY(shot.pixelColor(cell.center() + QPoint(0, 20)) != QColor(10, 200, 30));
    }

    void uninstallKeepsWhatCouldNotBeMoved()
    {
        AppsScreen s;
        s.env.inSystem("Applications/A.app", 3000);
        s.env.inSystem("Applications/B.app", 2000);
        s.env.inSystem("Applications/C.app", 1000);
        s.env.inSystem("Applications/D.app", 500);
        s.load();
        QCOMPARE(s.names(), (QStringList{"A", "B", "C", "D"}));
        s.env.trash->refuse = {s.env.systemRoot() + "/Applications/B.app"};

        // Cancel leaves everything.
        s.select({0, 1, 2});
        {
            AlertAnswerer cancel(1);
            QTest::mouseClick(s.screen.uninstallButton(), Qt::LeftButton);
            QTRY_COMPARE(cancel.shown.size(), size_t(1));
            QCoreApplication::processEvents();
            QCOMPARE(s.names().size(), 4);
        }
        AlertAnswerer confirm(0);
        s.select({2, 0, 1});
        QTest::mouseClick(s.screen.uninstallButton(), Qt::LeftButton);
        QTRY_COMPARE(s.names(), (QStringList{"B", "D"}));
        QCOMPARE(confirm.shown.size(), size_t(1));
        QCOMPARE(confirm.shown[0].message, QStringLiteral("¿Mover a la Papelera?"));
        QCOMPARE(confirm.shown[0].informativeText,
            QStringLiteral("Se moverán a la Papelera:\n• A\n• B\n• C"));
        QCOMPARE(confirm.shown[0].buttons,
            (QStringList{QStringLiteral("Mover a Papelera"), QStringLiteral("Cancelar")}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("⚠️ Movidas a Papelera · Liberado: ") + fileBytesText(4000)
                + QStringLiteral(" · No se pudieron mover: 1"));
        QVERIFY(s.env.tree.exists("system/Applications/B.app"));
        QVERIFY(!s.env.tree.exists("system/Applications/A.app"));

        s.select({1});
        QTest::mouseClick(s.screen.uninstallButton(), Qt::LeftButton);
        QTRY_COMPARE(s.names(), (QStringList{"B"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Movidas a Papelera · Liberado: ") + fileBytesText(500));

        s.select({0});
        QTest::mouseClick(s.screen.uninstallButton(), Qt::LeftButton);
        QTRY_COMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("❌ No se pudieron mover a la Papelera: 1"));
        QCOMPARE(s.names(), (QStringList{"B"}));

        // With nothing selected the button is off and the action asks nothing.
        s.screen.tableView()->selectionModel()->clearSelection();
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
        s.screen.uninstallSelected();
        QCoreApplication::processEvents();
        QCOMPARE(confirm.shown.size(), size_t(3));
    }

    void contextMenuActions()
    {
        AppsScreen s;
        s.env.inSystem("Applications/A.app", 3000);
        s.env.inSystem("Applications/Locked.app", 1000);
        s.load();
        const std::string a = s.env.systemRoot() + "/Applications/A.app";
        const std::string locked = s.env.systemRoot() + "/Applications/Locked.app";
        s.screen.showAppInFinder(a);
        s.screen.launchApp(a);
        QCOMPARE(s.env.workspace->calls,
            (std::vector<FakeWorkspace::Call>{{"reveal", a}, {"launch", a}}));

        s.env.trash->refuse = {locked};
        s.screen.statusLabel()->setText(QStringLiteral("antes"));
        s.screen.trashApp(locked); // refused: stays, nothing said
        QCOMPARE(s.names(), (QStringList{"A", "Locked"}));
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("antes"));
        s.screen.trashApp(s.env.systemRoot() + "/Applications/Nope.app");
        QCOMPARE(s.names().size(), 2);
        s.screen.trashApp(a);
        QCOMPARE(s.names(), (QStringList{"Locked"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Desinstalada · Liberado: ") + fileBytesText(3000));

        // The menu itself: three actions and a separator on a row, none below the rows.
        QTableView* table = s.screen.tableView();
        const QPoint onRow = table->visualRect(s.screen.apps()->index(0, 1)).center();
        emit table->customContextMenuRequested(onRow);
        QMenu* menu = s.screen.findChild<QMenu*>();
        QVERIFY(menu);
        QStringList titles;
        for (QAction* action : menu->actions())
            titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(titles,
            (QStringList{
                "Mostrar en Finder", "Abrir Aplicación", "-", "Mover a Papelera (Desinstalar)"}));
        menu->close();
        delete menu;
        emit table->customContextMenuRequested(QPoint(5, table->viewport()->height() - 2));
        QVERIFY(!s.screen.findChild<QMenu*>());
    }
};

QTEST_MAIN(ApplicationsTest)
#include "applications_test.moc"

// The Applications screen: listing, icons, the size colour, uninstalling and the menu.
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/tools/applications/AppListModel.h"
#include "gui/tools/applications/ApplicationsViewController.h"
#include "gui/widgets/Alert.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/widgets/PrimaryButton.h"

#include <QAbstractItemModelTester>
#include <QImageWriter>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTextDocument>

#include <cstdio>
#include <map>

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
        QCOMPARE(s.screen.apps()->rowCount(), 0); // nothing before "Cargar Apps"
        sparse(s.env.systemRoot() + "/Applications/Edge.app", 500'000'000);
        sparse(s.env.home() + "/Applications/Over.app/Contents/MacOS/bin", 500'000'001);
        s.env.tree.text("system/Applications/Small.app/Contents/Info.plist",
            "<plist><dict><key>CFBundleShortVersionString</key><string>4.2</string></dict></"
            "plist>");
        s.load();
        QCOMPARE(s.names(), (QStringList{"Over", "Edge", "Small"}));
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("3 aplicaciones"));
        auto cell = [&](int row, int column, int role = Qt::DisplayRole) {
            return s.screen.apps()->index(row, column).data(role);
        };
        QCOMPARE(cell(1, AppListModel::versionColumn).toString(), QStringLiteral("-"));
        QCOMPARE(cell(2, AppListModel::versionColumn).toString(), QStringLiteral("4.2"));
        QCOMPARE(cell(0, AppListModel::sizeColumn, Qt::ForegroundRole).value<QColor>(),
            systemColor(SystemColor::red));
        QCOMPARE(cell(1, AppListModel::sizeColumn, Qt::ForegroundRole).value<QColor>(),
            secondaryLabelColor());
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
        s.select({1});
        QVERIFY(s.screen.uninstallButton()->isEnabled());
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
        s.env.inSystem("Applications/Broken.app/Contents/Resources/AppIcon.icns", 40); // no image
        s.load();
        QCOMPARE(s.screen.apps()->rowCount(), 3);
        for (int r = 0; r < 3; ++r) {
            const QImage icon = s.screen.apps()
                                    ->index(r, AppListModel::iconColumn)
                                    .data(Qt::DecorationRole)
                                    .value<QPixmap>()
                                    .toImage();
            QVERIFY(!icon.isNull());
            QCOMPARE(icon.pixelColor(icon.width() / 2, icon.height() / 2) == QColor(10, 200, 30),
                s.screen.apps()->index(r, AppListModel::nameColumn).data() == "Painted");
        }
    }

    // Only the bundles that were moved leave the list, from the button and the menu.
    void uninstallKeepsWhatCouldNotBeMoved()
    {
        AppsScreen s;
        for (const auto& [name, size] : std::map<std::string, int>{
                 {"A", 3000}, {"B", 2000}, {"C", 1000}, {"D", 500}, {"E", 100}})
            s.env.inSystem("Applications/" + name + ".app", size);
        s.load();
        const std::string b = s.env.systemRoot() + "/Applications/B.app";
        s.env.trash->refuse = {b};
        auto uninstall = [&](const QList<int>& rows) {
            s.select(rows);
            QTest::mouseClick(s.screen.uninstallButton(), Qt::LeftButton);
        };
        {
            AlertAnswerer cancel(1);
            uninstall({0, 1, 2});
            QTRY_COMPARE(cancel.shown.size(), size_t(1));
            QCoreApplication::processEvents();
            QCOMPARE(s.names().size(), 5);
        }
        AlertAnswerer confirm(0);
        uninstall({2, 0, 1});
        QTRY_COMPARE(s.names(), (QStringList{"B", "D", "E"}));
        QCOMPARE(confirm.shown[0].informativeText,
            QStringLiteral("Se moverán a la Papelera:\n• A\n• B\n• C"));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Movidas a Papelera · Liberado: ") + fileBytesText(4000)
                + QStringLiteral(" · 1 no se movió: No se pudo mover a la Papelera."));
        QVERIFY(s.env.tree.exists("system/Applications/B.app"));
        uninstall({1});
        QTRY_COMPARE(s.names(), (QStringList{"B", "E"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Movidas a Papelera · Liberado: ") + fileBytesText(500));
        uninstall({0});
        QTRY_COMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("❌ No se pudo mover a la Papelera: No se pudo mover a la Papelera."));
        QCOMPARE(s.names(), (QStringList{"B", "E"}));
        s.screen.tableView()->selectionModel()->clearSelection();
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
        s.screen.uninstallSelected(); // with nothing selected nothing is asked
        QCoreApplication::processEvents();
        QCOMPARE(confirm.shown.size(), size_t(3));

        // The row menu's actions.
        s.screen.showAppInFinder(b);
        s.screen.launchApp(b);
        QCOMPARE(s.env.workspace->calls,
            (std::vector<FakeWorkspace::Call>{{"reveal", b}, {"launch", b}}));
        s.screen.statusLabel()->setText(QStringLiteral("antes"));
        s.screen.trashApp(b); // refused: stays, nothing said
        s.screen.trashApp(s.env.systemRoot() + "/Applications/Nope.app");
        QCOMPARE(s.names(), (QStringList{"B", "E"}));
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("antes"));
        s.screen.trashApp(s.env.systemRoot() + "/Applications/E.app");
        QCOMPARE(s.names(), (QStringList{"B"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Desinstalada · Liberado: ") + fileBytesText(100));
        QTableView* table = s.screen.tableView();
        emit table->customContextMenuRequested(
            table->visualRect(s.screen.apps()->index(0, 1)).center());
        QMenu* menu = s.screen.findChild<QMenu*>();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 4);
        delete menu;
        emit table->customContextMenuRequested(QPoint(5, table->viewport()->height() - 2));
        QVERIFY(!s.screen.findChild<QMenu*>()); // none below the rows
    }

    // A bundle replaced after the listing (an update installed meanwhile) is another
    // program than the one chosen: it stays, from the button and from the menu.
    void bundleReplacedAfterListingIsKept()
    {
        AppsScreen s;
        s.env.inSystem("Applications/A.app/Contents/MacOS/a", 3000);
        s.env.inSystem("Applications/B.app/Contents/MacOS/b", 1000);
        s.load();
        QCOMPARE(s.names(), (QStringList{"A", "B"}));
        const std::string apps = s.env.systemRoot() + "/Applications/";
        s.env.inSystem("Applications/update/Contents/MacOS/a", 3000);
        QVERIFY(::rename((apps + "A.app").c_str(), (apps + "A.old").c_str()) == 0);
        QVERIFY(::rename((apps + "update").c_str(), (apps + "A.app").c_str()) == 0);
        AlertAnswerer confirm(0);
        s.select({0, 1});
        QTest::mouseClick(s.screen.uninstallButton(), Qt::LeftButton);
        QTRY_COMPARE(s.names(), (QStringList{"A"}));
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{apps + "B.app"});
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Movidas a Papelera · Liberado: ") + fileBytesText(1000)
                + QStringLiteral(
                    " · ⚠️ 1 elemento cambió desde la búsqueda y no se movió"));
        s.screen.trashApp(apps + "A.app");
        QCOMPARE(s.names(), (QStringList{"A"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("⚠️ 1 elemento cambió desde la búsqueda y no se movió"));
        QVERIFY(s.env.tree.exists("system/Applications/A.app/Contents/MacOS/a"));
    }

    // Application names are shown as they are in the real alert, never as markup.
    void alertShowsNamesAsPlainText()
    {
        AppsScreen s;
        s.env.inSystem("Applications/<b>x<i>y.app", 2000);
        s.env.inSystem("Applications/<img src=z.png>.app", 1000);
        s.load();
        // The row's tooltip too, which renders whatever looks like markup.
        const QString tip
            = s.screen.apps()->index(1, AppListModel::nameColumn).data(Qt::ToolTipRole).toString();
        QString tipShown = tip;
        if (Qt::mightBeRichText(tip)) {
            QTextDocument document;
            document.setHtml(tip);
            tipShown = document.toPlainText();
        }
        QCOMPARE(tipShown,
            QString::fromStdString(s.env.systemRoot() + "/Applications/<img src=z.png>.app"));

        s.select({0, 1});
        QTest::mouseClick(s.screen.uninstallButton(), Qt::LeftButton);
        QMessageBox* box = nullptr;
        QTRY_VERIFY((box = s.screen.window()->findChild<QMessageBox*>()));
        auto* info = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
        QVERIFY(info);
        QCOMPARE(info->textFormat(), Qt::PlainText);
        QCOMPARE(info->text(),
            QStringLiteral("Se moverán a la Papelera:\n• <b>x<i>y\n• <img src=z.png>"));
        auto* message = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(message);
        QCOMPARE(message->textFormat(), Qt::PlainText);
        box->reject();
        QCoreApplication::processEvents();
        QCOMPARE(s.names().size(), 2);
        QVERIFY(s.env.trash->moved.empty());
    }
};

QTEST_MAIN(ApplicationsTest)
#include "applications_test.moc"

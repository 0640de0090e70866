// The Applications screen: listing, icons, uninstalling and the menu.
#include "gui/support/ShownScreen.h"
#include "gui/text/ByteTexts.h"
#include "gui/tools/applications/AppListModel.h"
#include "gui/tools/applications/ApplicationsViewController.h"
#include "gui/widgets/PrimaryButton.h"

#include <QImageWriter>
#include <QMessageBox>
#include <QTableView>
#include <QTextDocument>

#include <cstdio>
#include <map>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct Screen : ShownScreen<ApplicationsViewController> {
    QStringList names() const { return column(AppListModel::nameColumn); }
    std::vector<AlertRequest> uninstall(const QList<int>& rows, int answer)
    {
        select(rows);
        return answering(
            answer, [&] { QTest::mouseClick(screen.uninstallButton(), Qt::LeftButton); });
    }
    QString moved(int64_t bytes) const
    {
        return "✅ Movidas a Papelera · Liberado: " + fileBytesText(bytes);
    }
};

} // namespace

class ApplicationsTest : public QObject {
    Q_OBJECT
private slots:
    void listsLargestFirstWithVersions()
    {
        Screen s;
        s.env.sparse("system/Applications/Edge.app", 500'000'000);
        s.env.sparse("home/Applications/Over.app/Contents/MacOS/bin", 500'000'001);
        s.env.tree.text("system/Applications/Small.app/Contents/Info.plist",
            "<plist><dict><key>CFBundleShortVersionString</key><string>4.2</string></dict></"
            "plist>");
        QVERIFY(s.run());
        QCOMPARE(s.names(), (QStringList{"Over", "Edge", "Small"}));
        QCOMPARE(s.column(AppListModel::versionColumn), (QStringList{"-", "-", "4.2"}));
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
        s.select({1});
        QVERIFY(s.screen.uninstallButton()->isEnabled());
    }

    void bundleIconOrGenericNeverBlank()
    {
        Screen s;
        const std::string res = s.env.systemRoot() + "/Applications/Painted.app/Contents/Resources";
        std::filesystem::create_directories(res);
        QImage art(128, 128, QImage::Format_ARGB32);
        art.fill(QColor(10, 200, 30));
        QImageWriter writer(QString::fromStdString(res + "/AppIcon.icns"), "icns");
        QVERIFY2(writer.write(art), qPrintable(writer.errorString()));
        s.env.inSystem("Applications/Plain.app", 5);
        s.env.inSystem("Applications/Broken.app/Contents/Resources/AppIcon.icns", 40); // no image
        QVERIFY(s.run());
        QCOMPARE(s.model()->rowCount(), 3);
        for (int r = 0; r < 3; ++r) {
            const QImage icon = s.row(r, AppListModel::iconColumn)
                                    .data(Qt::DecorationRole)
                                    .value<QPixmap>()
                                    .toImage();
            QVERIFY(!icon.isNull());
            QCOMPARE(icon.pixelColor(icon.width() / 2, icon.height() / 2) == QColor(10, 200, 30),
                s.names()[r] == "Painted");
        }
    }

    // Only the bundles that were moved leave the list and count, from the button and
    // the menu: one the Trash refused stays, and so does one replaced after the listing
    // (an update installed meanwhile is another program than the one chosen).
    void uninstallKeepsWhatWasNotMoved()
    {
        Screen s;
        for (const auto& [name, size] :
            std::map<std::string, int>{{"A", 3000}, {"B", 2000}, {"C", 1000}, {"D", 500}})
            s.env.inSystem("Applications/" + name + ".app/Contents/MacOS/x", size);
        QVERIFY(s.run());
        const std::string apps = s.env.systemRoot() + "/Applications/";
        s.env.trash->refuse = {apps + "B.app"};
        s.uninstall({0, 1, 2}, 1);
        QCOMPARE(s.names().size(), 4);
        s.env.inSystem("Applications/update/Contents/MacOS/x", 1000);
        QVERIFY(::rename((apps + "C.app").c_str(), (apps + "C.old").c_str()) == 0);
        QVERIFY(::rename((apps + "update").c_str(), (apps + "C.app").c_str()) == 0);
        const auto asked = s.uninstall({2, 0, 1}, 0);
        QCOMPARE(asked.at(0).informativeText,
            QStringLiteral("Se moverán a la Papelera:\n• A\n• B\n• C"));
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{apps + "A.app"});
        QCOMPARE(s.names(), (QStringList{"B", "C", "D"}));
        QCOMPARE(s.status(),
            s.moved(3000) + " · 1 no se movió: No se pudo mover a la Papelera. · "
                + kChangedSinceListing);
        // With nothing selected nothing is asked.
        s.select({});
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
        QVERIFY(s.answering(0, [&] { s.screen.uninstallSelected(); }).empty());

        // The row menu: a refused move stays and says nothing, a replaced bundle stays
        // and says so.
        QCOMPARE(s.menu(s.row(0), "Abrir Aplicación"),
            (QStringList{
                "Mostrar en Finder", "Abrir Aplicación", "", "Mover a Papelera (Desinstalar)"}));
        QCOMPARE(
            s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"launch", apps + "B.app"}}));
        s.screen.statusLabel()->setText(QStringLiteral("antes"));
        s.menu(s.row(0), "Mover a Papelera (Desinstalar)");
        QCOMPARE(s.status(), QStringLiteral("antes"));
        s.menu(s.row(1), "Mover a Papelera (Desinstalar)");
        QCOMPARE(s.status(), kChangedSinceListing);
        s.menu(s.row(2), "Mover a Papelera (Desinstalar)");
        QCOMPARE(s.names(), (QStringList{"B", "C"}));
        QCOMPARE(s.status(), "✅ Desinstalada · Liberado: " + fileBytesText(500));
        QVERIFY(s.env.tree.exists("system/Applications/C.app/Contents/MacOS/x"));

        // The list's own request: a menu on a row, none below the rows.
        QTableView* table = s.screen.tableView();
        emit table->customContextMenuRequested(table->visualRect(s.row(0, 1)).center());
        QMenu* menu = table->findChild<QMenu*>();
        QVERIFY(menu);
        delete menu;
        emit table->customContextMenuRequested(QPoint(5, table->viewport()->height() - 2));
        QVERIFY(!table->findChild<QMenu*>());
    }

    // Application names are shown as they are in the real alert and in the tooltip,
    // never as markup.
    void namesShowAsPlainText()
    {
        Screen s;
        s.env.inSystem("Applications/<b>x<i>y.app", 2000);
        s.env.inSystem("Applications/<img src=z.png>.app", 1000);
        QVERIFY(s.run());
        const QString tip = s.row(1, AppListModel::nameColumn).data(Qt::ToolTipRole).toString();
        QTextDocument document;
        document.setHtml(tip);
        QCOMPARE(Qt::mightBeRichText(tip) ? document.toPlainText() : tip,
            QString::fromStdString(s.env.systemRoot() + "/Applications/<img src=z.png>.app"));

        s.select({0, 1});
        QTest::mouseClick(s.screen.uninstallButton(), Qt::LeftButton);
        QMessageBox* box = nullptr;
        QTRY_VERIFY((box = s.screen.window()->findChild<QMessageBox*>()));
        for (const char* name : {"qt_msgbox_label", "qt_msgbox_informativelabel"})
            QCOMPARE(box->findChild<QLabel*>(name)->textFormat(), Qt::PlainText);
        QCOMPARE(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))->text(),
            QStringLiteral("Se moverán a la Papelera:\n• <b>x<i>y\n• <img src=z.png>"));
        box->reject();
        QCoreApplication::processEvents();
        QCOMPARE(s.names().size(), 2);
        QVERIFY(s.env.trash->moved.empty());
    }
};

QTEST_MAIN(ApplicationsTest)
#include "applications_test.moc"

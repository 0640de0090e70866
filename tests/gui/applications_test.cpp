// The Applications screen: listing, icons, the size colour, uninstalling and the menu.
#include "gui/style/Colors.h"
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

#include <unistd.h>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct Screen : ShownScreen<ApplicationsViewController> {
    // A bundle of `bytes` logical bytes that takes no room on the disk.
    void sparse(const std::string& rel, off_t bytes)
    {
        QVERIFY(::truncate(env.tree.file(rel, 0).c_str(), bytes) == 0);
    }
    QStringList names() const { return column(AppListModel::nameColumn); }
    void select(const QList<int>& rows)
    {
        auto* selection = screen.tableView()->selectionModel();
        selection->clearSelection();
        for (int r : rows)
            selection->select(row(r), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
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

const QString kChanged
    = QStringLiteral("⚠️ 1 elemento cambió desde la búsqueda y no se movió");

} // namespace

class ApplicationsTest : public QObject {
    Q_OBJECT
private slots:
    void listsLargestFirstWithVersionsAndColours()
    {
        Screen s;
        QCOMPARE(s.model()->rowCount(), 0); // nothing before "Cargar Apps"
        s.sparse("system/Applications/Edge.app", 500'000'000);
        s.sparse("home/Applications/Over.app/Contents/MacOS/bin", 500'000'001);
        s.env.tree.text("system/Applications/Small.app/Contents/Info.plist",
            "<plist><dict><key>CFBundleShortVersionString</key><string>4.2</string></dict></"
            "plist>");
        QVERIFY(s.run());
        QCOMPARE(s.names(), (QStringList{"Over", "Edge", "Small"}));
        QCOMPARE(s.status(), QStringLiteral("3 aplicaciones"));
        QCOMPARE(s.column(AppListModel::versionColumn), (QStringList{"-", "-", "4.2"}));
        auto colour = [&](int row) {
            return s.row(row, AppListModel::sizeColumn).data(Qt::ForegroundRole).value<QColor>();
        };
        QCOMPARE(colour(0), systemColor(SystemColor::red));
        QCOMPARE(colour(1), secondaryLabelColor());
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

    // Only the bundles that were moved leave the list, from the button and the menu.
    void uninstallKeepsWhatCouldNotBeMoved()
    {
        Screen s;
        for (const auto& [name, size] : std::map<std::string, int>{
                 {"A", 3000}, {"B", 2000}, {"C", 1000}, {"D", 500}, {"E", 100}})
            s.env.inSystem("Applications/" + name + ".app", size);
        QVERIFY(s.run());
        const std::string b = s.env.systemRoot() + "/Applications/B.app";
        s.env.trash->refuse = {b};
        s.uninstall({0, 1, 2}, 1);
        QCOMPARE(s.names().size(), 5);
        const auto asked = s.uninstall({2, 0, 1}, 0);
        QCOMPARE(s.names(), (QStringList{"B", "D", "E"}));
        QCOMPARE(asked.at(0).informativeText,
            QStringLiteral("Se moverán a la Papelera:\n• A\n• B\n• C"));
        QCOMPARE(s.status(),
            s.moved(4000) + QStringLiteral(" · 1 no se movió: No se pudo mover a la Papelera."));
        QVERIFY(s.env.tree.exists("system/Applications/B.app"));
        s.uninstall({1}, 0);
        QCOMPARE(s.names(), (QStringList{"B", "E"}));
        QCOMPARE(s.status(), s.moved(500));
        s.uninstall({0}, 0);
        QCOMPARE(s.status(),
            QStringLiteral("❌ No se pudo mover a la Papelera: No se pudo mover a la Papelera."));
        QCOMPARE(s.names(), (QStringList{"B", "E"}));
        s.select({});
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
        // With nothing selected nothing is asked.
        QVERIFY(s.answering(0, [&] { s.screen.uninstallSelected(); }).empty());

        // The row menu's actions: a refused move stays and says nothing.
        QCOMPARE(s.menu(s.row(0), "Mostrar en Finder"),
            (QStringList{
                "Mostrar en Finder", "Abrir Aplicación", "", "Mover a Papelera (Desinstalar)"}));
        s.menu(s.row(0), "Abrir Aplicación");
        QCOMPARE(s.env.workspace->calls,
            (std::vector<FakeWorkspace::Call>{{"reveal", b}, {"launch", b}}));
        s.screen.statusLabel()->setText(QStringLiteral("antes"));
        s.menu(s.row(0), "Mover a Papelera (Desinstalar)");
        QCOMPARE(s.names(), (QStringList{"B", "E"}));
        QCOMPARE(s.status(), QStringLiteral("antes"));
        s.menu(s.row(1), "Mover a Papelera (Desinstalar)");
        QCOMPARE(s.names(), (QStringList{"B"}));
        QCOMPARE(s.status(), "✅ Desinstalada · Liberado: " + fileBytesText(100));

        // Through the list's own signal: a menu on a row, none below the rows.
        QTableView* table = s.screen.tableView();
        emit table->customContextMenuRequested(table->visualRect(s.row(0, 1)).center());
        QMenu* menu = table->findChild<QMenu*>();
        QVERIFY(menu);
        delete menu;
        emit table->customContextMenuRequested(QPoint(5, table->viewport()->height() - 2));
        QVERIFY(!table->findChild<QMenu*>());
    }

    // A bundle replaced after the listing (an update installed meanwhile) is another
    // program than the one chosen: it stays, from the button and from the menu.
    void bundleReplacedAfterListingIsKept()
    {
        Screen s;
        s.env.inSystem("Applications/A.app/Contents/MacOS/a", 3000);
        s.env.inSystem("Applications/B.app/Contents/MacOS/b", 1000);
        QVERIFY(s.run());
        QCOMPARE(s.names(), (QStringList{"A", "B"}));
        const std::string apps = s.env.systemRoot() + "/Applications/";
        s.env.inSystem("Applications/update/Contents/MacOS/a", 3000);
        QVERIFY(::rename((apps + "A.app").c_str(), (apps + "A.old").c_str()) == 0);
        QVERIFY(::rename((apps + "update").c_str(), (apps + "A.app").c_str()) == 0);
        s.uninstall({0, 1}, 0);
        QCOMPARE(s.names(), (QStringList{"A"}));
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{apps + "B.app"});
        QCOMPARE(s.status(), s.moved(1000) + " · " + kChanged);
        s.menu(s.row(0), "Mover a Papelera (Desinstalar)");
        QCOMPARE(s.names(), (QStringList{"A"}));
        QCOMPARE(s.status(), kChanged);
        QVERIFY(s.env.tree.exists("system/Applications/A.app/Contents/MacOS/a"));
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

// The Applications screen: listing, icons, uninstalling and the menu. On a Linux desktop
// each application goes the way it was installed, asked first, and only what really
// went leaves the list.
#include "gui/support/ShownScreen.h"
#include "gui/tools/applications/AppListModel.h"
#include "gui/tools/applications/ApplicationsViewController.h"

#include <QMessageBox>
#include <QTableView>
#include <QTextDocument>

#include <cstdio>
#include <map>

#include <sys/stat.h>

using namespace tidvale;
using namespace tidvale::gui;
using Package = platform::DebianPackage;

namespace {

struct Screen : ShownScreen<ApplicationsViewController> {
    using ShownScreen::ShownScreen;
    QStringList names() const { return column(AppListModel::nameColumn); }
    std::vector<AlertRequest> uninstall(const QStringList& chosen, int answer)
    {
        QList<int> rows;
        for (const QString& name : chosen)
            rows << static_cast<int>(names().indexOf(name));
        select(rows);
        return answering(
            answer, [&] { QTest::mouseClick(screen.uninstallButton(), Qt::LeftButton); });
    }
    QString moved(int64_t bytes) const
    {
        return "✅ Movidas a Papelera · Liberado: " + fileBytesText(bytes);
    }
};

std::string entry(const std::string& keys)
{
    return "[Desktop Entry]\nType=Application\n" + keys + "\n";
}

std::string executable(const ScreenTestEnvironment& env, const std::string& rel, size_t bytes)
{
    const std::string path = env.tree.file(rel, bytes);
    ::chmod(path.c_str(), 0755);
    return path;
}

const char* kStatus = "Package: editor\n"
                      "Status: install ok installed\n"
                      "Architecture: amd64\n"
                      "Version: 1.2-3\n"
                      "Installed-Size: 2048\n"
                      "\n"
                      "Package: suite\n"
                      "Status: install ok installed\n"
                      "Architecture: amd64\n"
                      "Version: 7.0\n"
                      "Installed-Size: 10000\n";

const QString kHandMade = QStringLiteral(
    "No se sabe qué instaló esta entrada de menú: no se puede desinstalar desde aquí.");

} // namespace

class ApplicationsTest : public QObject {
    Q_OBJECT
private slots:

    // Only the bundles that were moved leave the list and count, from the button and
    // the menu: one the Trash refused stays.
    void uninstallKeepsWhatWasNotMoved()
    {
        Screen s;
        for (const auto& [name, size] :
            std::map<std::string, int>{{"A", 3000}, {"B", 2000}, {"C", 1000}, {"D", 500}})
            s.env.inSystem("Applications/" + name + ".app/Contents/MacOS/x", size);
        QVERIFY(s.run());
        const std::string apps = s.env.systemRoot() + "/Applications/";
        s.env.trash->refuse = {apps + "B.app"};
        s.uninstall({"A", "B", "C"}, 1);
        QCOMPARE(s.names().size(), 4);
        const auto asked = s.uninstall({"C", "A", "B"}, 0);
        QCOMPARE(asked.at(0).informativeText,
            QStringLiteral("Se moverán a la Papelera:\n• A\n• B\n• C"));
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{apps + "A.app", apps + "C.app"}));
        QCOMPARE(s.names(), (QStringList{"B", "D"}));
        QCOMPARE(s.status(), s.moved(4000) + " · 1 no se movió: No se pudo mover a la Papelera.");
        // With nothing selected nothing is asked.
        s.select({});
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
        QVERIFY(s.answering(0, [&] { s.screen.uninstallSelected(); }).empty());

        // The row menu moves the clicked bundle at once.
        QCOMPARE(s.menu(s.row(0), "Abrir Aplicación"),
            (QStringList{
                "Mostrar en Finder", "Abrir Aplicación", "", "Mover a Papelera (Desinstalar)"}));
        QCOMPARE(
            s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"launch", apps + "B.app"}}));
        s.menu(s.row(1), "Mover a Papelera (Desinstalar)");
        QCOMPARE(s.names(), QStringList{"B"});
        QCOMPARE(s.status(), "✅ Desinstalada · Liberado: " + fileBytesText(500));

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

    // Both menu entries of one package go with it, the package that depends on it is
    // named before anything is removed, and the package's size counts once.
    void linuxPackageAndWhatDependsOnItAreAskedFirst()
    {
        Screen s(linuxPlaces());
        s.env.tree.text("system/var/lib/dpkg/status", kStatus);
        s.env.tree.text("system/var/lib/dpkg/info/suite.list",
            "/usr/share/applications/writer.desktop\n/usr/share/applications/calc.desktop\n");
        s.env.tree.text(
            "system/var/lib/dpkg/info/editor.list", "/usr/share/applications/editor.desktop\n");
        s.env.tree.text("system/usr/share/applications/writer.desktop", entry("Name=Writer"));
        s.env.tree.text("system/usr/share/applications/calc.desktop", entry("Name=Calc"));
        s.env.tree.text("system/usr/share/applications/editor.desktop", entry("Name=Editor"));
        QVERIFY(s.run());
        const Package suite{"suite", "amd64", "7.0"};
        const Package help{"suite-help", "all", "7.0"};
        s.env.remover->preview.others = {help};

        auto asked = s.uninstall({"Writer"}, 1);
        QCOMPARE(asked.size(), size_t(1));
        QCOMPARE(asked[0].informativeText,
            QStringLiteral("Se desinstalarán:\n• Writer (paquete «suite»)\n• Calc (paquete «suite»)"
                           "\n\nTambién se quitarán estos paquetes, que dependen de los "
                           "anteriores:\n• suite-help (7.0)"));
        QCOMPARE(s.env.remover->previewed, std::vector<std::vector<Package>>{{suite}});
        QVERIFY(s.env.remover->removedPackages.empty());
        QCOMPARE(s.names().size(), 3);
        QCOMPARE(s.status(), QStringLiteral("3 aplicaciones"));

        // dpkg has the last word on what went.
        s.env.remover->onRemovePackages = [&](const std::vector<Package>&) {
            const std::string status = kStatus;
            s.env.tree.text(
                "system/var/lib/dpkg/status", status.substr(0, status.find("\n\n") + 2));
        };
        s.uninstall({"Writer"}, 0);
        QCOMPARE(
            s.env.remover->removedPackages, (std::vector<std::vector<Package>>{{suite, help}}));
        QCOMPARE(s.names(), QStringList{"Editor"});
        QCOMPARE(s.status(),
            QStringLiteral("✅ Desinstaladas: 1 · Liberado: ") + fileBytesText(10000 * 1024));

        // A package manager that cannot say what would go removes nothing.
        s.env.remover->preview = {std::string("Transaction was rejected"), {}};
        asked = s.uninstall({"Editor"}, 0);
        QCOMPARE(asked.size(), size_t(1));
        QCOMPARE(asked[0].informativeText, QStringLiteral("Transaction was rejected"));
        QCOMPARE(s.env.remover->removedPackages.size(), size_t(1));
        QCOMPARE(s.names(), QStringList{"Editor"});
    }

    // A menu entry nothing known installed says why on its row, and nothing offers to
    // uninstall it; an AppImage beside it goes to the Trash with its entry.
    void linuxHandMadeEntryStaysAndAppImageGoesToTheTrash()
    {
        Screen s(linuxPlaces());
        const std::string script = executable(s.env, "home/bin/backup.sh", 20);
        s.env.tree.text(
            "home/.local/share/applications/backup.desktop", entry("Name=Backup\nExec=" + script));
        const std::string tool = executable(s.env, "home/Apps/Tool.AppImage", 7000);
        const std::string toolEntry = s.env.tree.text(
            "home/.local/share/applications/tool.desktop", entry("Name=Tool\nExec=" + tool));
        QVERIFY(s.run());
        QCOMPARE(s.names(), (QStringList{"Tool", "Backup"}));
        QCOMPARE(s.row(1, AppListModel::nameColumn).data(AppListModel::reasonRole).toString(),
            kHandMade);

        s.select({1});
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
        // The menu's actions go with the menu: read them while it lives.
        auto uninstallOffered = [&](int row) {
            QMenu menu;
            s.screen.menuNeedsUpdate(&menu, s.row(row));
            return menu.actions().last()->isEnabled();
        };
        QVERIFY(!uninstallOffered(1));
        QVERIFY(uninstallOffered(0));
        QVERIFY(s.answering(0, [&] { s.screen.uninstallSelected(); }).empty());
        QCOMPARE(s.status(), QStringLiteral("No se puede desinstalar desde aquí: ") + kHandMade);

        // The AppImage is revealed as the file it is; opening runs its menu entry.
        s.menu(s.row(0), "Mostrar en la carpeta");
        s.menu(s.row(0), "Abrir Aplicación");
        QCOMPARE(s.env.workspace->calls,
            (std::vector<FakeWorkspace::Call>{{"reveal", tool}, {"launch", toolEntry}}));

        const int64_t toolSize = s.screen.apps()->items()[0].info.size;
        const auto asked = s.uninstall({"Tool", "Backup"}, 0);
        QCOMPARE(asked.size(), size_t(1));
        QCOMPARE(asked[0].informativeText,
            QStringLiteral("Se desinstalarán:\n• Tool (AppImage, a la Papelera)\n\nNo se pueden "
                           "desinstalar desde aquí:\n• Backup: ")
                + kHandMade);
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{tool, toolEntry}));
        QCOMPARE(s.names(), QStringList{"Backup"});
        QCOMPARE(s.status(),
            QStringLiteral("✅ Desinstaladas: 1 · Liberado: ") + fileBytesText(toolSize));
        QVERIFY(s.env.tree.exists("home/bin/backup.sh"));
        QVERIFY(s.env.remover->previewed.empty()); // no package: nothing to ask
    }
};

QTEST_MAIN(ApplicationsTest)
#include "applications_test.moc"

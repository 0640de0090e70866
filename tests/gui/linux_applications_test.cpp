// The Applications screen on a Linux desktop: each application goes the way it was
// installed, asked first, and only what really went leaves the list.
#include "gui/support/ShownScreen.h"
#include "gui/text/ByteTexts.h"
#include "gui/tools/applications/AppListModel.h"
#include "gui/tools/applications/ApplicationsViewController.h"
#include "gui/widgets/PrimaryButton.h"

#include <QImageWriter>
#include <QTableView>

#include <sys/stat.h>

#include <thread>

using namespace tidvale;
using namespace tidvale::gui;
using Package = platform::DebianPackage;

namespace {

std::string entry(const std::string& keys)
{
    return "[Desktop Entry]\nType=Application\n" + keys + "\n";
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

struct Screen : ShownScreen<ApplicationsViewController> {
    QStringList texts; // every status line, in order

    Screen()
        : ShownScreen(linuxProfile())
    {
        QObject::connect(&screen, &ToolViewController::statusChanged, &screen,
            [this](const QString& text) { texts << text; });
    }

    QStringList names() const { return column(AppListModel::nameColumn); }
    int rowOf(const QString& name) const { return static_cast<int>(names().indexOf(name)); }
    const AppInfo& app(const QString& name) const
    {
        return screen.apps()->items()[static_cast<size_t>(rowOf(name))].info;
    }
    void select(const QStringList& chosen)
    {
        auto* selection = screen.tableView()->selectionModel();
        selection->clearSelection();
        for (const QString& name : chosen)
            selection->select(
                row(rowOf(name)), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::string executable(const std::string& rel, size_t bytes)
    {
        const std::string path = env.tree.file(rel, bytes);
        ::chmod(path.c_str(), 0755);
        return path;
    }

    // Runs `action`, answers every alert with `answer` and waits for every job it leads
    // to: the preview, then the uninstall once confirmed.
    std::vector<AlertRequest> settle(int answer, const std::function<void()>& action)
    {
        AlertAnswerer answerer(answer);
        action();
        for (int round = 0; round < 20; ++round) {
            if (screen.isBusy()) {
                QSignalSpy done(&screen, &ToolViewController::jobFinished);
                if (!done.wait(10000))
                    break;
                continue;
            }
            const size_t seen = answerer.shown.size();
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            if (!screen.isBusy() && answerer.shown.size() == seen)
                break;
        }
        return answerer.shown;
    }
    std::vector<AlertRequest> uninstall(const QStringList& chosen, int answer)
    {
        select(chosen);
        return settle(answer, [&] { QTest::mouseClick(screen.uninstallButton(), Qt::LeftButton); });
    }
    // The context menu of a row, with each entry's title and whether it can be chosen.
    QList<std::pair<QString, bool>> menuEntries(const QString& name)
    {
        QMenu menu;
        screen.menuNeedsUpdate(&menu, row(rowOf(name)));
        QList<std::pair<QString, bool>> entries;
        for (QAction* action : menu.actions())
            entries.append({action->text(), action->isEnabled()});
        return entries;
    }
};

} // namespace

class LinuxApplicationsTest : public QObject {
    Q_OBJECT
private slots:
    // Both menu entries of one package go with it, the package that depends on it is
    // named before anything is removed, and the package's size counts once.
    void packageAndWhatDependsOnItAreAskedFirst()
    {
        Screen s;
        s.env.tree.text("system/var/lib/dpkg/status", kStatus);
        s.env.tree.text("system/var/lib/dpkg/info/suite.list",
            "/usr/share/applications/writer.desktop\n/usr/share/applications/calc.desktop\n");
        s.env.tree.text(
            "system/var/lib/dpkg/info/editor.list", "/usr/share/applications/editor.desktop\n");
        s.env.tree.text("system/usr/share/applications/writer.desktop", entry("Name=Writer"));
        s.env.tree.text("system/usr/share/applications/calc.desktop", entry("Name=Calc"));
        s.env.tree.text("system/usr/share/applications/editor.desktop", entry("Name=Editor"));
        QVERIFY(s.run());
        QCOMPARE(s.names().size(), 3);
        const Package suite{"suite", "amd64", "7.0"};
        const Package help{"suite-help", "all", "7.0"};
        s.env.remover->preview.others = {help};

        auto asked = s.uninstall({"Writer"}, 1);
        QCOMPARE(asked.size(), size_t(1));
        QCOMPARE(asked[0].message, QStringLiteral("¿Desinstalar?"));
        QCOMPARE(asked[0].informativeText,
            QStringLiteral("Se desinstalarán:\n• Writer (paquete «suite»)\n• Calc (paquete «suite»)"
                           "\n\nTambién se quitarán estos paquetes, que dependen de los "
                           "anteriores:\n• suite-help (7.0)"));
        QCOMPARE(asked[0].buttons, (QStringList{"Desinstalar", "Cancelar"}));
        QCOMPARE(s.env.remover->previewed, std::vector<std::vector<Package>>{{suite}});
        QVERIFY(s.env.remover->removedPackages.empty());
        QCOMPARE(s.names().size(), 3);
        QVERIFY(s.texts.contains(QStringLiteral("Comprobando qué se quitará...")));
        QCOMPARE(s.status(), QStringLiteral("3 aplicaciones"));

        // The package manager answers off the GUI thread; dpkg has the last word on
        // what went.
        std::thread::id removedOn;
        s.env.remover->onRemovePackages = [&](const std::vector<Package>&) {
            removedOn = std::this_thread::get_id();
            const std::string status = kStatus;
            s.env.tree.text(
                "system/var/lib/dpkg/status", status.substr(0, status.find("\n\n") + 2));
        };
        s.uninstall({"Writer"}, 0);
        QCOMPARE(
            s.env.remover->removedPackages, (std::vector<std::vector<Package>>{{suite, help}}));
        QVERIFY(removedOn != std::this_thread::get_id());
        QCOMPARE(s.names(), QStringList{"Editor"});
        QVERIFY(s.texts.contains(QStringLiteral("Desinstalando...")));
        QCOMPARE(s.status(),
            QStringLiteral("✅ Desinstaladas: 1 · Liberado: ") + fileBytesText(10000 * 1024));

        // A package manager that cannot say what would go removes nothing.
        s.env.remover->preview = {std::string("Transaction was rejected"), {}};
        asked = s.uninstall({"Editor"}, 0);
        QCOMPARE(asked.size(), size_t(1));
        QCOMPARE(asked[0].message, QStringLiteral("No se pudo preparar la desinstalación"));
        QCOMPARE(asked[0].informativeText, QStringLiteral("Transaction was rejected"));
        QCOMPARE(s.env.remover->removedPackages.size(), size_t(1));
        QCOMPARE(s.names(), QStringList{"Editor"});
    }

    // A menu entry nothing known installed says why on its row, and nothing offers to
    // uninstall it; an AppImage beside it goes to the Trash with its entry.
    void handMadeEntryStaysAndAppImageGoesToTheTrash()
    {
        Screen s;
        const std::string script = s.executable("home/bin/backup.sh", 20);
        s.env.tree.text(
            "home/.local/share/applications/backup.desktop", entry("Name=Backup\nExec=" + script));
        const std::string tool = s.executable("home/Apps/Tool.AppImage", 7000);
        const std::string toolEntry = s.env.tree.text(
            "home/.local/share/applications/tool.desktop", entry("Name=Tool\nExec=" + tool));
        QVERIFY(s.run());
        QCOMPARE(s.names(), (QStringList{"Tool", "Backup"}));
        const QModelIndex backup = s.row(s.rowOf("Backup"), AppListModel::nameColumn);
        QCOMPARE(backup.data(AppListModel::reasonRole).toString(), kHandMade);
        QVERIFY(backup.data(Qt::ToolTipRole).toString().contains(kHandMade));
        QVERIFY(
            s.row(0, AppListModel::nameColumn).data(AppListModel::reasonRole).toString().isEmpty());

        s.select({"Backup"});
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
        const auto menu = s.menuEntries("Backup");
        QCOMPARE(menu.size(), 4);
        QCOMPARE(menu[0], std::make_pair(QStringLiteral("Mostrar en la carpeta"), true));
        QCOMPARE(menu[1], std::make_pair(QStringLiteral("Abrir Aplicación"), true));
        QCOMPARE(menu[3], std::make_pair(QStringLiteral("Desinstalar…"), false));
        QVERIFY(s.settle(0, [&] { s.screen.uninstallSelected(); }).empty());
        QCOMPARE(s.status(), QStringLiteral("No se puede desinstalar desde aquí: ") + kHandMade);

        // The AppImage is revealed as the file it is; opening runs its menu entry.
        QCOMPARE(s.menuEntries("Tool")[3], std::make_pair(QStringLiteral("Desinstalar…"), true));
        s.menu(s.row(0), "Mostrar en la carpeta");
        s.menu(s.row(0), "Abrir Aplicación");
        QCOMPARE(s.env.workspace->calls,
            (std::vector<FakeWorkspace::Call>{{"reveal", tool}, {"launch", toolEntry}}));

        const int64_t toolSize = s.app("Tool").size;
        s.select({"Tool", "Backup"});
        QVERIFY(s.screen.uninstallButton()->isEnabled());
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

    // flatpak's refusal is shown as it said it, and the application stays listed.
    void flatpakThatRefusesStaysListed()
    {
        Screen s;
        const std::string app = "home/.local/share/flatpak/app/org.example.Paint/";
        s.env.tree.link(app + "current", "x86_64/stable");
        s.env.tree.link(app + "x86_64/stable/active", "abc123");
        s.env.tree.file(app + "x86_64/stable/abc123/files/bin/paint", 5000);
        s.env.tree.text(
            app + "x86_64/stable/abc123/export/share/applications/org.example.Paint.desktop",
            entry("Name=Paint\nX-Flatpak=org.example.Paint"));
        s.env.tree.link(
            "home/.local/share/flatpak/exports/share/applications/org.example.Paint.desktop",
            "../../../app/org.example.Paint/current/active/export/share/applications/"
            "org.example.Paint.desktop");
        QVERIFY(s.run());
        QCOMPARE(s.names(), QStringList{"Paint"});
        s.env.remover->flatpakAnswer
            = {false, "error: org.example.Paint/x86_64/stable is running\n"};
        const auto asked = s.settle(0, [&] { s.menu(s.row(0), "Desinstalar…"); });
        QCOMPARE(asked.size(), size_t(1));
        QCOMPARE(asked[0].informativeText, QStringLiteral("Se desinstalarán:\n• Paint (Flatpak)"));
        QCOMPARE(s.env.remover->removedFlatpaks,
            (std::vector<std::pair<std::string, bool>>{{"org.example.Paint", false}}));
        QCOMPARE(s.names(), QStringList{"Paint"});
        QCOMPARE(s.status(),
            QStringLiteral(
                "⚠️ No se desinstaló «Paint»: error: org.example.Paint/x86_64/stable "
                "is running"));
    }

    // The icon an entry names is taken from the desktop's icon theme; a file it names
    // is read; with neither the row still shows an icon.
    void iconsFromTheThemeOrAFile()
    {
        const QStringList savedPaths = QIcon::themeSearchPaths();
        const QString savedTheme = QIcon::themeName();
        Screen s;
        const std::string themes = s.env.tree.dir("icons");
        s.env.tree.text("icons/probe/index.theme",
            "[Icon Theme]\nName=probe\nDirectories=48x48/apps\n\n[48x48/apps]\nSize=48\n"
            "Type=Fixed\n");
        s.env.tree.dir("icons/probe/48x48/apps");
        QImage art(48, 48, QImage::Format_ARGB32);
        art.fill(QColor(10, 200, 30));
        QVERIFY(art.save(QString::fromStdString(themes + "/probe/48x48/apps/paint-probe.png")));
        art.fill(QColor(200, 20, 40));
        const std::string file = themes + "/own.png";
        QVERIFY(art.save(QString::fromStdString(file)));
        QIcon::setThemeSearchPaths({QString::fromStdString(themes)});
        QIcon::setThemeName(QStringLiteral("probe"));

        const std::string apps = "home/.local/share/applications/";
        s.env.tree.text(apps + "a.desktop", entry("Name=Themed\nIcon=paint-probe.png"));
        s.env.tree.text(apps + "b.desktop", entry("Name=Own\nIcon=" + file));
        s.env.tree.text(apps + "c.desktop", entry("Name=Plain\nIcon=no-such-icon"));
        QVERIFY(s.run());
        auto centre = [&](const QString& name) {
            const QImage icon = s.row(s.rowOf(name), AppListModel::iconColumn)
                                    .data(Qt::DecorationRole)
                                    .value<QPixmap>()
                                    .toImage();
            return icon.isNull() ? QColor() : icon.pixelColor(icon.width() / 2, icon.height() / 2);
        };
        QCOMPARE(centre("Themed"), QColor(10, 200, 30));
        QCOMPARE(centre("Own"), QColor(200, 20, 40));
        QVERIFY(centre("Plain").isValid());
        QIcon::setThemeSearchPaths(savedPaths);
        QIcon::setThemeName(savedTheme);
    }
};

QTEST_MAIN(LinuxApplicationsTest)
#include "linux_applications_test.moc"

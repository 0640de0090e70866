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
    // A menu entry nothing known installed says why on its row, and the button does
    // not offer to uninstall it.
    void handMadeEntrySaysWhyItCannotGo()
    {
        Screen s;
        const std::string script = s.executable("home/bin/backup.sh", 20);
        s.env.tree.text(
            "home/.local/share/applications/backup.desktop", entry("Name=Backup\nExec=" + script));
        QVERIFY(s.run());
        const QModelIndex backup = s.row(0, AppListModel::nameColumn);
        QCOMPARE(backup.data(AppListModel::reasonRole).toString(), kHandMade);
        QVERIFY(backup.data(Qt::ToolTipRole).toString().contains(kHandMade));
        s.select({"Backup"});
        QVERIFY(!s.screen.uninstallButton()->isEnabled());
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

// The finding screens: large files, downloads and duplicates, from the search to the Trash.
#include "gui/support/ShownScreen.h"
#include "gui/tools/downloads/DownloadsModel.h"
#include "gui/tools/downloads/DownloadsViewController.h"
#include "gui/tools/duplicates/DuplicatesModel.h"
#include "gui/tools/duplicates/DuplicatesViewController.h"
#include "gui/tools/largefiles/LargeFilesModel.h"
#include "gui/tools/largefiles/LargeFilesViewController.h"

#include <QComboBox>
#include <QTreeView>

#include <cstdio>
#include <ctime>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

constexpr int64_t kMB = 1048576;

struct LargeScreen : ShownScreen<LargeFilesViewController> {
    LargeScreen() { screen.setSearchRoots({env.homePath("Downloads"), env.homePath("Documents")}); }
    std::string file(const std::string& rel, int64_t size)
    {
        return env.sparse("home/" + rel, size);
    }
    QStringList names() const { return column(LargeFilesModel::nameColumn); }
    QString freed(int64_t bytes) const { return "✅ Liberado: " + fileBytesText(bytes); }
};

const QString kRefused = QStringLiteral("No se pudo mover a la Papelera.");

constexpr time_t kDay = 86400;

struct DownloadsScreen : ShownScreen<DownloadsViewController> {
    DownloadsScreen() { screen.setFolder(env.homePath("Downloads")); }
    // A file in Downloads last modified `days` ago.
    std::string entry(const std::string& name, size_t size, time_t days)
    {
        const auto path = env.inHome("Downloads/" + name, size);
        env.tree.setMtime("home/Downloads/" + name, std::time(nullptr) - days * kDay);
        return path;
    }
    QStringList names() const { return column(DownloadsModel::nameColumn); }
    QStringList ticked() const
    {
        QStringList out;
        for (const auto& item : screen.allItems())
            if (item.isSelected)
                out << QString::fromStdString(item.name);
        return out;
    }
    void filter(int index) { screen.filterPop()->setCurrentIndex(index); }
    QString selectAll() const { return screen.selectAllBtn()->text(); }
};

struct DuplicatesScreen : ShownScreen<DuplicatesViewController> {
    DuplicatesScreen()
    {
        // Each copy in its own folder: the walk order between folders is fixed, the
        // listing order inside one is the file system's.
        screen.setSearchRoots(
            {env.homePath("Downloads"), env.homePath("Documents"), env.homePath("Desktop")});
    }
    std::string copy(const std::string& rel, size_t size, char fill)
    {
        return env.tree.file("home/" + rel, size, fill);
    }
    QModelIndex at(int group, int file = -1) const
    {
        const QModelIndex g = row(group);
        return file < 0 ? g : model()->index(file, 0, g);
    }
    QStringList cells(int group, int file = -1) const
    {
        QStringList out;
        const QModelIndex first = at(group, file);
        for (int c = 0; c < DuplicatesModel::columnTotal; ++c)
            out << first.siblingAtColumn(c).data().toString();
        return out;
    }
    bool allExpanded() const
    {
        for (int g = 0; g < model()->rowCount(); ++g)
            if (!screen.outlineView()->isExpanded(row(g)))
                return false;
        return true;
    }
    QString waste(int groups, int64_t bytes) const
    {
        return QStringLiteral("%1 grupos · ").arg(groups) + fileBytesText(bytes)
            + " desperdiciados";
    }
};

} // namespace

class FinderScreensTest : public QObject {
    Q_OBJECT
private slots:
    // The menu acts on one file at once, without asking; the button on the selection,
    // or everything when nothing is selected, after asking. Only what went leaves and
    // counts: a refused file stays, and so does a file replaced since the search, from
    // the button and from the menu.
    void trashMovesOnlyWhatIsStillAsListed()
    {
        LargeScreen s;
        const auto a = s.file("Documents/a.bin", 300 * kMB);
        const auto b = s.file("Documents/b.bin", 200 * kMB);
        const auto c = s.file("Documents/c.bin", 100 * kMB);
        const auto d = s.file("Documents/d.bin", 60 * kMB);
        QVERIFY(s.run());
        const auto cancelled = s.answering(1, [&] { s.screen.doTrash(); });
        QCOMPARE(cancelled.at(0).message, QStringLiteral("¿Mover 4 archivo(s) a la Papelera?"));
        QVERIFY(!cancelled.at(0).deletesPermanently); // a move to the Trash keeps Enter
        QVERIFY(s.menu({}).isEmpty());
        s.menu(s.row(3), "Mostrar en Finder");
        s.menu(s.row(3), "Obtener Información");
        QCOMPARE(
            s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"reveal", d}, {"info", d}}));
        s.env.trash->refuse = {d};
        s.menu(s.row(3), "Mover a Papelera");
        QCOMPARE(s.names().size(), 4);
        s.env.trash->refuse = {a};
        QVERIFY(s.answering(1, [&] { s.menu(s.row(3), "Mover a Papelera"); }).empty());
        QCOMPARE(s.status(), "✅ Eliminado · Liberado: " + fileBytesText(60 * kMB));

        s.select({2, 0});
        const auto asked = s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(asked.at(0).message, QStringLiteral("¿Mover 2 archivo(s) a la Papelera?"));
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{d, c}));
        QVERIFY(s.env.removals.canUndo()); // every screen's removal reaches the undo
        QCOMPARE(s.names(), QStringList({"a.bin", "b.bin"}));
        QCOMPARE(s.status(), s.freed(100 * kMB) + " · 1 no se movió: " + kRefused);

        s.env.trash->refuse.clear();
        s.file("Documents/new.bin", 300 * kMB);
        QVERIFY(::rename(s.env.homePath("Documents/new.bin").c_str(), a.c_str()) == 0);
        s.select({});
        s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{d, c, b}));
        QCOMPARE(s.names(), QStringList({"a.bin"}));
        QCOMPARE(s.status(), s.freed(200 * kMB) + " · " + kChangedSinceListing);
        s.menu(s.row(0), "Mover a Papelera");
        QCOMPARE(s.status(), kChangedSinceListing);
        QVERIFY(s.env.tree.exists("home/Documents/a.bin"));
    }

    // The order and the age bounds are the engine's; the filter shows its part with its
    // total and survives a new listing.
    void theFilterShowsItsPartAndSurvivesANewListing()
    {
        DownloadsScreen s;
        s.entry("new.zip", 1000, 1);
        s.entry("ancient.dmg", 4000, 400);
        QVERIFY(s.run());
        QCOMPARE(s.status(), "2 archivos · " + fileBytesText(5000));
        s.filter(4); // + 1 año
        QCOMPARE(s.status(), "1 archivos · " + fileBytesText(4000));
        QVERIFY(s.run());
        QCOMPARE(s.names(), QStringList({"ancient.dmg"}));
        QCOMPARE(s.screen.allItems().size(), size_t(2));
    }

    // "Seleccionar Todo" ticks only the entries shown and a tick stays with its entry
    // whatever the filter shows; with some ticked, the button ticks the rest first.
    void ticksBelongToTheEntryAndSelectAllToggles()
    {
        DownloadsScreen s;
        s.entry("a", 100, 100);
        s.entry("b", 100, 95);
        s.entry("c", 100, 1);
        QVERIFY(s.run());
        s.filter(3); // + 90 días
        QTest::mouseClick(s.screen.selectAllBtn(), Qt::LeftButton);
        QCOMPARE(s.ticked(), QStringList({"a", "b"}));
        s.filter(0);
        QVERIFY(s.screen.trashButton()->isEnabled());
        s.screen.toggleRow(0, false);
        QCOMPARE(s.selectAll(), QStringLiteral("Deseleccionar Todo"));
        s.screen.toggleSelectAll(); // not every entry ticked: it ticks them all
        QCOMPARE(s.ticked(), QStringList({"a", "b", "c"}));
        s.screen.toggleSelectAll();
        QVERIFY(s.ticked().isEmpty());
        QCOMPARE(s.selectAll(), QStringLiteral("Seleccionar Todo"));
        QVERIFY(!s.screen.trashButton()->isEnabled());
    }

    void searchShowsExpandedGroupsAndMarksTheCopyThatStays()
    {
        DuplicatesScreen s;
        s.copy("Documents/only", 9000, 'x');
        s.copy("Downloads/clip.mov", 10000, 'a');
        s.copy("Documents/clip copy.mov", 10000, 'a');
        s.copy("Desktop/clip 2.mov", 10000, 'a');
        s.copy("Downloads/pair1", 5000, 'b');
        s.copy("Documents/pair2", 5000, 'b');
        s.copy("Documents/4096a", 4096, 'c');
        s.copy("Documents/4096b", 4096, 'c');
        QVERIFY(s.run());
        QCOMPARE(s.model()->rowCount(), 2);
        QCOMPARE(s.cells(0),
            QStringList({QStringLiteral("clip.mov — 3 copias"), "−" + fileBytesText(20000),
                fileBytesText(10000) + " c/u"}));
        // The first copy of each group is the one every removal leaves, and says so.
        QCOMPARE(s.cells(0, 0),
            QStringList(
                {"clip.mov", "Se conserva", QString::fromStdString(s.env.homePath("Downloads"))}));
        QCOMPARE(s.cells(0, 1)[1], QString());
        QCOMPARE(s.cells(1, 0)[1], QStringLiteral("Se conserva"));
        QVERIFY(s.allExpanded());
        QCOMPARE(s.status(), s.waste(2, 25000));
        QVERIFY(s.menu({}).isEmpty()); // a click outside every row
    }

    // One file from the menu: the next copy becomes the one that stays, and a group of
    // one is no group. One group from the menu: the summary is left alone.
    void menuRemovesOneFileOrOneGroup()
    {
        DuplicatesScreen s;
        s.copy("Downloads/first", 6000, 'a');
        s.copy("Documents/second", 6000, 'a');
        const auto third = s.copy("Desktop/third", 6000, 'a');
        s.copy("Downloads/b1", 8000, 'b');
        const auto b2 = s.copy("Documents/b2", 8000, 'b');
        s.copy("Downloads/c1", 5000, 'c');
        s.copy("Documents/c2", 5000, 'c');
        QVERIFY(s.run()); // groups sort by total bytes: a, b, c
        s.menu(s.at(0, 0), "Mover a Papelera");
        QCOMPARE(s.cells(0)[0], QStringLiteral("second — 2 copias"));
        QCOMPARE(s.status(), s.waste(3, 19000));

        s.menu(s.at(1), "Eliminar Duplicados de este Grupo (1 copias)");
        QCOMPARE(s.env.trash->moved.back(), b2);
        QCOMPARE(s.model()->rowCount(), 2);
        QCOMPARE(s.status(), s.waste(3, 19000));

        s.menu(s.at(0, 1), "Mover a Papelera");
        QCOMPARE(s.env.trash->moved.back(), third);
        QCOMPARE(s.model()->rowCount(), 1);
        QCOMPARE(s.cells(0)[0], QStringLiteral("c1 — 2 copias"));
    }

    // The copy that stays is the user's choice, from the file row's menu or its key;
    // the group row names it and every removal leaves it.
    void theChosenCopyStaysAndTheGroupNamesIt()
    {
        DuplicatesScreen s;
        const auto first = s.copy("Downloads/clip.mov", 6000, 'a');
        const auto mine = s.copy("Documents/mine.mov", 6000, 'a');
        s.copy("Desktop/clip 2.mov", 6000, 'a');
        QVERIFY(s.run());
        QVERIFY(s.menu(s.at(0, 1), QStringLiteral("Conservar esta copia"))
                    .contains(QStringLiteral("Conservar esta copia")));
        QCOMPARE(s.cells(0)[0], QStringLiteral("mine.mov — 3 copias"));
        QCOMPARE(s.at(0).data(Qt::AccessibleDescriptionRole).toString(),
            "Se conserva: " + QString::fromStdString(mine));

        QTreeView* list = s.screen.outlineView();
        s.screen.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.screen));
        list->setFocus();
        list->setCurrentIndex(s.at(0, 2));
        QTest::keyClick(list, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(s.cells(0)[0], QStringLiteral("clip 2.mov — 3 copias"));
        s.answering(0, [&] { s.screen.doClean(); });
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{mine, first}));
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(FinderScreensTest)
#include "finder_screens_test.moc"

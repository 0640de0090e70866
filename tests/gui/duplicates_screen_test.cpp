// The Duplicates screen: groups, the copy that stays, and the three kinds of removal.
#include "gui/support/ShownScreen.h"
#include "gui/tools/duplicates/DuplicatesModel.h"
#include "gui/tools/duplicates/DuplicatesViewController.h"

#include <QTreeView>

#include <fstream>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct Screen : ShownScreen<DuplicatesViewController> {
    Screen()
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

class DuplicatesScreenTest : public QObject {
    Q_OBJECT
private slots:
    void searchShowsExpandedGroupsAndMarksTheCopyThatStays()
    {
        Screen s;
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

    void removeAllAsksThenMovesEveryExtraCopyStillUnchanged()
    {
        Screen s;
        s.copy("Downloads/a1", 6000, 'a');
        const auto a2 = s.copy("Documents/a2", 6000, 'a');
        s.copy("Downloads/b1", 8000, 'b');
        const auto b2 = s.copy("Documents/b2", 8000, 'b');
        const auto b3 = s.copy("Desktop/b3", 8000, 'b');
        QVERIFY(s.run());
        s.answering(1, [&] { s.screen.doClean(); });
        QCOMPARE(s.model()->rowCount(), 2);
        // One copy is rewritten after the search: it is no longer a copy and stays.
        std::ofstream(b3, std::ios::binary | std::ios::trunc) << std::string(8000, 'z');
        const auto asked = s.answering(0, [&] { s.screen.doClean(); });
        QCOMPARE(s.model()->rowCount(), 0);
        QCOMPARE(asked.at(0).informativeText,
            "Se conservará un archivo de cada grupo y se moverán 3 copias a la Papelera. Se "
            "liberarán ~"
                + fileBytesText(6000 + 16000) + ".");
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{b2, a2}));
        QCOMPARE(s.status(), "✅ Liberado: " + fileBytesText(14000) + " · " + kChangedSinceListing);
        QVERIFY(!s.screen.cleanButton()->isEnabled());
    }

    // One file from the menu: the next copy becomes the one that stays, and a group of
    // one is no group. One group from the menu: the summary is left alone. A copy whose
    // only partner vanished may be the last one of its content and stays.
    void menuRemovesOneFileOrOneGroup()
    {
        Screen s;
        s.copy("Downloads/first", 6000, 'a');
        s.copy("Documents/second", 6000, 'a');
        const auto third = s.copy("Desktop/third", 6000, 'a');
        s.copy("Downloads/b1", 8000, 'b');
        const auto b2 = s.copy("Documents/b2", 8000, 'b');
        const auto c1 = s.copy("Downloads/c1", 5000, 'c');
        const auto c2 = s.copy("Documents/c2", 5000, 'c');
        QVERIFY(s.run()); // groups sort by total bytes: a, b, c
        s.menu(s.at(0, 0), "Mover a Papelera");
        QCOMPARE(s.cells(0)[0], QStringLiteral("second — 2 copias"));
        QCOMPARE(s.cells(0, 0)[1], QStringLiteral("Se conserva"));
        QCOMPARE(s.status(), s.waste(3, 19000));

        s.menu(s.at(1), "Eliminar Duplicados de este Grupo (1 copias)");
        QCOMPARE(s.env.trash->moved.back(), b2);
        QCOMPARE(s.model()->rowCount(), 2);
        QCOMPARE(s.status(), s.waste(3, 19000));

        QCOMPARE(::unlink(c1.c_str()), 0);
        s.screen.trashFromMenu(c2);
        s.settle();
        QCOMPARE(s.env.trash->moved.size(), size_t(2));
        QCOMPARE(s.status(), kChangedSinceListing);

        s.menu(s.at(0, 1), "Mover a Papelera");
        QCOMPARE(s.env.trash->moved.back(), third);
        QCOMPARE(s.model()->rowCount(), 1);
        QCOMPARE(s.cells(0)[0], QStringLiteral("c1 — 2 copias"));
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(DuplicatesScreenTest)
#include "duplicates_screen_test.moc"

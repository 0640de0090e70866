#include "gui/support/ScreenTestEnvironment.h"
#include "gui/support/ShownScreen.h"
#include "gui/tools/duplicates/DuplicatesModel.h"
#include "gui/tools/duplicates/DuplicatesViewController.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/text/ByteTexts.h"
#include "gui/widgets/PrimaryButton.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QTreeView>

#include <fstream>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct Screen {
    ScreenTestEnvironment env;
    DuplicatesViewController screen;
    std::unique_ptr<QAbstractItemModelTester> tester;

    Screen()
    {
        // Each copy in its own folder: the walk order between folders is fixed, the
        // listing order inside one is the file system's.
        screen.setSearchRoots(
            {env.homePath("Downloads"), env.homePath("Documents"), env.homePath("Desktop")});
        showScreen(screen);
        screen.ensureViewLoaded();
        tester = std::make_unique<QAbstractItemModelTester>(
            screen.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    std::string copy(const std::string& rel, size_t size, char fill)
    {
        return env.tree.file("home/" + rel, size, fill);
    }
    void search() { QVERIFY(scanAndWait(screen)); }
    QStringList row(int group, int file = -1) const
    {
        const auto* m = screen.model();
        const QModelIndex g = m->index(group, 0);
        const QModelIndex parent = file < 0 ? QModelIndex() : g;
        const int r = file < 0 ? group : file;
        QStringList out;
        for (int c = 0; c < DuplicatesModel::columnTotal; ++c)
            out << m->index(r, c, parent).data().toString();
        return out;
    }
    // The menu titles at a group (file < 0) or file row; triggers the entry named `pick`.
    QStringList menu(int group, int file, const QString& pick = {})
    {
        const QModelIndex g = group < 0 ? QModelIndex() : screen.model()->index(group, 0);
        QMenu menu;
        screen.menuNeedsUpdate(&menu, file < 0 ? g : screen.model()->index(file, 0, g));
        QStringList out;
        for (QAction* a : menu.actions()) {
            out << a->text();
            if (a->text() == pick)
                a->trigger();
        }
        return out;
    }
    bool allExpanded() const
    {
        for (int g = 0; g < screen.model()->rowCount(); ++g)
            if (!screen.outlineView()->isExpanded(screen.model()->index(g, 0)))
                return false;
        return true;
    }
};

} // namespace

class DuplicatesScreenTest : public QObject {
    Q_OBJECT
private slots:
    void searchShowsExpandedGroupsWithTheirTexts()
    {
        Screen s;
        s.copy("Documents/only", 9000, 'x');
        s.search();
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("✅ No se encontraron duplicados"));
        QVERIFY(!s.screen.cleanButton()->isEnabled());
        s.copy("Downloads/clip.mov", 10000, 'a');
        s.copy("Documents/clip copy.mov", 10000, 'a');
        s.copy("Desktop/clip 2.mov", 10000, 'a');
        s.copy("Downloads/pair1", 5000, 'b');
        s.copy("Documents/pair2", 5000, 'b');
        s.copy("Documents/4096a", 4096, 'c');
        s.copy("Documents/4096b", 4096, 'c');

        QTest::mouseClick(s.screen.scanButton(), Qt::LeftButton);
        QVERIFY(!s.screen.scanButton()->isEnabled());
        QVERIFY(s.screen.progress()->isAnimating());
        QSignalSpy done(&s.screen, &DuplicatesViewController::scanFinished);
        QVERIFY(done.wait(10000));
        QCOMPARE(s.screen.model()->rowCount(), 2);
        QCOMPARE(s.row(0),
            QStringList({QStringLiteral("clip.mov — 3 copias"), "−" + fileBytesText(20000),
                fileBytesText(10000) + " c/u"}));
        QCOMPARE(s.row(0, 1),
            QStringList(
                {"clip copy.mov", "", QString::fromStdString(s.env.homePath("Documents"))}));
        QVERIFY(s.allExpanded());
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("2 grupos · ") + fileBytesText(25000) + " desperdiciados");
        QVERIFY(s.screen.cleanButton()->isEnabled());
        QVERIFY(!s.screen.progress()->isVisible());
        QVERIFY(s.menu(-1, -1).isEmpty()); // a click outside every row
    }

    void removeAllAsksThenMovesEveryExtraCopyStillUnchanged()
    {
        Screen s;
        s.copy("Downloads/a1", 6000, 'a');
        const auto a2 = s.copy("Documents/a2", 6000, 'a');
        s.copy("Downloads/b1", 8000, 'b');
        const auto b2 = s.copy("Documents/b2", 8000, 'b');
        const auto b3 = s.copy("Desktop/b3", 8000, 'b');
        s.search();
        {
            AlertAnswerer cancel(1);
            s.screen.doClean();
            QTRY_COMPARE(cancel.shown.size(), size_t(1));
            QCoreApplication::processEvents();
            QCOMPARE(s.screen.model()->rowCount(), 2);
        }
        // One copy is rewritten after the search: it is no longer a copy and stays.
        std::ofstream(b3, std::ios::binary | std::ios::trunc) << std::string(8000, 'z');
        AlertAnswerer confirm(0);
        s.screen.doClean();
        QTRY_COMPARE(s.screen.model()->rowCount(), 0);
        QCOMPARE(confirm.shown[0].message, QStringLiteral("¿Eliminar 3 duplicados?"));
        QCOMPARE(confirm.shown[0].informativeText,
            QStringLiteral("Se conservará un archivo de cada grupo y se moverán 3 copias a la "
                           "Papelera. Se liberarán ~")
                + fileBytesText(6000 + 16000) + ".");
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{b2, a2}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Liberado: ") + fileBytesText(14000)
                + " · ⚠️ 1 elemento cambió desde la búsqueda y no se movió");
        QVERIFY(!s.screen.cleanButton()->isEnabled());
    }

    void nothingMovedSaysWhyWithoutTheSuccessMark()
    {
        Screen s;
        s.copy("Downloads/a1", 6000, 'a');
        const auto a2 = s.copy("Documents/a2", 6000, 'a');
        s.search();
        s.env.trash->refuse = {a2};
        AlertAnswerer confirm(0);
        s.screen.doClean();
        QTRY_COMPARE(s.screen.model()->rowCount(), 0);
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("❌ No se pudo mover a la Papelera: No se pudo mover a la Papelera."));
    }

    void removingOneGroupKeepsTheStatusAndAVanishedCopyBlocksItsPartner()
    {
        Screen s;
        s.copy("Downloads/a1", 6000, 'a');
        const auto a2 = s.copy("Documents/a2", 6000, 'a');
        const auto b1 = s.copy("Downloads/b1", 8000, 'b');
        const auto b2 = s.copy("Documents/b2", 8000, 'b');
        s.search();
        const QString status = s.screen.statusLabel()->text();
        // Groups sort by total bytes: b (16000) first, a (12000) second.
        s.menu(1, -1, "Eliminar Duplicados de este Grupo (1 copias)");
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{a2});
        QCOMPARE(s.screen.model()->rowCount(), 1);
        QVERIFY(s.allExpanded());
        QCOMPARE(s.screen.statusLabel()->text(), status);
        QVERIFY(s.screen.cleanButton()->isEnabled());
        s.screen.cleanGroupFromMenu("no such hash");
        QCOMPARE(s.screen.model()->rowCount(), 1);

        QCOMPARE(::unlink(b1.c_str()), 0);
        s.screen.trashFromMenu(b2); // the only other copy is gone: b2 may be the last one
        QCOMPARE(s.env.trash->moved.size(), size_t(1));
        QCOMPARE(s.screen.model()->rowCount(), 1);
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("⚠️ 1 elemento cambió desde la búsqueda y no se movió"));
    }

    void removingOneFileMovesTheKeptCopyOnOrDropsTheGroup()
    {
        Screen s;
        const auto first = s.copy("Downloads/first", 6000, 'a');
        s.copy("Documents/second", 6000, 'a');
        s.copy("Desktop/third", 6000, 'a');
        const auto p1 = s.copy("Downloads/p1", 5000, 'p');
        s.copy("Documents/p2", 5000, 'p');
        s.search();
        s.menu(0, 0, "Obtener Información");
        QCOMPARE(s.env.workspace->calls.back(), (FakeWorkspace::Call{"info", first}));

        s.menu(0, 0, "Mover a Papelera");
        QCOMPARE(s.row(0)[0], QStringLiteral("second — 2 copias")); // the next file stays now
        QVERIFY(s.allExpanded());
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("2 grupos · ") + fileBytesText(11000) + " desperdiciados");

        s.menu(1, 0, "Mover a Papelera");
        QCOMPARE(s.env.trash->moved.back(), p1);
        QCOMPARE(s.screen.model()->rowCount(), 1); // a group of one is no group
        s.menu(0, 1, "Mover a Papelera");
        QCOMPARE(s.screen.model()->rowCount(), 0);
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("✅ Sin duplicados"));
        QVERIFY(s.screen.cleanButton()->isEnabled()); // a file removal leaves it alone
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(DuplicatesScreenTest)
#include "duplicates_screen_test.moc"

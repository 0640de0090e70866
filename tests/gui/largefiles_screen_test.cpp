// The Large files screen on a temporary tree: search, threshold, Trash and menu.
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/support/ShownScreen.h"
#include "gui/tools/largefiles/LargeFilesModel.h"
#include "gui/tools/largefiles/LargeFilesViewController.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/text/ByteTexts.h"
#include "gui/style/Colors.h"
#include "gui/widgets/PrimaryButton.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QThreadPool>

#include <filesystem>

#include <cstdio>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

constexpr int64_t kMB = 1048576;

struct Screen {
    ScreenTestEnvironment env;
    LargeFilesViewController screen;
    std::unique_ptr<QAbstractItemModelTester> tester;

    Screen()
    {
        screen.setSearchRoots({env.homePath("Downloads"), env.homePath("Documents")});
        showScreen(screen);
        screen.ensureViewLoaded();
        tester = std::make_unique<QAbstractItemModelTester>(
            screen.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    // Sparse: big without costing disk or time.
    std::string file(const std::string& rel, int64_t size)
    {
        const auto path = env.inHome(rel, 0);
        std::filesystem::resize_file(path, static_cast<uintmax_t>(size));
        return path;
    }
    void search() { QVERIFY(scanAndWait(screen)); }
    QStringList names() const
    {
        QStringList out;
        for (const auto& item : screen.items())
            out << QString::fromStdString(item.name);
        return out;
    }
    // The row's menu titles; triggers the entry named `pick` if there is one.
    QStringList menu(int row, const QString& pick = {})
    {
        QMenu menu;
        screen.menuNeedsUpdate(&menu, row);
        QStringList out;
        for (QAction* a : menu.actions()) {
            out << a->text();
            if (a->text() == pick)
                a->trigger();
        }
        return out;
    }
};

} // namespace

class LargeFilesScreenTest : public QObject {
    Q_OBJECT
private slots:
    void searchListsLargestFirstAndTheThresholdWaitsForTheNextSearch()
    {
        Screen s;
        s.search();
        QCOMPARE(
            s.screen.statusLabel()->text(), QStringLiteral("No se encontraron archivos grandes"));
        QVERIFY(!s.screen.trashButton()->isEnabled());
        s.file("Downloads/same.iso", 50 * kMB);
        s.file("Documents/same.pdf", 50 * kMB); // equal size: the Downloads file first
        s.file("Documents/below.bin", 50 * kMB - 1);
        s.file("Documents/sub/huge.mov", 1024 * kMB);
        s.file("Documents/.hidden.mov", 1024 * kMB);

        QTest::mouseClick(s.screen.scanButton(), Qt::LeftButton);
        QVERIFY(!s.screen.scanButton()->isEnabled());
        QVERIFY(s.screen.progress()->isAnimating());
        QSignalSpy done(&s.screen, &LargeFilesViewController::scanFinished);
        QVERIFY(done.wait(10000));
        QCOMPARE(s.names(), QStringList({"huge.mov", "same.iso", "same.pdf"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("3 archivos · ") + fileBytesText(1124 * kMB) + " en total");
        QVERIFY(s.screen.trashButton()->isEnabled());
        QVERIFY(!s.screen.progress()->isVisible());
        QCOMPARE(s.screen.model()->index(0, LargeFilesModel::pathColumn).data().toString(),
            QString::fromStdString(s.env.homePath("Documents/sub")));

        s.screen.thresholdPop()->setCurrentIndex(5);  // 1 GB
        QCOMPARE(s.screen.items().size(), size_t(3)); // the list is not filtered again
        s.search();
        QCOMPARE(s.names(), QStringList({"huge.mov"}));
    }

    void trashMovesTheSelectionOrEverythingAfterAsking()
    {
        Screen s;
        const auto a = s.file("Documents/a.bin", 300 * kMB);
        const auto b = s.file("Documents/b.bin", 200 * kMB);
        const auto c = s.file("Documents/c.bin", 100 * kMB);
        s.search();
        {
            AlertAnswerer cancel(1);
            s.screen.doTrash();
            QTRY_COMPARE(cancel.shown.size(), size_t(1));
            QCOMPARE(cancel.shown[0].message, QStringLiteral("¿Mover 3 archivo(s) a la Papelera?"));
            QCoreApplication::processEvents();
            QCOMPARE(s.screen.items().size(), size_t(3));
            QVERIFY(s.env.trash->moved.empty());
        }
        // Rows 0 and 2 selected, and the Trash refuses one of them.
        for (int row : {2, 0})
            s.screen.tableView()->selectionModel()->select(s.screen.model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        s.env.trash->refuse.push_back(a);
        AlertAnswerer confirm(0);
        s.screen.doTrash();
        QTRY_COMPARE(s.env.trash->moved.size(), size_t(1));
        QCOMPARE(confirm.shown[0].message, QStringLiteral("¿Mover 2 archivo(s) a la Papelera?"));
        QCOMPARE(s.env.trash->moved[0], c);
        QCOMPARE(s.names(), QStringList({"a.bin", "b.bin"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Liberado: ") + fileBytesText(100 * kMB)
                + " · 1 no se movió: No se pudo mover a la Papelera.");

        // Nothing moved: no success mark, and the Trash's reason.
        s.env.trash->refuse.push_back(b);
        s.screen.tableView()->clearSelection();
        s.screen.doTrash();
        QTRY_COMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("❌ No se pudieron mover 2 elementos a la Papelera: No se pudo "
                           "mover a la Papelera."));
        QCOMPARE(s.names(), QStringList({"a.bin", "b.bin"}));
        QVERIFY(s.screen.trashButton()->isEnabled());

        s.env.trash->refuse.clear();
        s.screen.tableView()->clearSelection();
        s.screen.doTrash();
        QTRY_VERIFY(s.screen.items().empty());
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{c, a, b}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Liberado: ") + fileBytesText(500 * kMB));
        QVERIFY(!s.screen.trashButton()->isEnabled());
    }

    void contextMenuActsOnOneFileAndSizeColoursUseDecimalBounds()
    {
        Screen s;
        const auto a = s.file("Documents/a.bin", 300 * kMB);
        s.file("Documents/b.bin", 200 * kMB);
        s.search();
        QVERIFY(s.menu(-1).isEmpty() && s.menu(2).isEmpty());
        s.menu(0, "Mostrar en Finder");
        s.menu(0, "Obtener Información");
        QCOMPARE(
            s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"reveal", a}, {"info", a}}));

        AlertAnswerer watch(1);
        s.env.trash->refuse.push_back(a);
        s.menu(0, "Mover a Papelera"); // refused: the file stays
        QCOMPARE(s.screen.items().size(), size_t(2));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("❌ No se pudo mover a la Papelera: No se pudo mover a la Papelera."));
        s.env.trash->refuse.clear();
        s.menu(0, "Mover a Papelera");
        QCOMPARE(s.names(), QStringList({"b.bin"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Eliminado · Liberado: ") + fileBytesText(300 * kMB));
        QCoreApplication::processEvents();
        QVERIFY(watch.shown.empty()); // no confirmation for one file

        std::vector<LargeFileItem> items;
        for (int64_t size : {500000001LL, 500000000LL, 100000001LL, 100000000LL})
            items.push_back({"f", "/x/f", size, {}, "Archivo", {}});
        s.screen.model()->setItems(items);
        const QColor expected[]{systemColor(SystemColor::red), systemColor(SystemColor::orange),
            systemColor(SystemColor::orange), labelColor()};
        for (int row = 0; row < 4; ++row)
            QCOMPARE(s.screen.model()
                         ->index(row, LargeFilesModel::sizeColumn)
                         .data(Qt::ForegroundRole)
                         .value<QColor>(),
                expected[row]);
    }

    // What the path holds when the user confirms may not be the file that was listed:
    // that file is left where it is, in the list, and the status line says why.
    void fileReplacedAfterTheSearchIsKept()
    {
        Screen s;
        const auto a = s.file("Documents/a.bin", 300 * kMB);
        const auto b = s.file("Documents/b.bin", 200 * kMB);
        s.search();
        s.file("Documents/new.bin", 300 * kMB);
        QVERIFY(::rename(s.env.homePath("Documents/new.bin").c_str(), a.c_str()) == 0);
        AlertAnswerer confirm(0);
        s.screen.doTrash();
        QTRY_COMPARE(s.env.trash->moved, std::vector<std::string>{b});
        QCOMPARE(s.names(), QStringList({"a.bin"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Liberado: ") + fileBytesText(200 * kMB)
                + " · ⚠️ 1 elemento cambió desde la búsqueda y no se movió");
        s.menu(0, "Mover a Papelera");
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("⚠️ 1 elemento cambió desde la búsqueda y no se movió"));
        QCOMPARE(s.env.trash->moved.size(), size_t(1));
        QVERIFY(s.env.tree.exists("home/Documents/a.bin"));
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(LargeFilesScreenTest)
#include "largefiles_screen_test.moc"

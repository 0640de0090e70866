// The Large files screen on a temporary tree: search, threshold, Trash and menu.
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/support/ShownScreen.h"
#include "gui/tools/largefiles/LargeFilesModel.h"
#include "gui/tools/largefiles/LargeFilesViewController.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/ByteTexts.h"
#include "gui/widgets/Colors.h"
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
    // A sparse file in the test home: big without costing disk or time.
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
    QStringList menuTitles(int row)
    {
        QMenu menu;
        screen.menuNeedsUpdate(&menu, row);
        QStringList out;
        for (QAction* a : menu.actions())
            out << a->text();
        return out;
    }
    void trigger(int row, const QString& title)
    {
        QMenu menu;
        screen.menuNeedsUpdate(&menu, row);
        for (QAction* a : menu.actions())
            if (a->text() == title)
                a->trigger();
    }
};

} // namespace

class LargeFilesScreenTest : public QObject {
    Q_OBJECT
private slots:
    void searchListsLargestFirstWithStatusPerFolder()
    {
        Screen s;
        QCOMPARE(s.screen.thresholdPop()->currentIndex(), 1);
        QCOMPARE(s.screen.thresholdBytes(), 50 * kMB);
        QVERIFY(!s.screen.trashButton()->isEnabled());
        QCOMPARE(s.screen.model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
            QStringLiteral("Ubicación"));
        s.file("Downloads/same.iso", 50 * kMB);
        s.file("Documents/same.pdf", 50 * kMB); // equal size: the Downloads file first
        s.file("Documents/below.bin", 50 * kMB - 1);
        s.file("Documents/sub/huge.mov", 600 * kMB);
        s.file("Documents/.hidden.mov", 600 * kMB);

        QTest::mouseClick(s.screen.scanButton(), Qt::LeftButton);
        QVERIFY(s.screen.isSearching());
        QVERIFY(!s.screen.scanButton()->isEnabled());
        QVERIFY(s.screen.progress()->isAnimating());
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("Escaneando..."));
        QSignalSpy done(&s.screen, &LargeFilesViewController::scanFinished);
        QVERIFY(done.wait(10000));
        QCOMPARE(s.names(), QStringList({"huge.mov", "same.iso", "same.pdf"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("3 archivos · ") + fileBytesText(700 * kMB) + " en total");
        QVERIFY(s.screen.trashButton()->isEnabled());
        QVERIFY(s.screen.scanButton()->isEnabled());
        QVERIFY(!s.screen.progress()->isVisible());
        const auto folder = s.screen.model()->index(0, LargeFilesModel::pathColumn);
        QCOMPARE(folder.data().toString(), QString::fromStdString(s.env.homePath("Documents/sub")));
    }

    void thresholdAppliesToTheNextSearchOnly()
    {
        Screen s;
        s.file("Documents/a.bin", 1024 * kMB);
        s.file("Documents/b.bin", 300 * kMB);
        s.search();
        QCOMPARE(s.screen.items().size(), size_t(2));
        s.screen.thresholdPop()->setCurrentIndex(5);
        QCOMPARE(s.screen.thresholdBytes(), 1073741824);
        QCOMPARE(s.screen.items().size(), size_t(2)); // the list is not filtered again
        s.search();
        QCOMPARE(s.names(), QStringList({"a.bin"}));
    }

    void emptySearchSaysSoAndLeavesTheTrashButtonOff()
    {
        Screen s;
        s.file("Documents/small.bin", 10);
        s.search();
        QCOMPARE(
            s.screen.statusLabel()->text(), QStringLiteral("No se encontraron archivos grandes"));
        QVERIFY(!s.screen.trashButton()->isEnabled());
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
        // Rows 0 and 2 selected: only those two, and one is refused by the Trash.
        s.screen.tableView()->selectionModel()->select(
            s.screen.model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        s.screen.tableView()->selectionModel()->select(
            s.screen.model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        s.env.trash->refuse.push_back(a);
        AlertAnswerer confirm(0);
        s.screen.doTrash();
        QTRY_COMPARE(s.env.trash->moved.size(), size_t(1));
        QCOMPARE(confirm.shown[0].message, QStringLiteral("¿Mover 2 archivo(s) a la Papelera?"));
        QCOMPARE(confirm.shown[0].informativeText,
            QStringLiteral("Se liberará espacio al vaciar la Papelera."));
        QCOMPARE(confirm.shown[0].buttons, QStringList({"Mover", "Cancelar"}));
        QCOMPARE(s.env.trash->moved[0], c);
        QCOMPARE(s.names(), QStringList({"a.bin", "b.bin"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Liberado: ") + fileBytesText(100 * kMB) + " · 1 no se movió");
        QVERIFY(s.screen.trashButton()->isEnabled());

        // Nothing selected: everything left is the target.
        s.env.trash->refuse.clear();
        s.screen.tableView()->clearSelection();
        s.screen.doTrash();
        QTRY_VERIFY(s.screen.items().empty());
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{c, a, b}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Liberado: ") + fileBytesText(500 * kMB));
        QVERIFY(!s.screen.trashButton()->isEnabled());
    }

    void contextMenuRevealsInspectsAndTrashesOneFile()
    {
        Screen s;
        const auto a = s.file("Documents/a.bin", 300 * kMB);
        s.file("Documents/b.bin", 200 * kMB);
        s.search();
        QVERIFY(s.menuTitles(-1).isEmpty());
        QVERIFY(s.menuTitles(2).isEmpty());
        QCOMPARE(s.menuTitles(0),
            QStringList({"Mostrar en Finder", "Obtener Información", "", "Mover a Papelera"}));
        s.trigger(0, "Mostrar en Finder");
        s.trigger(0, "Obtener Información");
        QCOMPARE(
            s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"reveal", a}, {"info", a}}));

        AlertAnswerer watch(1);
        s.env.trash->refuse.push_back(a);
        s.trigger(0, "Mover a Papelera"); // refused: the file stays
        QCOMPARE(s.screen.items().size(), size_t(2));
        s.env.trash->refuse.clear();
        s.trigger(0, "Mover a Papelera");
        QCOMPARE(s.names(), QStringList({"b.bin"}));
        QCOMPARE(s.screen.statusLabel()->text(),
            QStringLiteral("✅ Eliminado · Liberado: ") + fileBytesText(300 * kMB));
        QCoreApplication::processEvents();
        QVERIFY(watch.shown.empty()); // no confirmation for one file
    }

    void sizeColoursAndAHundredThousandRows()
    {
        Screen s;
        std::vector<LargeFileItem> items;
        for (int64_t size : {500000001LL, 500000000LL, 100000001LL, 100000000LL})
            items.push_back({"f", "/x/f", size, {}, "Archivo"});
        s.screen.model()->setItems(items);
        auto color = [&](int row) {
            return s.screen.model()
                ->index(row, LargeFilesModel::sizeColumn)
                .data(Qt::ForegroundRole)
                .value<QColor>();
        };
        QCOMPARE(color(0), systemColor(SystemColor::red));
        QCOMPARE(color(1), systemColor(SystemColor::orange));
        QCOMPARE(color(2), systemColor(SystemColor::orange));
        QCOMPARE(color(3), labelColor());

        // Rows are drawn on demand: a list this long fills and scrolls like a short one.
        items.assign(100000, LargeFileItem{"f.bin", "/x/f.bin", 1, {}, "Archivo"});
        s.screen.model()->setItems(std::move(items));
        s.screen.tableView()->scrollToBottom();
        QCoreApplication::processEvents();
        QCOMPARE(s.screen.model()->rowCount(), 100000);
        QVERIFY(
            s.screen.tableView()->rowAt(s.screen.tableView()->viewport()->height() - 1) > 99000);
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(LargeFilesScreenTest)
#include "largefiles_screen_test.moc"

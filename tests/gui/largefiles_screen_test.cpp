// The Large files screen on a temporary tree: search, threshold, Trash and menu.
#include "gui/style/Colors.h"
#include "gui/support/ShownScreen.h"
#include "gui/text/ByteTexts.h"
#include "gui/tools/largefiles/LargeFilesModel.h"
#include "gui/tools/largefiles/LargeFilesViewController.h"
#include "gui/widgets/PrimaryButton.h"

#include <QComboBox>
#include <QTableView>
#include <QThreadPool>

#include <cstdio>
#include <filesystem>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

constexpr int64_t kMB = 1048576;

struct Screen : ShownScreen<LargeFilesViewController> {
    Screen() { screen.setSearchRoots({env.homePath("Downloads"), env.homePath("Documents")}); }
    // Sparse: big without costing disk or time.
    std::string file(const std::string& rel, int64_t size)
    {
        const auto path = env.inHome(rel, 0);
        std::filesystem::resize_file(path, static_cast<uintmax_t>(size));
        return path;
    }
    QStringList names() const { return column(LargeFilesModel::nameColumn); }
    void select(std::initializer_list<int> rows)
    {
        screen.tableView()->clearSelection();
        for (int r : rows)
            screen.tableView()->selectionModel()->select(
                row(r), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QString freed(int64_t bytes) const { return "✅ Liberado: " + fileBytesText(bytes); }
};

const QString kRefused = QStringLiteral("No se pudo mover a la Papelera.");
const QString kChanged
    = QStringLiteral("⚠️ 1 elemento cambió desde la búsqueda y no se movió");

} // namespace

class LargeFilesScreenTest : public QObject {
    Q_OBJECT
private slots:
    void searchListsLargestFirstAndTheThresholdWaitsForTheNextSearch()
    {
        Screen s;
        QVERIFY(s.screen.listHint()->isVisible()); // a hint, not an empty box, at first
        QVERIFY(s.run());
        QVERIFY(!s.screen.listHint()->isVisible());
        QCOMPARE(s.status(), QStringLiteral("No se encontraron archivos grandes"));
        QVERIFY(!s.screen.trashButton()->isEnabled());
        s.file("Downloads/same.iso", 50 * kMB);
        s.file("Documents/same.pdf", 50 * kMB); // equal size: the Downloads file first
        s.file("Documents/below.bin", 50 * kMB - 1);
        s.file("Documents/sub/huge.mov", 1024 * kMB);
        s.file("Documents/.hidden.mov", 1024 * kMB);
        QVERIFY(s.run());
        QCOMPARE(s.names(), QStringList({"huge.mov", "same.iso", "same.pdf"}));
        QCOMPARE(s.status(), "3 archivos · " + fileBytesText(1124 * kMB) + " en total");
        QVERIFY(s.screen.trashButton()->isEnabled());
        QCOMPARE(s.row(0, LargeFilesModel::pathColumn).data().toString(),
            QString::fromStdString(s.env.homePath("Documents/sub")));

        s.screen.thresholdPop()->setCurrentIndex(5);  // 1 GB
        QCOMPARE(s.screen.items().size(), size_t(3)); // the list is not filtered again
        QVERIFY(s.run());
        QCOMPARE(s.names(), QStringList({"huge.mov"}));
    }

    void trashMovesTheSelectionOrEverythingAfterAsking()
    {
        Screen s;
        const auto a = s.file("Documents/a.bin", 300 * kMB);
        const auto b = s.file("Documents/b.bin", 200 * kMB);
        const auto c = s.file("Documents/c.bin", 100 * kMB);
        QVERIFY(s.run());
        auto asked = s.answering(1, [&] { s.screen.doTrash(); });
        QCOMPARE(asked.at(0).message, QStringLiteral("¿Mover 3 archivo(s) a la Papelera?"));
        QCOMPARE(s.screen.items().size(), size_t(3));
        QVERIFY(s.env.trash->moved.empty());

        // Rows 0 and 2 selected, and the Trash refuses one of them.
        s.select({2, 0});
        s.env.trash->refuse.push_back(a);
        asked = s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(asked.at(0).message, QStringLiteral("¿Mover 2 archivo(s) a la Papelera?"));
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{c});
        QCOMPARE(s.names(), QStringList({"a.bin", "b.bin"}));
        QCOMPARE(s.status(), s.freed(100 * kMB) + " · 1 no se movió: " + kRefused);

        // Nothing moved: no success mark, and the Trash's reason.
        s.env.trash->refuse.push_back(b);
        s.select({});
        s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(s.status(), "❌ No se pudieron mover 2 elementos a la Papelera: " + kRefused);
        QVERIFY(s.screen.trashButton()->isEnabled());

        s.env.trash->refuse.clear();
        s.answering(0, [&] { s.screen.doTrash(); });
        QVERIFY(s.screen.items().empty());
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{c, a, b}));
        QCOMPARE(s.status(), s.freed(500 * kMB));
        QVERIFY(!s.screen.trashButton()->isEnabled());
    }

    void contextMenuActsOnOneFileAndSizeColoursUseDecimalBounds()
    {
        Screen s;
        const auto a = s.file("Documents/a.bin", 300 * kMB);
        s.file("Documents/b.bin", 200 * kMB);
        QVERIFY(s.run());
        QVERIFY(s.menu({}).isEmpty());
        s.menu(s.row(0), "Mostrar en Finder");
        s.menu(s.row(0), "Obtener Información");
        QCOMPARE(
            s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"reveal", a}, {"info", a}}));

        s.env.trash->refuse.push_back(a);
        auto asked = s.answering(1, [&] { s.menu(s.row(0), "Mover a Papelera"); });
        QCOMPARE(s.screen.items().size(), size_t(2)); // refused: the file stays
        QCOMPARE(s.status(), "❌ No se pudo mover a la Papelera: " + kRefused);
        s.env.trash->refuse.clear();
        asked = s.answering(1, [&] { s.menu(s.row(0), "Mover a Papelera"); });
        QVERIFY(asked.empty()); // no confirmation for one file
        QCOMPARE(s.names(), QStringList({"b.bin"}));
        QCOMPARE(s.status(), "✅ Eliminado · Liberado: " + fileBytesText(300 * kMB));

        std::vector<LargeFileItem> items;
        for (int64_t size : {500000001LL, 500000000LL, 100000001LL, 100000000LL})
            items.push_back({"f", "/x/f", size, {}, "Archivo", {}});
        s.screen.model()->setItems(items);
        const QColor expected[]{systemColor(SystemColor::red), systemColor(SystemColor::orange),
            systemColor(SystemColor::orange), labelColor()};
        for (int row = 0; row < 4; ++row)
            QCOMPARE(
                s.row(row, LargeFilesModel::sizeColumn).data(Qt::ForegroundRole).value<QColor>(),
                expected[row]);
    }

    // What the path holds when the user confirms may not be the file that was listed:
    // that file is left where it is, in the list, and the status line says why.
    void fileReplacedAfterTheSearchIsKept()
    {
        Screen s;
        const auto a = s.file("Documents/a.bin", 300 * kMB);
        const auto b = s.file("Documents/b.bin", 200 * kMB);
        QVERIFY(s.run());
        s.file("Documents/new.bin", 300 * kMB);
        QVERIFY(::rename(s.env.homePath("Documents/new.bin").c_str(), a.c_str()) == 0);
        s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{b});
        QCOMPARE(s.names(), QStringList({"a.bin"}));
        QCOMPARE(s.status(), s.freed(200 * kMB) + " · " + kChanged);
        s.menu(s.row(0), "Mover a Papelera");
        QCOMPARE(s.status(), kChanged);
        QCOMPARE(s.env.trash->moved.size(), size_t(1));
        QVERIFY(s.env.tree.exists("home/Documents/a.bin"));
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(LargeFilesScreenTest)
#include "largefiles_screen_test.moc"

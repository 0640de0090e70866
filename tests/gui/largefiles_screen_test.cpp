// The Large files screen on a temporary tree: search, threshold, Trash and menu.
#include "gui/support/ShownScreen.h"
#include "gui/tools/largefiles/LargeFilesModel.h"
#include "gui/tools/largefiles/LargeFilesViewController.h"

#include <QComboBox>

#include <cstdio>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

constexpr int64_t kMB = 1048576;

struct Screen : ShownScreen<LargeFilesViewController> {
    Screen() { screen.setSearchRoots({env.homePath("Downloads"), env.homePath("Documents")}); }
    std::string file(const std::string& rel, int64_t size)
    {
        return env.sparse("home/" + rel, size);
    }
    QStringList names() const { return column(LargeFilesModel::nameColumn); }
    QString freed(int64_t bytes) const { return "✅ Liberado: " + fileBytesText(bytes); }
};

const QString kRefused = QStringLiteral("No se pudo mover a la Papelera.");

} // namespace

class LargeFilesScreenTest : public QObject {
    Q_OBJECT
private slots:
    void searchListsLargestFirstAndTheThresholdWaitsForTheNextSearch()
    {
        Screen s;
        s.file("Downloads/same.iso", 50 * kMB);
        s.file("Documents/same.pdf", 50 * kMB); // equal size: the Downloads file first
        s.file("Documents/below.bin", 50 * kMB - 1);
        s.file("Documents/sub/huge.mov", 1024 * kMB);
        s.file("Documents/.hidden.mov", 1024 * kMB);
        QVERIFY(s.run());
        QCOMPARE(s.names(), QStringList({"huge.mov", "same.iso", "same.pdf"}));
        QCOMPARE(s.status(), "3 archivos · " + fileBytesText(1124 * kMB) + " en total");
        QCOMPARE(s.row(0, LargeFilesModel::pathColumn).data().toString(),
            QString::fromStdString(s.env.homePath("Documents/sub")));

        s.screen.thresholdPop()->setCurrentIndex(5);  // 1 GB
        QCOMPARE(s.screen.items().size(), size_t(3)); // the list is not filtered again
        QVERIFY(s.run());
        QCOMPARE(s.names(), QStringList({"huge.mov"}));
    }

    // The menu acts on one file at once, without asking; the button on the selection,
    // or everything when nothing is selected, after asking. Only what went leaves and
    // counts: a refused file stays, and so does a file replaced since the search, from
    // the button and from the menu.
    void trashMovesOnlyWhatIsStillAsListed()
    {
        Screen s;
        const auto a = s.file("Documents/a.bin", 300 * kMB);
        const auto b = s.file("Documents/b.bin", 200 * kMB);
        const auto c = s.file("Documents/c.bin", 100 * kMB);
        const auto d = s.file("Documents/d.bin", 60 * kMB);
        QVERIFY(s.run());
        QCOMPARE(s.answering(1, [&] { s.screen.doTrash(); }).at(0).message,
            QStringLiteral("¿Mover 4 archivo(s) a la Papelera?"));
        QVERIFY(s.menu({}).isEmpty());
        s.menu(s.row(3), "Mostrar en Finder");
        s.menu(s.row(3), "Obtener Información");
        QCOMPARE(
            s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"reveal", d}, {"info", d}}));
        s.env.trash->refuse = {d};
        s.menu(s.row(3), "Mover a Papelera");
        QCOMPARE(s.status(), "❌ No se pudo mover a la Papelera: " + kRefused);
        s.env.trash->refuse = {a};
        QVERIFY(s.answering(1, [&] { s.menu(s.row(3), "Mover a Papelera"); }).empty());
        QCOMPARE(s.status(), "✅ Eliminado · Liberado: " + fileBytesText(60 * kMB));

        s.select({2, 0});
        const auto asked = s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(asked.at(0).message, QStringLiteral("¿Mover 2 archivo(s) a la Papelera?"));
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{d, c}));
        QCOMPARE(s.names(), QStringList({"a.bin", "b.bin"}));
        QCOMPARE(s.status(), s.freed(100 * kMB) + " · 1 no se movió: " + kRefused);

        // Nothing moved: no success mark, and the Trash's reason.
        s.env.trash->refuse.push_back(b);
        s.select({0, 1});
        s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(s.status(), "❌ No se pudieron mover 2 elementos a la Papelera: " + kRefused);

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

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(LargeFilesScreenTest)
#include "largefiles_screen_test.moc"

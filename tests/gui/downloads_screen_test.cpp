// The Downloads screen: the age filter, ticks, the Trash and the menu.
#include "gui/support/ShownScreen.h"
#include "gui/tools/downloads/DownloadsModel.h"
#include "gui/tools/downloads/DownloadsViewController.h"

#include <QComboBox>

#include <cstdio>
#include <ctime>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

constexpr time_t kDay = 86400;

struct Screen : ShownScreen<DownloadsViewController> {
    Screen() { screen.setFolder(env.homePath("Downloads")); }
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

} // namespace

class DownloadsScreenTest : public QObject {
    Q_OBJECT
private slots:
    void loadsOldestFirstAndFiltersStrictlyByAge()
    {
        Screen s;
        s.entry("new.zip", 1000, 1);
        s.entry("month.pdf", 2000, 31);
        s.entry("almost.pdf", 3000, 29);
        s.entry("ancient.dmg", 4000, 400);
        s.entry(".hidden", 10, 500);
        QVERIFY(s.run());
        QCOMPARE(s.names(), QStringList({"ancient.dmg", "month.pdf", "almost.pdf", "new.zip"}));
        QCOMPARE(s.status(), "4 archivos · " + fileBytesText(10000));

        s.filter(1); // + 30 días
        QCOMPARE(s.names(), QStringList({"ancient.dmg", "month.pdf"}));
        QCOMPARE(s.status(), "2 archivos · " + fileBytesText(6000));
        s.filter(4);      // + 1 año
        QVERIFY(s.run()); // the filter survives a new listing
        QCOMPARE(s.names(), QStringList({"ancient.dmg"}));
        QCOMPARE(s.screen.allItems().size(), size_t(4));
    }

    // "Seleccionar Todo" ticks only the entries shown and a tick stays with its entry
    // whatever the filter shows; with some ticked, the button ticks the rest first.
    void ticksBelongToTheEntryAndSelectAllToggles()
    {
        Screen s;
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

    // Only what went leaves the list and counts. An entry the Trash refused stays
    // ticked; one replaced after the listing (a new download under the same name) is not
    // the one the user ticked and stays too, from the button and from the menu. The menu
    // acts on one entry at once, without asking.
    void trashMovesOnlyTheTickedEntriesStillAsListed()
    {
        Screen s;
        std::vector<std::string> paths;
        for (int i = 0; i < 6; ++i)
            paths.push_back(s.entry("f" + std::to_string(i), 1000 * (i + 1), 10 - i));
        QVERIFY(s.run());
        for (int row = 0; row < 5; ++row)
            s.tick(row, true);
        s.answering(1, [&] { s.screen.doTrash(); });
        QVERIFY(s.env.trash->moved.empty());
        s.env.trash->refuse = {paths[1], paths[3]};
        s.env.inHome("Downloads/.part", 1000);
        QVERIFY(::rename(s.env.homePath("Downloads/.part").c_str(), paths[0].c_str()) == 0);
        const auto asked = s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(asked.at(0).informativeText,
            "Se liberarán ~" + fileBytesText(15000) + " al vaciar la Papelera.");
        QCOMPARE(s.env.trash->moved, (std::vector<std::string>{paths[2], paths[4]}));
        QCOMPARE(s.names(), QStringList({"f0", "f1", "f3", "f5"}));
        QCOMPARE(s.ticked(), QStringList({"f0", "f1", "f3"}));
        QCOMPARE(s.status(),
            "✅ Liberado: " + fileBytesText(3000 + 5000)
                + " · 2 no se movieron: No se pudo mover a la Papelera. · " + kChangedSinceListing);
        s.menu(s.row(0), "Mover a Papelera");
        QCOMPARE(s.status(), kChangedSinceListing);
        QVERIFY(s.env.tree.exists("home/Downloads/f0"));

        QVERIFY(s.menu({}).isEmpty());
        QVERIFY(s.answering(1, [&] {
                     for (const char* entry :
                         {"Mostrar en Finder", "Abrir", "Obtener Información", "Mover a Papelera"})
                         s.menu(s.row(3), entry);
                 }).empty());
        QCOMPARE(s.env.workspace->calls,
            (std::vector<FakeWorkspace::Call>{
                {"reveal", paths[5]}, {"open", paths[5]}, {"info", paths[5]}}));
        QCOMPARE(s.env.trash->moved.back(), paths[5]);
        QCOMPARE(s.names(), QStringList({"f0", "f1", "f3"}));
        QCOMPARE(s.status(), "✅ Eliminado · Liberado: " + fileBytesText(6000));
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(DownloadsScreenTest)
#include "downloads_screen_test.moc"

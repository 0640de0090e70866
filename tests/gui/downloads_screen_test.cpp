// The Downloads screen: the age filter, ticks, the Trash and the menu.
#include "gui/style/Colors.h"
#include "gui/support/ShownScreen.h"
#include "gui/text/ByteTexts.h"
#include "gui/tools/downloads/DownloadsModel.h"
#include "gui/tools/downloads/DownloadsViewController.h"
#include "gui/widgets/PrimaryButton.h"

#include <QComboBox>
#include <QThreadPool>

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

const QString kChanged
    = QStringLiteral("⚠️ 1 elemento cambió desde la búsqueda y no se movió");

} // namespace

class DownloadsScreenTest : public QObject {
    Q_OBJECT
private slots:
    void loadsOldestFirstAndFiltersStrictlyByAge()
    {
        Screen s;
        QVERIFY(!s.screen.selectAllBtn()->isEnabled());
        QVERIFY(s.run()); // no Downloads folder at all
        QCOMPARE(s.status(), "0 archivos · " + fileBytesText(0));
        s.entry("new.zip", 1000, 1);
        s.entry("month.pdf", 2000, 31);
        s.entry("almost.pdf", 3000, 29);
        s.entry("ancient.dmg", 4000, 400);
        s.entry(".hidden", 10, 500);
        QVERIFY(s.run());
        QCOMPARE(s.names(), QStringList({"ancient.dmg", "month.pdf", "almost.pdf", "new.zip"}));
        QCOMPARE(s.status(), "4 archivos · " + fileBytesText(10000));
        QVERIFY(s.screen.selectAllBtn()->isEnabled());

        s.filter(1); // + 30 días
        QCOMPARE(s.names(), QStringList({"ancient.dmg", "month.pdf"}));
        QCOMPARE(s.status(), "2 archivos · " + fileBytesText(6000));
        s.filter(4);      // + 1 año
        QVERIFY(s.run()); // the filter survives a new listing
        QCOMPARE(s.names(), QStringList({"ancient.dmg"}));
        QCOMPARE(s.screen.allItems().size(), size_t(4));
    }

    void ticksBelongToTheEntryAndSelectAllToggles()
    {
        Screen s;
        s.entry("a", 100, 100);
        s.entry("b", 100, 95);
        s.entry("c", 100, 1);
        QVERIFY(s.run());
        s.filter(3); // + 90 días
        QTest::mouseClick(s.screen.selectAllBtn(), Qt::LeftButton);
        QCOMPARE(s.selectAll(), QStringLiteral("Deseleccionar Todo"));
        QCOMPARE(s.ticked(), QStringList({"a", "b"}));
        s.filter(0);
        QVERIFY(s.screen.trashButton()->isEnabled());

        // One ticked by hand among unticked ones: the button still reads "Deseleccionar",
        // and pressing it ticks every shown entry.
        s.tick(2, true);
        QCOMPARE(s.ticked(), QStringList({"a", "b", "c"}));
        s.screen.toggleRow(0, false);
        QCOMPARE(s.ticked(), QStringList({"b", "c"}));
        QCOMPARE(s.selectAll(), QStringLiteral("Deseleccionar Todo"));
        s.screen.toggleSelectAll();
        QCOMPARE(s.ticked(), QStringList({"a", "b", "c"}));
        s.screen.toggleSelectAll();
        s.screen.toggleRow(7, true); // not a row: nothing
        QVERIFY(s.ticked().isEmpty());
        QCOMPARE(s.selectAll(), QStringLiteral("Seleccionar Todo"));
        QVERIFY(!s.screen.trashButton()->isEnabled());

        s.filter(4); // an empty list: the action changes nothing
        QVERIFY(!s.screen.selectAllBtn()->isEnabled());
        s.screen.toggleSelectAll();
        QCOMPARE(s.selectAll(), QStringLiteral("Seleccionar Todo"));
    }

    void trashMovesTickedEntriesAndKeepsTheRefusedOnesTicked()
    {
        Screen s;
        std::vector<std::string> paths;
        for (int i = 0; i < 6; ++i)
            paths.push_back(s.entry("f" + std::to_string(i), 1000 * (i + 1), 10 - i));
        QVERIFY(s.run());
        for (int row = 0; row < 5; ++row)
            s.tick(row, true);
        s.env.trash->refuse = {paths[1], paths[3]};
        s.answering(1, [&] { s.screen.doTrash(); });
        QVERIFY(s.env.trash->moved.empty());
        const auto asked = s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(s.env.trash->moved.size(), size_t(3));
        QCOMPARE(asked.at(0).message, QStringLiteral("¿Mover 5 archivo(s) a la Papelera?"));
        QCOMPARE(asked.at(0).informativeText,
            "Se liberarán ~" + fileBytesText(15000) + " al vaciar la Papelera.");
        QCOMPARE(s.names(), QStringList({"f1", "f3", "f5"}));
        QCOMPARE(s.ticked(), QStringList({"f1", "f3"}));
        QCOMPARE(s.status(),
            "✅ Liberado: " + fileBytesText(1000 + 3000 + 5000)
                + " · 2 no se movieron: No se pudo mover a la Papelera.");
        QVERIFY(s.screen.trashButton()->isEnabled());
    }

    void contextMenuActsOnOneEntryWithoutAskingAndColours()
    {
        Screen s;
        const auto a = s.entry("a.pdf", 500, 3);
        s.entry("b.pdf", 700, 2);
        QVERIFY(s.run());
        QVERIFY(s.menu({}).isEmpty());
        const auto asked = s.answering(1, [&] {
            for (const char* entry :
                {"Mostrar en Finder", "Abrir", "Obtener Información", "Mover a Papelera"})
                s.menu(s.row(0), entry);
        });
        QVERIFY(asked.empty());
        QCOMPARE(s.env.workspace->calls,
            (std::vector<FakeWorkspace::Call>{{"reveal", a}, {"open", a}, {"info", a}}));
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{a});
        QCOMPARE(s.names(), QStringList({"b.pdf"}));
        QCOMPARE(s.screen.allItems().size(), size_t(1));
        QCOMPARE(s.status(), "✅ Eliminado · Liberado: " + fileBytesText(500));

        const auto now = std::chrono::system_clock::now();
        using std::chrono::hours;
        s.screen.model()->setItems({
            {"a", "/a", 100000000, now - hours(24 * 100), "Archivo", false, {}},
            {"b", "/b", 100000001, now, "Archivo", false, {}},
            {"c", "/c", 1, now - hours(24), "Archivo", false, {}},
        });
        // Engine colours map to the palette; no colour means the secondary text colour.
        auto color = [&](int row, int column) {
            return s.row(row, column).data(Qt::ForegroundRole).value<QColor>();
        };
        QCOMPARE(color(0, DownloadsModel::sizeColumn), secondaryLabelColor());
        QCOMPARE(color(1, DownloadsModel::sizeColumn), systemColor(SystemColor::orange));
        QCOMPARE(color(0, DownloadsModel::dateColumn), systemColor(SystemColor::yellow));
        QCOMPARE(color(2, DownloadsModel::dateColumn), secondaryLabelColor());
        // The tick column is a check box and nothing else: no text colour to dim it.
        const QModelIndex tick = s.row(0, DownloadsModel::checkColumn);
        QCOMPARE(tick.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        QVERIFY(!tick.data(Qt::ForegroundRole).isValid());
        QVERIFY(tick.flags() & Qt::ItemIsUserCheckable);
    }

    // An entry replaced after the listing (a new download under the same name) is not
    // the one the user ticked: it stays, ticked and listed, and the status says so.
    void entryReplacedAfterListingIsKept()
    {
        Screen s;
        const auto old = s.entry("old.zip", 1000, 40);
        s.entry("other.zip", 2000, 20);
        QVERIFY(s.run());
        s.tick(0, true);
        s.tick(1, true);
        s.env.inHome("Downloads/.part", 1000);
        QVERIFY(::rename(s.env.homePath("Downloads/.part").c_str(), old.c_str()) == 0);
        s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(s.env.trash->moved.size(), size_t(1));
        QCOMPARE(s.names(), QStringList({"old.zip"}));
        QCOMPARE(s.ticked(), QStringList({"old.zip"}));
        QCOMPARE(s.status(), "✅ Liberado: " + fileBytesText(2000) + " · " + kChanged);
        s.menu(s.row(0), "Mover a Papelera");
        QCOMPARE(s.status(), kChanged);
        QVERIFY(s.env.tree.exists("home/Downloads/old.zip"));

        // Refused with nothing moved: no success mark, and the Trash's reason.
        QVERIFY(s.run());
        s.env.trash->refuse = {old};
        s.tick(0, true);
        s.answering(0, [&] { s.screen.doTrash(); });
        QCOMPARE(s.status(),
            QStringLiteral("❌ No se pudo mover a la Papelera: No se pudo mover a la Papelera."));
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(DownloadsScreenTest)
#include "downloads_screen_test.moc"

// The Privacy screen: the browsers' data, the clean and what a running browser keeps.
#include "gui/support/ShownScreen.h"
#include "gui/tools/privacy/PrivacyModel.h"
#include "gui/tools/privacy/PrivacyViewController.h"

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct Screen : ShownScreen<PrivacyViewController> {
    QStringList names() const
    {
        QStringList out;
        for (const auto& item : screen.items()->items())
            out << QString::fromUtf8(displayName(item.category)) + "/"
                    + QString::fromStdString(item.name);
        return out;
    }
    std::vector<AlertRequest> clean()
    {
        QSignalSpy finished(&screen, &PrivacyViewController::cleanFinished);
        return answering(
            0, [&] { screen.doClean(); }, [&] { return finished.count() > 0; });
    }
};

} // namespace

class PrivacyScreenTest : public QObject {
    Q_OBJECT
private slots:
    // History is listed but never ticked by the scan; a running browser's rows are
    // refused and stay, and go once it is closed; an unticked row stays throughout.
    void cleanKeepsUntickedAndRefusedRows()
    {
        Screen s;
        s.env.tree.file("home/Library/Caches/com.apple.Safari/Cache.db", 3000);
        s.env.tree.file(
            "home/Library/Application Support/Google/Chrome/Default/Cache/data_1", 5000);
        s.env.tree.file("home/Library/Caches/Firefox/Profiles/abc.default/cache2/entries/1", 700);
        s.env.tree.file("home/Library/Safari/History.db", 4000);
        s.env.tree.file("home/Library/Safari/History.db-wal", 100);
        s.env.running->set({"com.apple.Safari"});
        QVERIFY(s.run());
        QCOMPARE(s.names(),
            (QStringList{"Safari/com.apple.Safari", "Google Chrome/Cache",
                "Mozilla Firefox/Caché (abc.default)", "Safari/Historial · History.db",
                "Safari/Historial · History.db-wal"}));
        QVERIFY(!s.screen.items()->items()[3].isSelected);
        QCOMPARE(s.answering(1, [&] { s.screen.doClean(); }).size(), 1u);
        QCOMPARE(s.screen.items()->rowCount(), 5);

        s.tick(3, true);
        s.tick(4, true);
        s.tick(2, false);
        auto asked = s.clean();
        QCOMPARE(asked.size(), 2u);
        QCOMPARE(asked[1].informativeText, "Cierra Safari y vuelve a intentarlo.");
        QCOMPARE(s.names(),
            (QStringList{"Safari/com.apple.Safari", "Mozilla Firefox/Caché (abc.default)",
                "Safari/Historial · History.db", "Safari/Historial · History.db-wal"}));
        QVERIFY(!s.env.tree.exists("home/Library/Application Support/Google/Chrome/Default/Cache"));
        QVERIFY(s.env.tree.exists("home/Library/Safari/History.db"));
        QCOMPARE(s.status(), "✅ Liberado: 5 KB");

        s.env.running->set({});
        QCOMPARE(s.clean().size(), 1u);
        QCOMPARE(s.names(), QStringList{"Mozilla Firefox/Caché (abc.default)"});
        QCOMPARE(s.status(), "✅ Liberado: 7 KB");
    }
};

QTEST_MAIN(PrivacyScreenTest)
#include "privacy_screen_test.moc"

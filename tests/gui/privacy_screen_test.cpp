#include "gui/tools/privacy/PrivacyModel.h"
#include "gui/tools/privacy/PrivacyViewController.h"
#include "gui/widgets/PrimaryButton.h"

#include "gui/support/ScreenTestEnvironment.h"
#include "gui/support/ShownScreen.h"
#include "gui/widgets/Alert.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QtTest>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

QStringList names(const PrivacyModel& model)
{
    QStringList out;
    for (const auto& item : model.items())
        out << QString::fromUtf8(displayName(item.category)) + "/"
                + QString::fromStdString(item.name);
    return out;
}

void tick(PrivacyModel& model, int row, bool on)
{
    model.setData(model.index(row, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

void browserData(const TestTree& tree)
{
    tree.file("home/Library/Caches/com.apple.Safari/Cache.db", 3000);
    tree.file("home/Library/Application Support/Google/Chrome/Default/Cache/data_1", 5000);
    tree.file("home/Library/Caches/Firefox/Profiles/abc.default/cache2/entries/1", 700);
    tree.file("home/Library/Safari/History.db", 4000);
}

bool ready(PrivacyViewController& screen)
{
    return showScreen(screen) && scanAndWait(screen);
}

bool cleanAndWait(PrivacyViewController& screen)
{
    QSignalSpy finished(&screen, &PrivacyViewController::cleanFinished);
    screen.doClean();
    return finished.wait(5000);
}

} // namespace

class PrivacyScreenTest : public QObject {
    Q_OBJECT
private slots:
    void scanListsBrowsersAndCancelChangesNothing();
    void cleanKeepsUntickedAndRefusedRows();
    void refusedRowsStayWithTheirReason();
};

void PrivacyScreenTest::scanListsBrowsersAndCancelChangesNothing()
{
    ScreenTestEnvironment f;
    PrivacyViewController screen;
    QVERIFY(showScreen(screen));
    QAbstractItemModelTester tester(screen.items());
    QVERIFY(scanAndWait(screen));
    QCOMPARE(screen.totalLabel()->text(), "No se encontraron datos de privacidad");
    QVERIFY(!screen.cleanButton()->isEnabled());

    browserData(f.tree);
    QVERIFY(scanAndWait(screen));
    QCOMPARE(names(*screen.items()),
        (QStringList{"Safari/com.apple.Safari", "Google Chrome/Cache",
            "Mozilla Firefox/Caché (abc.default)", "Safari/Historial · History.db"}));
    QVERIFY(!screen.items()->items()[3].isSelected);
    QCOMPARE(screen.totalLabel()->text(), "Total: 13 KB");
    QVERIFY(screen.cleanButton()->isEnabled());

    AlertAnswerer answers(1);
    screen.doClean();
    QTRY_COMPARE(answers.shown.size(), 1u);
    QCoreApplication::processEvents(); // the answer arrives; nothing may follow it
    QCOMPARE(screen.items()->rowCount(), 4);
    QCOMPARE(screen.totalLabel()->text(), "Total: 13 KB");
    QVERIFY(f.tree.exists("home/Library/Caches/com.apple.Safari/Cache.db"));
    for (int row = 0; row < 4; ++row)
        tick(*screen.items(), row, false);
    screen.doClean(); // nothing ticked: not even a question
    QCOMPARE(answers.shown.size(), 1u);
}

void PrivacyScreenTest::cleanKeepsUntickedAndRefusedRows()
{
    ScreenTestEnvironment f;
    browserData(f.tree);
    f.tree.file("home/Library/Safari/History.db-wal", 100);
    f.running->set({"com.apple.Safari"});
    PrivacyViewController screen;
    QVERIFY(ready(screen));
    // Both history rows ticked: with Safari running, each is refused with the same text.
    tick(*screen.items(), 3, true);
    tick(*screen.items(), 4, true);
    tick(*screen.items(), 2, false);

    AlertAnswerer answers(0);
    QVERIFY(cleanAndWait(screen));
    QCOMPARE(answers.shown.size(), 2u);
    QCOMPARE(answers.shown[1].informativeText, "Cierra Safari y vuelve a intentarlo.");
    QCOMPARE(names(*screen.items()),
        (QStringList{"Safari/com.apple.Safari", "Mozilla Firefox/Caché (abc.default)",
            "Safari/Historial · History.db", "Safari/Historial · History.db-wal"}));
    QVERIFY(!f.tree.exists("home/Library/Application Support/Google/Chrome/Default/Cache"));
    QVERIFY(f.tree.exists("home/Library/Safari/History.db"));
    QVERIFY(f.tree.exists("home/Library/Caches/Firefox/Profiles/abc.default/cache2/entries/1"));
    QCOMPARE(screen.totalLabel()->text(), "✅ Liberado: 5 KB");

    // Once Safari is closed everything ticked goes; the unticked Firefox row stays.
    f.running->set({});
    QVERIFY(cleanAndWait(screen));
    QCOMPARE(answers.shown.size(), 3u);
    QCOMPARE(names(*screen.items()), QStringList{"Mozilla Firefox/Caché (abc.default)"});
    QCOMPARE(screen.totalLabel()->text(), "✅ Liberado: 7 KB");
    QVERIFY(screen.cleanButton()->isEnabled());
}

void PrivacyScreenTest::refusedRowsStayWithTheirReason()
{
    ScreenTestEnvironment f;
    const std::string cache = "home/Library/Application Support/Microsoft Edge/Default/Cache";
    f.tree.file(cache + "/Cache_Data/f_0001", 2000);
    f.tree.protect(cache + "/Cache_Data");
    PrivacyViewController screen;
    QVERIFY(ready(screen));

    AlertAnswerer answers(0);
    QVERIFY(cleanAndWait(screen));
    // A password could not help in the user's own folders: the row stays, with the
    // reason the removal was refused.
    QCOMPARE(answers.shown.size(), 2u);
    QCOMPARE(answers.shown[1].informativeText,
        "No se ha podido eliminar “Cache” porque no tienes permiso para acceder a ello.");
    QCOMPARE(names(*screen.items()), QStringList{"Microsoft Edge/Cache"});
    QVERIFY(f.tree.exists(cache + "/Cache_Data/f_0001"));
}

QTEST_MAIN(PrivacyScreenTest)
#include "privacy_screen_test.moc"

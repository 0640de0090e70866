// Smart Scan end to end on a temporary home: scan, cards, confirmation and clean.
#include "gui/support/ShownScreen.h"
#include "gui/tools/smartscan/SmartScanViewController.h"
#include "gui/widgets/ResultCardView.h"

#include <QLayout>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

// The texts of the labels in the results area, top to bottom.
QStringList messages(const SmartScanViewController& screen)
{
    QStringList texts;
    QLayout* layout = screen.contentStack()->layout();
    for (int i = 0; i < layout->count(); ++i)
        if (auto* label = qobject_cast<QLabel*>(layout->itemAt(i)->widget()))
            texts << label->text();
    return texts;
}

QStringList cardLines(const SmartScanViewController& screen)
{
    QStringList lines;
    for (const ResultCardView* card : screen.resultCards())
        lines << card->titleLabel()->text() + " | " + card->countLabel()->text() + " | "
                + card->sizeLabel()->text();
    return lines;
}

QString confirmation(int count)
{
    return QStringLiteral("Se eliminarán %1 elementos. Esta acción no se puede deshacer.")
        .arg(count);
}

struct Screen : ShownScreen<SmartScanViewController> {
    // Confirms the clean and waits for it; returns the confirmation's text.
    QString clean()
    {
        const auto asked = answering(0, [&] { screen.cleanAll(); });
        return asked.empty() ? QString() : asked[0].informativeText;
    }
};

} // namespace

class SmartScanTest : public QObject {
    Q_OBJECT
private slots:
    void scanShowsCardsInNameOrderThenCleansWhatItMay()
    {
        Screen s;
        auto& env = s.env;
        QVERIFY(s.run());
        QCOMPARE(messages(s.screen), QStringList({"✅ Tu Mac está limpio"}));
        QVERIFY(s.screen.cleanButton() == nullptr);

        env.inHome("Library/Caches/com.example.big/blob", 700000);
        env.inHome("Library/Caches/com.example.small/blob", 1000); // under the threshold
        env.inHome("Library/Logs/a.log", 3000);
        env.inHome("Library/Logs/b.log", 2000);
        env.inHome(".Trash/huge.iso", 5000000); // the largest item, yet its card is not first
        env.inSystem("Library/Caches/com.vendor.agent/data", 800000);
        env.tree.protect("system/Library/Caches/com.vendor.agent");

        QVERIFY(s.run());
        const int64_t total = 700000 + 3000 + 2000 + 5000000 + 800000;
        QCOMPARE(cardLines(s.screen),
            QStringList({"Caché de Usuario | 1 elemento | " + junkBytesText(700000),
                "Caché del Sistema | 1 elemento | " + junkBytesText(800000),
                "Papelera | 1 elemento | " + junkBytesText(5000000),
                "Registros de Usuario | 2 elementos | " + junkBytesText(5000)}));
        QCOMPARE(s.screen.cleanButton()->text(), "Limpiar Todo (" + junkBytesText(total) + ")");

        const auto asked
            = s.answering(1, [&] { QTest::mouseClick(s.screen.cleanButton(), Qt::LeftButton); });
        QCOMPARE(asked.at(0).informativeText, confirmation(5));
        QCOMPARE(s.screen.allItems().size(), size_t(5));
        QVERIFY(env.tree.exists("home/.Trash/huge.iso"));

        QCOMPARE(s.clean(), confirmation(5));
        QCOMPARE(messages(s.screen),
            QStringList({"✅ Se liberaron " + junkBytesText(700000 + 5000 + 5000000),
                "1 elemento(s) no se eliminaron (navegador abierto, permisos de administrador "
                "o error). Puedes revisarlos en Basura del Sistema o Privacidad."}));
        QVERIFY(s.screen.resultCards().empty() && s.screen.cleanButton() == nullptr);
        for (const char* gone : {"home/Library/Caches/com.example.big", "home/.Trash/huge.iso",
                 "home/Library/Logs/a.log"})
            QVERIFY2(!env.tree.exists(gone), gone);
        // Set aside for an administrator, never escalated here.
        QVERIFY(env.tree.exists("system/Library/Caches/com.vendor.agent/data"));
        QVERIFY(env.runner->requests.empty());
    }

    // A browser's cache is also a user cache entry. While the browser runs, each is
    // refused whatever its category; once it is closed the inner item goes with its
    // folder, counted once and not reported as left behind.
    void browserCachesInsideTheUserCacheAreRefusedThenGoOnce()
    {
        Screen s;
        auto& env = s.env;
        env.inHome("Library/Caches/Firefox/Profiles/ab.default/cache2/entries/1", 600000);
        env.inHome("Library/Caches/Firefox/Profiles/ab.default/startupCache/x", 100000);
        env.inHome("Library/Caches/com.apple.Safari/Cache.db", 600000);
        env.inHome("Library/Caches/com.example.app/blob", 700000);
        env.running->set({"org.mozilla.firefox", "com.apple.Safari"});
        QVERIFY(s.run());
        QCOMPARE(s.screen.allItems().size(), size_t(5));
        QCOMPARE(s.clean(), confirmation(5));
        QCOMPARE(messages(s.screen),
            QStringList({"✅ Se liberaron " + junkBytesText(700000),
                "4 elemento(s) no se eliminaron (navegador abierto, permisos de administrador "
                "o error). Puedes revisarlos en Basura del Sistema o Privacidad."}));
        QVERIFY(
            env.tree.exists("home/Library/Caches/Firefox/Profiles/ab.default/cache2/entries/1"));
        QVERIFY(env.tree.exists("home/Library/Caches/com.apple.Safari/Cache.db"));

        env.running->set({});
        QVERIFY(s.run());
        QCOMPARE(s.screen.cleanButton()->text(), "Limpiar Todo (" + junkBytesText(1300000) + ")");
        s.clean();
        QCOMPARE(messages(s.screen), QStringList({"✅ Se liberaron " + junkBytesText(1300000)}));
        QVERIFY(!env.tree.exists("home/Library/Caches/Firefox"));
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(SmartScanTest)
#include "smartscan_test.moc"

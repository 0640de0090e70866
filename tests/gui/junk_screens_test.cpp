// Smart Scan and System Junk on a temporary home: scan, confirmation, the two-stage clean
// and what stays.
#include "gui/support/ShownScreen.h"
#include "gui/tools/smartscan/SmartScanViewController.h"
#include "gui/tools/systemjunk/SystemJunkModel.h"
#include "gui/tools/systemjunk/SystemJunkViewController.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/ResultCardView.h"

#include <QLayout>

#include <cerrno>
#include <cstdio>
#include <future>

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

struct SmartScreen : ShownScreen<SmartScanViewController> {
    // Confirms the clean and waits for it; returns the confirmation's text.
    QString clean()
    {
        const auto asked = answering(0, [&] { screen.cleanAll(); });
        return asked.empty() ? QString() : asked[0].informativeText;
    }
};

struct JunkScreen : ShownScreen<SystemJunkViewController> {
    using ShownScreen::ShownScreen;
    QStringList names() const
    {
        QStringList out;
        for (const auto& item : screen.items()->items())
            out << QString::fromStdString(item.name);
        return out;
    }
    void untick(const QString& name) { tick(static_cast<int>(names().indexOf(name)), false); }
    // Confirms the clean and waits until its outcome is on the status line: the
    // administrator stage ends on another thread.
    std::vector<AlertRequest> clean()
    {
        QSignalSpy finished(&screen, &SystemJunkViewController::cleanFinished);
        return answering(
            0, [&] { screen.doClean(); }, [&] { return finished.count() > 0; });
    }
    bool cleanOn() const { return screen.cleanButton()->isEnabled(); }
    // Items under the machine's caches that only an administrator may remove.
    void adminItem(const std::string& name, size_t bytes)
    {
        env.tree.file("system/Library/Caches/" + name + "/x", bytes);
        env.tree.protect("system/Library/Caches/" + name);
    }
};

// Holds the privileged run until the test lets it go, as a password dialog would.
class WaitingRunner final : public platform::PrivilegedRunner {
public:
    platform::PrivilegedRunResult run(const platform::PrivilegedDeletion& request) override
    {
        released.get_future().wait();
        return {std::nullopt,
            std::vector<platform::PrivilegedPathResult>(
                request.paths.size(), {platform::PrivilegedStatus::removed, 0})};
    }
    std::promise<void> released;
};

} // namespace

class JunkScreensTest : public QObject {
    Q_OBJECT
private slots:
    void scanShowsCardsInNameOrderThenCleansWhatItMay()
    {
        SmartScreen s;
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
        // Emptying the Trash is for good, and the confirmation says so, with every path
        // and size under its details.
        const QString withTrash = confirmation(5)
            + "\n🗑️ La Papelera se vaciará definitivamente (" + junkBytesText(5000000)
            + "), también lo que acabes de mover a ella.";
        QCOMPARE(asked.at(0).informativeText, withTrash);
        QVERIFY(asked.at(0).deletesPermanently);
        QVERIFY(asked.at(0).detailedText.contains(
            QString::fromStdString(env.tree.path("home/.Trash/huge.iso")) + " — "
            + junkBytesText(5000000)));
        QCOMPARE(asked.at(0).detailedText.count('\n'), 4);
        QCOMPARE(s.screen.allItems().size(), size_t(5));
        QVERIFY(env.tree.exists("home/.Trash/huge.iso"));

        QCOMPARE(s.clean(), withTrash);
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

    // A cancelled clean changes nothing; the direct stage then drops the rows it
    // deleted and the unticked ones (which stay on disk), and keeps and names each
    // failure. No password is asked for outside the administrator's folders: it could
    // only end in a refusal of the path.
    void cleanDropsUntickedRowsAndReportsFailures()
    {
        JunkScreen s;
        s.env.tree.file("home/Library/Caches/a/x", 900'000);
        s.env.tree.file("home/Library/Caches/kept/x", 800'000);
        s.env.tree.file("home/Library/Logs/vanishing.log", 10);
        s.env.tree.file("home/Library/Caches/stuck/inner/x", 600'000);
        s.env.tree.protect("home/Library/Caches/stuck/inner");
        QVERIFY(s.run());
        QCOMPARE(s.status(), "Total: 2,3 MB");
        s.untick("kept");
        const auto cancelled = s.answering(1, [&] { s.screen.doClean(); });
        QCOMPARE(cancelled.size(), 1u);
        QVERIFY(cancelled[0].deletesPermanently); // Enter answers "Cancelar"
        QCOMPARE(s.names().size(), 4);
        QVERIFY(s.env.tree.exists("home/Library/Caches/a/x"));

        std::filesystem::remove(s.env.tree.path("home/Library/Logs/vanishing.log"));
        const auto asked = s.clean();
        QCOMPARE(asked.size(), 2u);
        const QString vanished
            = QString::fromStdString(s.env.tree.path("home/Library/Logs/vanishing.log"));
        QVERIFY(asked[1].informativeText.contains("⚠️ " + vanished + ":\n"));
        QVERIFY(asked[1].informativeText.contains(
            "“stuck” porque no tienes permiso para acceder a ello."));
        QVERIFY(s.env.runner->requests.empty());
        QCOMPARE(s.names(), (QStringList{"stuck", "vanishing.log"}));
        QVERIFY(!s.env.tree.exists("home/Library/Caches/a"));
        QVERIFY(s.env.tree.exists("home/Library/Caches/kept/x"));
        QCOMPARE(s.status(), "✅ Liberado: 900 KB");
        QVERIFY(s.cleanOn());

        s.untick("stuck");
        s.untick("vanishing.log"); // nothing ticked: not even a question
        QVERIFY(s.answering(0, [&] { s.screen.doClean(); }).empty());
    }

    // The password stage, three times on one list: "Omitir" asks for nothing and keeps
    // the rows; a refused password keeps them and says why; a run that removed one, found
    // one gone and failed on one drops the first two, counting both, and names the third.
    void administratorStageDropsOnlyTheRowsThatAreGone()
    {
        JunkScreen s;
        s.env.tree.file("home/Library/Caches/mine/x", 600'000);
        s.adminItem("removed", 1'000'000);
        s.adminItem("vanished", 2'000'000);
        s.adminItem("busy", 4'000'000);
        QVERIFY(s.run());
        const auto& listed = s.screen.items()->items();
        QVERIFY(listed[0].requiresAdmin);
        const int64_t goneBytes = listed[1].size + listed[2].size; // vanished and removed
        const auto cleanAnswering = [&](int prompt) {
            AlertAnswerer answers(0);
            QSignalSpy finished(&s.screen, &SystemJunkViewController::cleanFinished);
            s.screen.doClean();
            answers.answer = prompt; // "Eliminar" was given; this answers the password prompt
            [&] { QVERIFY(finished.wait(5000)); }();
            return answers.shown;
        };
        QCOMPARE(cleanAnswering(1).size(), 2u);
        QVERIFY(s.env.runner->requests.empty());
        QCOMPARE(s.names(), (QStringList{"busy", "vanished", "removed"}));
        QCOMPARE(s.status(), "✅ Liberado: 600 KB");

        s.env.runner->answer = "El usuario canceló.";
        auto asked = cleanAnswering(0);
        QCOMPARE(asked.size(), 3u);
        QVERIFY(asked.back().informativeText.startsWith("El usuario canceló."));
        QCOMPARE(s.names().size(), 3);

        s.env.runner->answer.reset();
        using platform::PrivilegedStatus;
        const std::string caches = s.env.systemRoot() + "/Library/Caches/";
        s.env.runner->outcomes[caches + "vanished"] = {PrivilegedStatus::missing, 0};
        s.env.runner->outcomes[caches + "busy"] = {PrivilegedStatus::failed, EBUSY};
        asked = cleanAnswering(0);
        QCOMPARE(s.env.runner->requests.at(1).paths.size(), 3u);
        QCOMPARE(asked.size(), 3u);
        QCOMPARE(asked[2].informativeText, "No se ha podido eliminar “busy” porque está en uso.");
        QCOMPARE(s.names(), QStringList{"busy"});
        QCOMPARE(s.status(), "✅ Liberado: " + junkBytesText(goneBytes));
        QVERIFY(s.cleanOn());
    }

    // Reveal and move one row, at once: a refusal is silent and leaves the row.
    void contextMenuActsOnTheClickedRowOnly()
    {
        JunkScreen s;
        s.env.tree.file("home/Library/Caches/first/x", 900'000);
        s.env.tree.file("home/Library/Caches/second/x", 800'000);
        s.env.tree.file("home/Library/Logs/odd\xff\nname.log", 40);
        QVERIFY(s.run());
        const std::string odd = s.env.tree.path("home/Library/Logs/odd\xff\nname.log");
        s.menu(s.row(2), "Mostrar en Finder");
        QCOMPARE(s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"reveal", odd}}));

        s.env.trash->refuse.push_back(odd);
        s.menu(s.row(2), "Mover a Papelera");
        QCOMPARE(s.screen.items()->rowCount(), 3);
        QCOMPARE(s.status(), QStringLiteral("Total: 1,7 MB"));
        s.env.trash->refuse.clear();
        s.menu(s.row(2), "Mover a Papelera");
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{odd});
        QCOMPARE(s.names(), (QStringList{"first", "second"}));
        QCOMPARE(s.status(), "✅ Liberado: 1 KB");
    }

    // A new scan during the password stage lists the item again but must not offer a
    // second clean of it, and the spinner turns until both are over.
    void scanDuringPasswordStageKeepsCleanOff()
    {
        JunkScreen s;
        // The waiting run holds one worker; the scan needs another even on one core.
        QThreadPool* pool = QThreadPool::globalInstance();
        const int savedThreads = pool->maxThreadCount();
        pool->setMaxThreadCount(std::max(savedThreads, 4));
        auto runner = std::make_shared<WaitingRunner>();
        s.env.context.backends.privileged = runner;
        s.adminItem("locked", 700'000);
        s.env.tree.file("home/Library/Caches/mine/x", 800'000);
        QVERIFY(s.run());

        AlertAnswerer answers(0);
        s.screen.doClean();
        QTRY_VERIFY(!s.cleanOn()); // the password stage has started
        QVERIFY(s.run());
        QCOMPARE(s.names(), QStringList{"locked"});
        QVERIFY(!s.cleanOn());
        QVERIFY(s.screen.progress()->isAnimating());

        QSignalSpy finished(&s.screen, &SystemJunkViewController::cleanFinished);
        runner->released.set_value();
        QVERIFY(finished.wait(5000));
        QCOMPARE(s.screen.items()->rowCount(), 0);
        QVERIFY(!s.screen.progress()->isAnimating());
        QCOMPARE(s.status(), "✅ Liberado: 1,5 MB");
        pool->setMaxThreadCount(savedThreads);
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(JunkScreensTest)
#include "junk_screens_test.moc"

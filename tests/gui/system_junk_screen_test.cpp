#include "gui/tools/systemjunk/SystemJunkModel.h"
#include "gui/tools/systemjunk/SystemJunkViewController.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/text/ByteTexts.h"
#include "gui/widgets/PrimaryButton.h"

#include "gui/support/ScreenTestEnvironment.h"
#include "gui/support/ShownScreen.h"
#include "gui/widgets/Alert.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QMenu>
#include <QThreadPool>
#include <QtTest>

#include <cerrno>
#include <future>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

QStringList names(const SystemJunkModel& model)
{
    QStringList out;
    for (const auto& item : model.items())
        out << QString::fromStdString(item.name);
    return out;
}

void untick(SystemJunkModel& model, const std::string& name)
{
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.items()[static_cast<size_t>(row)].name == name)
            model.setData(model.index(row, 0), Qt::Unchecked, Qt::CheckStateRole);
}

bool ready(SystemJunkViewController& screen)
{
    return showScreen(screen) && scanAndWait(screen);
}

bool cleanAndWait(SystemJunkViewController& screen)
{
    QSignalSpy finished(&screen, &SystemJunkViewController::cleanFinished);
    screen.doClean();
    return finished.wait(5000);
}

} // namespace

class SystemJunkScreenTest : public QObject {
    Q_OBJECT
private slots:
    void scanListsRowsAndCancelChangesNothing();
    void cleanDropsUntickedRowsAndReportsFailures();
    void sevenAdministratorItems_data();
    void sevenAdministratorItems();
    void administratorStageDropsOnlyTheRowsThatAreGone();
    void refusedPlainDeleteOutsideTheAdminFoldersIsAFailure();
    void contextMenuActsOnTheClickedRowOnly();
    void scanDuringPasswordStageKeepsCleanOff();
};

void SystemJunkScreenTest::scanListsRowsAndCancelChangesNothing()
{
    ScreenTestEnvironment f;
    SystemJunkViewController screen;
    QVERIFY(showScreen(screen));
    QAbstractItemModelTester tester(screen.items());
    QVERIFY(scanAndWait(screen));
    QCOMPARE(screen.totalLabel()->text(), "Total: Cero KB");
    QVERIFY(!screen.cleanButton()->isEnabled());

    f.tree.file("home/Library/Caches/com.big/data", 3'000'000);
    f.tree.file("home/.Trash/old.zip", 1'000'000);
    f.tree.file("system/Library/Logs/locked/system.log", 2'000'000);
    f.tree.protect("system/Library/Logs/locked");
    QVERIFY(scanAndWait(screen));
    QCOMPARE(names(*screen.items()), (QStringList{"com.big", "locked", "old.zip"}));
    QVERIFY(screen.items()->items()[1].requiresAdmin);
    QCOMPARE(screen.totalLabel()->text(), "Total: 6 MB");
    QVERIFY(screen.cleanButton()->isEnabled());

    untick(*screen.items(), "old.zip");
    AlertAnswerer answers(1);
    screen.doClean();
    QTRY_COMPARE(answers.shown.size(), 1u);
    QCoreApplication::processEvents(); // the answer arrives; nothing may follow it
    QCOMPARE(answers.shown.size(), 1u);
    QCOMPARE(names(*screen.items()), (QStringList{"com.big", "locked", "old.zip"}));
    QVERIFY(!screen.items()->items()[2].isSelected);
    QCOMPARE(screen.totalLabel()->text(), "Total: 6 MB");
    QVERIFY(f.tree.exists("home/Library/Caches/com.big/data"));

    untick(*screen.items(), "com.big");
    untick(*screen.items(), "locked");
    screen.doClean(); // nothing ticked: not even a question
    QCOMPARE(answers.shown.size(), 1u);
}

void SystemJunkScreenTest::cleanDropsUntickedRowsAndReportsFailures()
{
    ScreenTestEnvironment f;
    f.tree.file("home/Library/Caches/a/x", 900'000);
    f.tree.file("home/Library/Caches/kept/x", 800'000);
    f.tree.file("home/Library/Logs/vanishing.log", 10);
    SystemJunkViewController screen;
    QVERIFY(ready(screen));
    untick(*screen.items(), "kept");
    std::filesystem::remove(f.tree.path("home/Library/Logs/vanishing.log"));

    AlertAnswerer answers(0);
    QVERIFY(cleanAndWait(screen));
    QCOMPARE(answers.shown.size(), 2u);
    QCOMPARE(answers.shown[1].message, "Algunos archivos no se pudieron eliminar");
    const QString vanished = QString::fromStdString(f.tree.path("home/Library/Logs/vanishing.log"));
    QVERIFY(answers.shown[1].informativeText.startsWith("⚠️ " + vanished + ":\n"));
    // The failure stays; the deleted and the unticked rows leave the list, and the
    // unticked one stays on disk.
    QCOMPARE(names(*screen.items()), QStringList{"vanishing.log"});
    QVERIFY(!f.tree.exists("home/Library/Caches/a"));
    QVERIFY(f.tree.exists("home/Library/Caches/kept/x"));
    QCOMPARE(screen.totalLabel()->text(), "✅ Liberado: 900 KB");
    QVERIFY(screen.cleanButton()->isEnabled());
}

void SystemJunkScreenTest::sevenAdministratorItems_data()
{
    QTest::addColumn<int>("promptAnswer");
    QTest::addColumn<QString>("runnerAnswer");
    QTest::addColumn<int>("rowsLeft");
    QTest::addColumn<QString>("status");
    // Both stages count: 600 000 directly, seven items of about 600 000 with the password.
    QTest::newRow("deleted") << 0 << QString() << 0 << QString("✅ Liberado: 4,8 MB");
    QTest::newRow("Omitir") << 1 << QString() << 7 << QString("✅ Liberado: 600 KB");
    QTest::newRow("password refused")
        << 0 << QString("El usuario canceló.") << 7 << QString("✅ Liberado: 600 KB");
}

void SystemJunkScreenTest::sevenAdministratorItems()
{
    QFETCH(int, promptAnswer);
    QFETCH(QString, runnerAnswer);
    QFETCH(int, rowsLeft);
    QFETCH(QString, status);
    ScreenTestEnvironment f;
    if (!runnerAnswer.isEmpty())
        f.runner->answer = runnerAnswer.toStdString();
    f.tree.file("home/Library/Caches/mine/x", 600'000);
    for (int i = 1; i <= 7; ++i) {
        const std::string rel = "system/Library/Caches/sys" + std::to_string(i);
        f.tree.file(rel + "/x", 600'000 + static_cast<size_t>(i));
        f.tree.protect(rel);
    }
    SystemJunkViewController screen;
    QVERIFY(ready(screen));

    AlertAnswerer answers(0);
    QSignalSpy finished(&screen, &SystemJunkViewController::cleanFinished);
    screen.doClean();
    answers.answer = promptAnswer; // "Eliminar" was given; this answers the password prompt
    QVERIFY(finished.wait(5000));
    QCOMPARE(answers.shown.size(), runnerAnswer.isEmpty() ? 2u : 3u);
    const QString prompt = answers.shown[1].informativeText;
    QCOMPARE(prompt.count("\n• "), 5);
    QVERIFY(prompt.endsWith("\n  …y 2 más"));
    QCOMPARE(answers.shown.back().informativeText.startsWith(runnerAnswer), true);
    QCOMPARE(f.runner->requests.size(), promptAnswer == 0 ? 1u : 0u);
    if (promptAnswer == 0)
        QCOMPARE(f.runner->requests[0].paths.size(), 7u);
    QCOMPARE(screen.items()->rowCount(), rowsLeft);
    QCOMPARE(screen.cleanButton()->isEnabled(), rowsLeft > 0);
    QCOMPARE(screen.totalLabel()->text(), status);
}

// One item vanished before the password was typed and one could not be removed: the
// removed and the vanished rows leave and count, the other stays and is named.
void SystemJunkScreenTest::administratorStageDropsOnlyTheRowsThatAreGone()
{
    ScreenTestEnvironment f;
    const std::pair<const char*, size_t> rows[]
        = {{"removed", 1'000'000}, {"vanished", 2'000'000}, {"busy", 4'000'000}};
    for (const auto& [name, bytes] : rows) {
        const std::string rel = std::string("system/Library/Caches/") + name;
        f.tree.file(rel + "/x", bytes);
        f.tree.protect(rel);
    }
    using platform::PrivilegedStatus;
    const std::string caches = f.systemRoot() + "/Library/Caches/";
    f.runner->outcomes[caches + "vanished"] = {PrivilegedStatus::missing, 0};
    f.runner->outcomes[caches + "busy"] = {PrivilegedStatus::failed, EBUSY};
    SystemJunkViewController screen;
    QVERIFY(ready(screen));
    QCOMPARE(names(*screen.items()), (QStringList{"busy", "vanished", "removed"}));
    const int64_t goneBytes = screen.items()->items()[1].size + screen.items()->items()[2].size;

    AlertAnswerer answers(0);
    QVERIFY(cleanAndWait(screen));
    QCOMPARE(f.runner->requests.size(), 1u);
    QCOMPARE(f.runner->requests[0].paths.size(), 3u);
    QCOMPARE(answers.shown.size(), 3u);
    QCOMPARE(answers.shown[2].message, "Algunos archivos no se pudieron eliminar");
    QCOMPARE(
        answers.shown[2].informativeText, "No se ha podido eliminar “busy” porque está en uso.");
    QCOMPARE(names(*screen.items()), QStringList{"busy"});
    QCOMPARE(screen.totalLabel()->text(), "✅ Liberado: " + junkBytesText(goneBytes));
    QVERIFY(screen.cleanButton()->isEnabled());
}

void SystemJunkScreenTest::refusedPlainDeleteOutsideTheAdminFoldersIsAFailure()
{
    ScreenTestEnvironment f;
    f.tree.file("home/Library/Caches/stuck/inner/x", 600'000);
    f.tree.protect("home/Library/Caches/stuck/inner");
    SystemJunkViewController screen;
    QVERIFY(ready(screen));
    QVERIFY(!screen.items()->items()[0].requiresAdmin);

    AlertAnswerer answers(0);
    QVERIFY(cleanAndWait(screen));
    // No password is asked for: it could only end in a refusal of the path.
    QCOMPARE(answers.shown.size(), 2u);
    QCOMPARE(answers.shown[1].message, "Algunos archivos no se pudieron eliminar");
    const QString path = QString::fromStdString(f.tree.path("home/Library/Caches/stuck"));
    QCOMPARE(answers.shown[1].informativeText,
        "⚠️ " + path
            + ":\nNo se ha podido eliminar “stuck” porque no tienes permiso para acceder a ello.");
    QVERIFY(f.runner->requests.empty());
    QCOMPARE(names(*screen.items()), QStringList{"stuck"});
    QCOMPARE(screen.totalLabel()->text(), "ℹ️ No se liberó espacio");
}

void SystemJunkScreenTest::contextMenuActsOnTheClickedRowOnly()
{
    ScreenTestEnvironment f;
    f.tree.file("home/Library/Caches/first/x", 900'000);
    f.tree.file("home/Library/Logs/odd\xff\nname.log", 40);
    SystemJunkViewController screen;
    QVERIFY(ready(screen));

    QMenu menu;
    for (int outside : {-1, 2}) {
        screen.menuNeedsUpdate(&menu, outside);
        QVERIFY(menu.isEmpty());
    }
    screen.menuNeedsUpdate(&menu, 1);
    const auto actions = menu.actions();
    QCOMPARE(actions.size(), 3);
    const std::string odd = f.tree.path("home/Library/Logs/odd\xff\nname.log");
    actions[0]->trigger();
    QCOMPARE(f.workspace->calls, (std::vector<FakeWorkspace::Call>{{"reveal", odd}}));

    f.trash->refuse.push_back(odd); // a refused move is silent and leaves the row
    actions[2]->trigger();
    QCOMPARE(screen.items()->rowCount(), 2);
    f.trash->refuse.clear();
    actions[2]->trigger();
    QCOMPARE(f.trash->moved, std::vector<std::string>{odd});
    QCOMPARE(names(*screen.items()), QStringList{"first"});
    QCOMPARE(screen.totalLabel()->text(), "✅ Liberado: 1 KB");
}

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

void SystemJunkScreenTest::scanDuringPasswordStageKeepsCleanOff()
{
    ScreenTestEnvironment f;
    // The waiting run holds one worker; the scan needs another even on one core.
    QThreadPool* pool = QThreadPool::globalInstance();
    const int savedThreads = pool->maxThreadCount();
    pool->setMaxThreadCount(std::max(savedThreads, 4));
    auto runner = std::make_shared<WaitingRunner>();
    platform::ScopedService<platform::PrivilegedRunner> waiting(runner);
    f.tree.file("system/Library/Caches/locked/x", 700'000);
    f.tree.protect("system/Library/Caches/locked");
    f.tree.file("home/Library/Caches/mine/x", 800'000);
    SystemJunkViewController screen;
    QVERIFY(ready(screen));

    AlertAnswerer answers(0);
    screen.doClean();
    QTRY_VERIFY(!screen.cleanButton()->isEnabled()); // the password stage has started
    // A new scan meanwhile lists the item again but must not offer a second clean of it.
    QVERIFY(scanAndWait(screen));
    QCOMPARE(names(*screen.items()), QStringList{"locked"});
    QVERIFY(!screen.cleanButton()->isEnabled());
    QVERIFY(screen.progress()->isAnimating());

    QSignalSpy finished(&screen, &SystemJunkViewController::cleanFinished);
    runner->released.set_value();
    QVERIFY(finished.wait(5000));
    QCOMPARE(screen.items()->rowCount(), 0);
    QVERIFY(!screen.progress()->isAnimating());
    QCOMPARE(screen.totalLabel()->text(), "✅ Liberado: 1,5 MB");
    pool->setMaxThreadCount(savedThreads);
}

QTEST_MAIN(SystemJunkScreenTest)
#include "system_junk_screen_test.moc"

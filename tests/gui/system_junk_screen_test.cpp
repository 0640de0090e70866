#include "gui/tools/systemjunk/SystemJunkModel.h"
#include "gui/tools/systemjunk/SystemJunkViewController.h"
#include "gui/widgets/ActivityIndicator.h"
#include "gui/widgets/PrimaryButton.h"

#include "gui/support/ScreenTestEnvironment.h"
#include "gui/support/ShownScreen.h"
#include "gui/widgets/Alert.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QMenu>
#include <QThreadPool>
#include <QtTest>

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

} // namespace

class SystemJunkScreenTest : public QObject {
    Q_OBJECT
private slots:
    void scanListsTotalsAndMarksAdministratorRows();
    void cleanDropsUntickedRowsAndReportsFailures();
    void cancelChangesNothing();
    void sevenAdministratorItemsArePromptedAndDeleted();
    void skippingKeepsAdministratorRows();
    void refusedPlainDeleteIsEscalatedWithoutAnnouncement();
    void failedAdministratorRunKeepsRowsAndCountsDirectBytes();
    void contextMenuActsOnTheClickedRowOnly();
    void scanDuringPasswordStageKeepsCleanOff();
};

void SystemJunkScreenTest::scanListsTotalsAndMarksAdministratorRows()
{
    ScreenTestEnvironment f;
    SystemJunkViewController screen;
    QVERIFY(showScreen(screen));
    QAbstractItemModelTester tester(screen.items());

    QVERIFY(scanAndWait(screen));
    QCOMPARE(screen.items()->rowCount(), 0);
    QCOMPARE(screen.totalLabel()->text(), "Total: Cero KB");
    QVERIFY(!screen.cleanButton()->isEnabled());

    f.tree.file("home/Library/Caches/com.big/data", 3'000'000);
    f.tree.file("home/.Trash/old.zip", 1'000'000);
    f.tree.file("system/Library/Logs/locked/system.log", 2'000'000);
    f.tree.protect("system/Library/Logs/locked");
    QVERIFY(scanAndWait(screen));
    QCOMPARE(names(*screen.items()), (QStringList{"com.big", "locked", "old.zip"}));
    QCOMPARE(screen.totalLabel()->text(), "Total: 6 MB");
    QVERIFY(screen.cleanButton()->isEnabled());
    QVERIFY(screen.scanButton()->isEnabled());
    QCOMPARE(screen.items()->data(screen.items()->index(1, SystemJunkModel::name)).toString(),
        "🔒 locked");
}

void SystemJunkScreenTest::cleanDropsUntickedRowsAndReportsFailures()
{
    ScreenTestEnvironment f;
    f.tree.file("home/Library/Caches/a/x", 900'000);
    f.tree.file("home/Library/Caches/kept/x", 800'000);
    f.tree.file("home/Library/Logs/vanishing.log", 10);
    SystemJunkViewController screen;
    QVERIFY(showScreen(screen));
    QVERIFY(scanAndWait(screen));
    untick(*screen.items(), "kept");
    std::filesystem::remove(f.tree.path("home/Library/Logs/vanishing.log"));

    AlertAnswerer answers(0);
    QSignalSpy finished(&screen, &SystemJunkViewController::cleanFinished);
    screen.doClean();
    QVERIFY(finished.wait(5000));

    QCOMPARE(answers.shown.size(), 2u);
    QCOMPARE(answers.shown[0].message, "¿Eliminar 2 elemento(s)?");
    QCOMPARE(answers.shown[0].informativeText, "Esta acción no se puede deshacer.");
    QCOMPARE(answers.shown[0].buttons, (QStringList{"Eliminar", "Cancelar"}));
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

void SystemJunkScreenTest::cancelChangesNothing()
{
    ScreenTestEnvironment f;
    f.tree.file("home/Library/Caches/a/x", 900'000);
    f.tree.file("home/Library/Logs/b.log", 10);
    SystemJunkViewController screen;
    QVERIFY(showScreen(screen));
    QVERIFY(scanAndWait(screen));
    untick(*screen.items(), "b.log");
    const QString total = screen.totalLabel()->text();

    AlertAnswerer answers(1);
    screen.doClean();
    QTRY_COMPARE(answers.shown.size(), 1u);
    QCoreApplication::processEvents(); // the answer arrives; nothing may follow it
    QCOMPARE(answers.shown.size(), 1u);
    QCOMPARE(names(*screen.items()), (QStringList{"a", "b.log"}));
    QVERIFY(screen.items()->items()[0].isSelected);
    QVERIFY(!screen.items()->items()[1].isSelected);
    QCOMPARE(screen.totalLabel()->text(), total);
    QVERIFY(f.tree.exists("home/Library/Caches/a/x"));

    // With nothing ticked there is not even a question.
    untick(*screen.items(), "a");
    screen.doClean();
    QCOMPARE(answers.shown.size(), 1u);
}

void SystemJunkScreenTest::sevenAdministratorItemsArePromptedAndDeleted()
{
    ScreenTestEnvironment f;
    f.tree.file("home/Library/Caches/mine/x", 600'000);
    for (int i = 1; i <= 7; ++i) {
        const std::string rel = "system/Library/Caches/sys" + std::to_string(i);
        f.tree.file(rel + "/x", 600'000 + static_cast<size_t>(i));
        f.tree.protect(rel);
    }
    SystemJunkViewController screen;
    QVERIFY(showScreen(screen));
    QVERIFY(scanAndWait(screen));
    QCOMPARE(screen.items()->rowCount(), 8);

    AlertAnswerer answers(0);
    QSignalSpy finished(&screen, &SystemJunkViewController::cleanFinished);
    screen.doClean();
    QVERIFY(finished.wait(5000));

    QCOMPARE(answers.shown.size(), 2u);
    QCOMPARE(answers.shown[0].message, "¿Eliminar 8 elemento(s)?");
    QCOMPARE(answers.shown[0].informativeText,
        "1 elemento(s) se eliminarán directamente.\n7 elemento(s) requieren contraseña de "
        "administrador (se pedirá a continuación).");
    const AlertSpec& prompt = answers.shown[1];
    QCOMPARE(prompt.style, AlertStyle::informational);
    QCOMPARE(prompt.message, "Se requieren permisos de administrador");
    QCOMPARE(prompt.buttons, (QStringList{"Eliminar con contraseña", "Omitir"}));
    QVERIFY(prompt.informativeText.startsWith("7 archivo(s) del sistema"));
    QCOMPARE(prompt.informativeText.count("\n• "), 5);
    QVERIFY(prompt.informativeText.endsWith("\n  …y 2 más"));

    QCOMPARE(f.runner->requests.size(), 1u);
    QCOMPARE(f.runner->requests[0].paths.size(), 7u);
    QCOMPARE(screen.items()->rowCount(), 0);
    QVERIFY(!screen.cleanButton()->isEnabled());
    // Both stages count: 600 000 directly, seven items of about 600 000 with the password.
    QCOMPARE(screen.totalLabel()->text(), "✅ Liberado: 4,8 MB");
}

void SystemJunkScreenTest::skippingKeepsAdministratorRows()
{
    ScreenTestEnvironment f;
    f.tree.file("system/Library/Caches/locked/x", 700'000);
    f.tree.protect("system/Library/Caches/locked");
    f.tree.file("home/Library/Logs/off.log", 5);
    SystemJunkViewController screen;
    QVERIFY(showScreen(screen));
    QVERIFY(scanAndWait(screen));
    untick(*screen.items(), "off.log");

    AlertAnswerer answers(0);
    QSignalSpy finished(&screen, &SystemJunkViewController::cleanFinished);
    screen.doClean();
    answers.answer = 1; // "Eliminar", then "Omitir" at the password prompt
    QVERIFY(finished.wait(5000));

    QCOMPARE(answers.shown.size(), 2u);
    QCOMPARE(names(*screen.items()), QStringList{"locked"});
    QVERIFY(screen.cleanButton()->isEnabled());
    QCOMPARE(screen.totalLabel()->text(), "ℹ️ No se liberó espacio");
    QVERIFY(f.runner->requests.empty());
    QVERIFY(f.tree.exists("home/Library/Logs/off.log"));
}

void SystemJunkScreenTest::refusedPlainDeleteIsEscalatedWithoutAnnouncement()
{
    ScreenTestEnvironment f;
    f.tree.file("home/Library/Caches/stuck/inner/x", 600'000);
    f.tree.protect("home/Library/Caches/stuck/inner");
    SystemJunkViewController screen;
    QVERIFY(showScreen(screen));
    QVERIFY(scanAndWait(screen));
    QVERIFY(!screen.items()->items()[0].requiresAdmin);

    AlertAnswerer answers(0);
    QSignalSpy finished(&screen, &SystemJunkViewController::cleanFinished);
    screen.doClean();
    QVERIFY(finished.wait(5000));

    // Announced as a plain delete, yet the password prompt follows; the item lies
    // outside the machine-wide folders, so it never reaches the privileged command.
    QCOMPARE(answers.shown.size(), 3u);
    QCOMPARE(answers.shown[0].informativeText, "Esta acción no se puede deshacer.");
    QVERIFY(answers.shown[1].informativeText.startsWith("1 archivo(s) del sistema"));
    QVERIFY(answers.shown[1].informativeText.endsWith("• stuck"));
    const QString path = QString::fromStdString(f.tree.path("home/Library/Caches/stuck"));
    QCOMPARE(answers.shown[2].informativeText, "Ruta no permitida: " + path);
    QVERIFY(f.runner->requests.empty());
    QCOMPARE(names(*screen.items()), QStringList{"stuck"});
    QCOMPARE(screen.totalLabel()->text(), "ℹ️ No se liberó espacio");
}

void SystemJunkScreenTest::failedAdministratorRunKeepsRowsAndCountsDirectBytes()
{
    ScreenTestEnvironment f;
    f.runner->answer = "El usuario canceló.";
    f.tree.file("home/Library/Caches/mine/x", 2'000'000);
    f.tree.file("system/Library/Logs/locked.log", 300);
    f.tree.protect("system/Library/Logs");
    SystemJunkViewController screen;
    QVERIFY(showScreen(screen));
    QVERIFY(scanAndWait(screen));

    AlertAnswerer answers(0);
    QSignalSpy finished(&screen, &SystemJunkViewController::cleanFinished);
    screen.doClean();
    QVERIFY(finished.wait(5000));
    QCOMPARE(answers.shown.size(), 3u);
    QCOMPARE(answers.shown[2].message, "Algunos archivos no se pudieron eliminar");
    QCOMPARE(answers.shown[2].informativeText, "El usuario canceló.");
    QCOMPARE(names(*screen.items()), QStringList{"locked.log"});
    QCOMPARE(screen.totalLabel()->text(), "✅ Liberado: 2 MB");
    QVERIFY(screen.cleanButton()->isEnabled());
}

void SystemJunkScreenTest::contextMenuActsOnTheClickedRowOnly()
{
    ScreenTestEnvironment f;
    f.tree.file("home/Library/Caches/first/x", 900'000);
    f.tree.file("home/Library/Logs/odd\xff\nname.log", 40);
    SystemJunkViewController screen;
    QVERIFY(showScreen(screen));
    QVERIFY(scanAndWait(screen));
    QCOMPARE(screen.items()->rowCount(), 2);

    QMenu menu;
    screen.menuNeedsUpdate(&menu, -1);
    QVERIFY(menu.isEmpty());
    screen.menuNeedsUpdate(&menu, 2);
    QVERIFY(menu.isEmpty());

    screen.menuNeedsUpdate(&menu, 1);
    const auto actions = menu.actions();
    QCOMPARE(actions.size(), 3);
    QCOMPARE(actions[0]->text(), "Mostrar en Finder");
    QVERIFY(actions[1]->isSeparator());
    QCOMPARE(actions[2]->text(), "Mover a Papelera");
    const std::string odd = f.tree.path("home/Library/Logs/odd\xff\nname.log");
    actions[0]->trigger();
    QCOMPARE(f.workspace->calls, (std::vector<FakeWorkspace::Call>{{"reveal", odd}}));

    // A refused move is silent and leaves the row.
    f.trash->refuse.push_back(odd);
    actions[2]->trigger();
    QCOMPARE(screen.items()->rowCount(), 2);
    f.trash->refuse.clear();
    actions[2]->trigger();
    QCOMPARE(f.trash->moved, std::vector<std::string>{odd});
    QCOMPARE(names(*screen.items()), QStringList{"first"});
    QCOMPARE(screen.totalLabel()->text(), "✅ Liberado: 1 KB");
    QVERIFY(f.tree.exists("home/Library/Caches/first/x"));
}

// Holds the privileged run until the test lets it go, as a password dialog would.
class WaitingRunner final : public platform::PrivilegedRunner {
public:
    std::optional<std::string> run(const platform::PrivilegedDeletion&) override
    {
        released.get_future().wait();
        return std::nullopt;
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
    QVERIFY(showScreen(screen));
    QVERIFY(scanAndWait(screen));

    AlertAnswerer answers(0);
    screen.doClean();
    QTRY_VERIFY(!screen.cleanButton()->isEnabled()); // the password stage has started
    QVERIFY(screen.progress()->isAnimating());

    // A new scan while the password is asked for lists the item again, but must not
    // offer a second clean of it meanwhile.
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

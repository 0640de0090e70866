// Preferencias…, driven as a user would, on a temporary home with its XDG folders
// inside it; and a tour of every screen showing that nothing is written until the user
// changes something.
#include "engine/desktop/SettingsLocation.h"
#include "engine/fs/Removal.h"
#include "engine/settings/SettingsFile.h"
#include "gui/app/HistoryWindow.h"
#include "gui/app/PreferencesWindow.h"
#include "gui/app/ViewController.h"
#include "gui/app/container/ContentContainerViewController.h"
#include "gui/app/sidebar/SidebarViewController.h"
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/tools/ToolViewController.h"
#include "support/TreeListing.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>
#include <QThreadPool>
#include <QTimeEdit>
#include <QTreeWidget>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct Home {
    ScreenTestEnvironment env{linuxPlaces()};
    Home()
    {
        env.setEnv("XDG_CONFIG_HOME", env.homePath(".config"));
        env.setEnv("XDG_CACHE_HOME", env.homePath(".cache"));
        env.setEnv("XDG_DATA_HOME", env.homePath(".local/share"));
        env.setEnv("XDG_STATE_HOME", env.homePath(".local/state"));
        env.context.settings = userSettings(env.context, false);
        env.context.settings.scheduledProgram = env.tree.script("bin/tidvale-cli", "#!/bin/sh\n");
    }
    std::string file() const { return env.tree.read("home/.config/tidvale/tidvale.toml"); }
    Settings saved() const { return readSettings(env.context.settings.path).values; }
    bool unit(const char* name) const
    {
        return env.tree.exists(std::string("home/.config/systemd/user/") + name);
    }
};

// Makes a change through `act` and waits until it is written.
bool changed(PreferencesWindow& w, const std::function<void()>& act)
{
    QSignalSpy spy(&w, &PreferencesWindow::changeFinished);
    act();
    return spy.wait(10000) && spy.first().first().toBool();
}

QAction* menuItem(QWidget& window, const QString& title)
{
    for (QAction* menu : window.findChild<QMenuBar*>()->actions())
        for (QAction* a : menu->menu()->actions())
            if (a->text().remove(QLatin1Char('&')) == title)
                return a;
    return nullptr;
}

} // namespace

class PreferencesTest : public QObject {
    Q_OBJECT
private slots:
    // Every screen's job runs, and the window opens from the menu and closes: no file
    // of Tidvale's (nor any other) appears or changes anywhere in the home or the
    // machine root.
    void nothingIsWrittenUntilSomethingIsTurnedOn()
    {
        Home h;
        h.env.inHome(".cache/thumbnails/big", 600000);
        h.env.inHome("Downloads/old.iso", 9000);
        const auto before = treeListing(h.env.tree.root());
        {
            ViewController window(h.env.services);
            showMainWindow(window);
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const auto& tools = window.contentVC()->featureControllers();
            for (int i = 0; i < ContentContainerViewController::toolCount; ++i) {
                window.sidebarVC()->selectItem(i);
                ToolViewController* screen = tools[static_cast<size_t>(i)];
                if (screen->startButton() && screen->startButton()->isEnabled())
                    screen->startButton()->click();
                QTRY_VERIFY_WITH_TIMEOUT(!screen->isBusy(), 20000);
            }
            QAction* preferences = menuItem(window, QStringLiteral("Preferencias…"));
            QVERIFY(preferences);
            QCOMPARE(preferences->shortcut(),
                QKeySequence::keyBindings(QKeySequence::Preferences)
                    .value(0, QKeySequence(Qt::CTRL | Qt::Key_Comma)));
            preferences->trigger();
            auto* w = window.findChild<PreferencesWindow*>();
            QVERIFY(w && w->isVisible());
            QVERIFY(w->scheduleBox()->isEnabled());
            w->close();
            preferences->trigger();
            QCOMPARE(window.findChildren<PreferencesWindow*>().size(), qsizetype(1));
            w->close();
            QVERIFY(!w->isSaving());
        }
        QThreadPool::globalInstance()->waitForDone();
        QCOMPARE(
            QString::fromStdString(treeListing(h.env.tree.root())), QString::fromStdString(before));
    }

    void eachChangeIsWrittenAtOnceWithTheSchedule()
    {
        Home h;
        PreferencesWindow w(h.env.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(changed(w, [&] { w.scheduleBox()->setCurrentIndex(2); }));
        QCOMPARE(h.saved().schedule, Schedule::weekly);
        QVERIFY(h.saved().history && w.historyBox()->isChecked()); // on with the schedule
        QVERIFY(h.unit("tidvale-clean.timer"));
        QVERIFY(!w.statusLabel()->text().isEmpty());

        QVERIFY(changed(w, [&] { w.categoryBoxes()[4]->setChecked(false); }));
        QCOMPARE(h.saved().categories.size(), Settings().categories.size() - 1);
        QVERIFY(changed(w, [&] { w.addKept(QStringLiteral("/srv/datos")); }));
        QCOMPARE(h.saved().keep, std::vector<std::string>{"/srv/datos"});
        QCOMPARE(w.keepModel()->stringList(), QStringList{QStringLiteral("/srv/datos")});
        // The hour is taken when the window closes with it still being typed.
        QVERIFY(changed(w, [&] {
            w.timeEdit()->setTime(QTime(5, 0));
            w.close();
        }));
        QCOMPARE(h.saved().scheduleAt, (TimeOfDay{5, 0}));

        w.show();
        QVERIFY(changed(w, [&] { w.scheduleBox()->setCurrentIndex(0); }));
        QVERIFY(!h.unit("tidvale-clean.timer"));
    }

    // Shown with its line, never overwritten, until the user starts from the defaults.
    void aDamagedFileIsShownAndLeftAlone()
    {
        Home h;
        const std::string damaged = "schedule = \"daily\"\nhistory = si\n";
        h.env.tree.text("home/.config/tidvale/tidvale.toml", damaged);
        PreferencesWindow w(h.env.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.problemLabel()->isVisible());
        QVERIFY(w.problemLabel()->text().contains(QStringLiteral("tidvale.toml, línea 2")));
        QVERIFY(!w.scheduleBox()->isEnabled());
        w.notifyBox()->setChecked(false);
        w.close();
        QThreadPool::globalInstance()->waitForDone();
        QCOMPARE(h.file(), damaged);

        w.show();
        QVERIFY(w.defaultsButton()->isVisible());
        QVERIFY(changed(w, [&] { w.defaultsButton()->click(); }));
        QVERIFY(!readSettings(h.env.context.settings.path).damage);
        QVERIFY(h.saved() == Settings());
        QVERIFY(w.scheduleBox()->isEnabled() && !w.problemLabel()->isVisible());
    }

    // What a screen moved to the Trash comes back with Edición → Deshacer, said on the
    // screen in view; with the history on, the run is in the Historial window too.
    void aRemovalIsUndoneFromTheMenuAndKeptInTheHistory()
    {
        Home h;
        Settings on;
        on.history = true;
        QVERIFY(!writeSettings(h.env.context.settings.path, on));
        const std::string big = h.env.inHome("Documents/big.bin", 10);
        ViewController window(h.env.services);
        showMainWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QAction* undo = menuItem(window, QStringLiteral("Deshacer"));
        QVERIFY(undo && !undo->isEnabled());

        ListedStamp stamp;
        QVERIFY(readListedStamp(big, stamp));
        const auto report = trashTargets(*h.env.trash, {{big, big, stamp, 10}});
        QVERIFY(h.env.removals.record(QStringLiteral("Archivos Grandes"), report).isEmpty());
        QVERIFY(!h.env.tree.exists("home/Documents/big.bin"));
        window.sidebarVC()->setFocus();
        emit qobject_cast<QMenu*>(undo->parent())->aboutToShow();
        QVERIFY(undo->isEnabled());
        undo->trigger();
        QVERIFY(h.env.tree.exists("home/Documents/big.bin"));
        QVERIFY(window.contentVC()->currentChild()->statusLabel()->text().startsWith(
            QStringLiteral("↩️ 1 elemento devuelto a su sitio")));
        QVERIFY(!h.env.removals.canUndo());

        menuItem(window, QStringLiteral("Historial…"))->trigger();
        auto* history = window.findChild<HistoryWindow*>();
        QVERIFY(history && history->isVisible());
        QCOMPARE(history->runList()->topLevelItemCount(), 1);
        QCOMPARE(history->runList()->topLevelItem(0)->text(1), QStringLiteral("Archivos Grandes"));
        QCOMPARE(history->runList()->topLevelItem(0)->child(0)->text(0),
            QStringLiteral("En la Papelera"));
        QVERIFY(history->undoButton()->isEnabled());
        history->close();
    }

    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }
};

QTEST_MAIN(PreferencesTest)
#include "preferences_test.moc"

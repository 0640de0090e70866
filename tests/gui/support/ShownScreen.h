#pragma once

// A tool screen shown on its own in a window on a temporary home, with the steps every
// screen test takes: run its job, answer its alerts, open its context menu, read and
// tick its list, and what they read (buttons, byte texts). Every list is watched by
// QAbstractItemModelTester.
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/text/ByteTexts.h"
#include "gui/tools/ToolViewController.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <functional>
#include <memory>

// The status line's note for entries whose path holds something else than what was listed.
inline const QString kChangedSinceListing
    = QStringLiteral("⚠️ 1 elemento cambió desde la búsqueda y no se movió");

template <class Screen> struct ShownScreen {
    ScreenTestEnvironment env;
    Screen screen{env.services};
    std::unique_ptr<QAbstractItemModelTester> tester;

    explicit ShownScreen(const tidvale::Places& places = tidvale::macPlaces())
        : env(places)
    {
        // Alerts only appear on a screen the user can see.
        screen.resize(900, 600);
        screen.show();
        (void)QTest::qWaitForWindowExposed(&screen);
        if (QAbstractItemView* list = screen.listView())
            tester = std::make_unique<QAbstractItemModelTester>(
                list->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

    // Presses the start button and waits until the job's result is shown.
    bool run()
    {
        QSignalSpy done(&screen, &tidvale::gui::ToolViewController::jobFinished);
        QTest::mouseClick(
            screen.startButton(), Qt::LeftButton, {}, screen.startButton()->rect().center());
        return done.count() > 0 || done.wait(10000);
    }

    // Runs `action` answering every alert it leads to with `answer` (0: the first
    // button), and lets every answer arrive, until `done` holds if one is given (a
    // stage that ends on another thread); returns the alerts shown, in order.
    std::vector<tidvale::gui::AlertRequest> answering(
        int answer, const std::function<void()>& action, const std::function<bool()>& done = {})
    {
        tidvale::gui::AlertAnswerer answerer(answer);
        action();
        // Each answer comes through the event loop and may lead to a removal on a
        // worker, and either may lead to the next alert.
        QElapsedTimer clock;
        clock.start();
        for (size_t seen = size_t(-1);
             seen != answerer.shown.size() || (done && !done() && clock.elapsed() < 10000);) {
            seen = answerer.shown.size();
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            settle();
            if (done && !done())
                QTest::qWait(5);
        }
        return answerer.shown;
    }

    // Lets a removal the last step started end and its outcome reach the screen.
    void settle()
    {
        QElapsedTimer clock;
        clock.start();
        while (screen.isBusy() && clock.elapsed() < 10000)
            QTest::qWait(5);
    }

    QString status() const { return screen.statusLabel()->text(); }
    QAbstractItemModel* model() const { return screen.listView()->model(); }
    QModelIndex row(int r, int column = 0) const { return model()->index(r, column); }
    // The texts of one column, top to bottom.
    QStringList column(int c) const
    {
        QStringList texts;
        for (int r = 0; r < model()->rowCount(); ++r)
            texts << model()->index(r, c).data().toString();
        return texts;
    }
    void tick(int r, bool on)
    {
        model()->setData(row(r), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }
    // Selects exactly these rows, as a user's clicks would.
    void select(const QList<int>& rows)
    {
        QItemSelectionModel* selection = screen.listView()->selectionModel();
        selection->clearSelection();
        for (int r : rows)
            selection->select(row(r), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    // The titles of the context menu at `at` (invalid: outside every row); triggers the
    // entry titled `pick` if there is one.
    QStringList menu(const QModelIndex& at, const QString& pick = {})
    {
        QMenu menu;
        screen.menuNeedsUpdate(&menu, at);
        QStringList titles;
        for (QAction* action : menu.actions()) {
            titles << action->text();
            if (!pick.isEmpty() && action->text() == pick)
                action->trigger();
        }
        settle();
        return titles;
    }
};

#pragma once

// Showing a tool screen on its own and running its scan, for the screen tests.
#include <QSignalSpy>
#include <QTest>

// Alerts only appear on a screen the user can see, so tests show it in a window.
template <class Screen> bool showScreen(Screen& screen)
{
    screen.resize(900, 600);
    screen.show();
    return QTest::qWaitForWindowExposed(&screen);
}

// Presses the screen's scan button and waits for the result to be shown.
template <class Screen> bool scanAndWait(Screen& screen)
{
    QSignalSpy done(&screen, &Screen::scanFinished);
    QTest::mouseClick(screen.scanButton(), Qt::LeftButton);
    return done.count() > 0 || done.wait(10000);
}

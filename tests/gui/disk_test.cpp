// The Disk space screen: derived figures, colour bounds, the bar and "Actualizar".
#include "gui/style/Colors.h"
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/text/ByteTexts.h"
#include "gui/tools/diskspace/DiskSpaceViewController.h"
#include "gui/tools/diskspace/UsageBarView.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ScreenHeader.h"
#include "support/FakeSystemStatistics.h"

#include <QLabel>
#include <QPropertyAnimation>
#include <QTest>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct DiskScreen {
    ScreenTestEnvironment env;
    std::shared_ptr<FakeVolumeStatistics> volume;
    platform::ScopedService<platform::VolumeStatistics> slot;
    DiskSpaceViewController screen;

    explicit DiskScreen(FakeVolumeStatistics::Figures figures)
        : volume(std::make_shared<FakeVolumeStatistics>(figures))
        , slot(volume)
    {
        screen.resize(720, 640);
    }
};

// Waits for the bar's growth to start, then takes it to its end at once.
qreal grownBar(UsageBarView* bar)
{
    QPropertyAnimation* growth = nullptr;
    if (!QTest::qWaitFor([&] { return (growth = bar->findChild<QPropertyAnimation*>()); }))
        return -1;
    growth->setCurrentTime(growth->duration());
    return bar->fillFraction();
}

int labelsWithText(const QWidget& w, const QString& text)
{
    int n = 0;
    for (const QLabel* l : w.findChildren<QLabel*>())
        n += l->text() == text;
    return n;
}

} // namespace

class DiskTest : public QObject {
    Q_OBJECT
private slots:
    void percentAndColourBounds_data()
    {
        QTest::addColumn<int64_t>("total");
        QTest::addColumn<int64_t>("free"); // -1: the volume cannot be read
        QTest::addColumn<QString>("percent");
        QTest::addColumn<int>("colour"); // 0 green, 1 orange, 2 red
        QTest::addColumn<int64_t>("used");
        QTest::newRow("65.1 %") << int64_t(1000) << int64_t(349) << "65% usado" << 1
                                << int64_t(651);
        QTest::newRow("85.1 %") << int64_t(1000) << int64_t(149) << "85% usado" << 2
                                << int64_t(851);
        QTest::newRow("free above total")
            << int64_t(500) << int64_t(900) << "0% usado" << 0 << int64_t(0);
        QTest::newRow("unreadable") << int64_t(0) << int64_t(-1) << "0% usado" << 0 << int64_t(0);
    }
    void percentAndColourBounds()
    {
        QFETCH(int64_t, total);
        QFETCH(int64_t, free);
        QFETCH(QString, percent);
        QFETCH(int, colour);
        QFETCH(int64_t, used);
        DiskScreen s(free < 0
                ? std::nullopt
                : FakeVolumeStatistics::Figures(platform::VolumeFigures{total, free}));
        s.screen.ensureViewLoaded();
        QCOMPARE(s.screen.percentLabel()->text(), percent);
        const SystemColor expected = colour == 2 ? SystemColor::red
            : colour == 1                        ? SystemColor::orange
                                                 : SystemColor::green;
        QCOMPARE(
            s.screen.percentLabel()->palette().color(QPalette::WindowText), systemColor(expected));
        QCOMPARE(s.screen.usedValue()->text(), fileBytesText(used));
    }

    // The bar grows after a short delay; "Actualizar" rebuilds with one copy of everything.
    void barGrowsAndRefreshRebuildsWithoutDuplicates()
    {
        DiskScreen s(platform::VolumeFigures{1000, 250});
        s.screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.screen));
        QCOMPARE(s.screen.usageBar()->fillFraction(), 0.0);
        QCOMPARE(grownBar(s.screen.usageBar()), 0.75);
        for (int i = 0; i < 2; ++i) {
            s.volume->figures = platform::VolumeFigures{1000, 100};
            QTest::mouseClick(s.screen.refreshButton(), Qt::LeftButton);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(s.screen.findChildren<ScreenHeader*>().size(), 1);
        QCOMPARE(s.screen.findChildren<PrimaryButton*>().size(), 2);
        QCOMPARE(s.screen.findChildren<UsageBarView*>().size(), 1);
        for (const char* text : {"Macintosh HD", "Capacidad Total", "90% usado"})
            QCOMPARE(labelsWithText(s.screen, text), 1);
        QVERIFY(s.screen.refreshButton()->isVisible());
        QCOMPARE(grownBar(s.screen.usageBar()), 0.9);

        QTest::mouseClick(s.screen.finderButton(), Qt::LeftButton);
        QCOMPARE(s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"folder", "/"}}));
    }
};

QTEST_MAIN(DiskTest)
#include "disk_test.moc"

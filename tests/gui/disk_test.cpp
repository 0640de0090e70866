// The Disk space screen: derived figures, colour bounds, the bar and "Actualizar".
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/tools/diskspace/DiskSpaceViewController.h"
#include "gui/tools/diskspace/UsageBarView.h"
#include "gui/widgets/ByteTexts.h"
#include "gui/widgets/Colors.h"
#include "gui/widgets/PrimaryButton.h"
#include "gui/widgets/ScreenHeader.h"
#include "support/FakeSystemStatistics.h"

#include <QLabel>
#include <QTest>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct DiskScreen {
    ScreenTestEnvironment env;
    std::shared_ptr<FakeVolumeStatistics> volume;
    platform::ScopedService<platform::VolumeStatistics> slot;
    DiskSpaceViewController screen;

    explicit DiskScreen(std::optional<platform::VolumeFigures> figures)
        : volume(std::make_shared<FakeVolumeStatistics>(figures))
        , slot(volume)
    {
        screen.resize(720, 640);
    }
};

QColor textColor(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
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
        QTest::addColumn<int64_t>("free");
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QString>("colour");
        QTest::newRow("65 % exactly") << int64_t(100) << int64_t(35) << "65% usado"
                                      << "green";
        QTest::newRow("65.1 %") << int64_t(1000) << int64_t(349) << "65% usado"
                                << "orange";
        QTest::newRow("85 % exactly") << int64_t(100) << int64_t(15) << "85% usado"
                                      << "orange";
        QTest::newRow("85.1 %") << int64_t(1000) << int64_t(149) << "85% usado"
                                << "red";
        QTest::newRow("99.9 % truncates") << int64_t(1000) << int64_t(1) << "99% usado"
                                          << "red";
        QTest::newRow("no capacity") << int64_t(0) << int64_t(0) << "0% usado"
                                     << "green";
        QTest::newRow("free equals total") << int64_t(500) << int64_t(500) << "0% usado"
                                           << "green";
        QTest::newRow("free above total") << int64_t(500) << int64_t(900) << "0% usado"
                                          << "green";
    }
    void percentAndColourBounds()
    {
        QFETCH(int64_t, total);
        QFETCH(int64_t, free);
        QFETCH(QString, percent);
        QFETCH(QString, colour);
        DiskScreen s(platform::VolumeFigures{total, free});
        s.screen.ensureViewLoaded();
        QCOMPARE(s.screen.percentLabel()->text(), percent);
        QCOMPARE(textColor(s.screen.percentLabel()),
            systemColor(colour == "red"  ? SystemColor::red
                    : colour == "orange" ? SystemColor::orange
                                         : SystemColor::green));
        const int64_t used = free < total ? total - free : 0;
        QCOMPARE(s.screen.usedValue()->text(), fileBytesText(used));
        QCOMPARE(s.screen.totalValue()->text(), fileBytesText(total));
        QCOMPARE(s.screen.freeValue()->text(), fileBytesText(free));
    }

    void barGrowsAfterTheScreenIsBuilt()
    {
        DiskScreen s(platform::VolumeFigures{1000, 250});
        s.screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.screen));
        UsageBarView* bar = s.screen.usageBar();
        QCOMPARE(bar->fillFraction(), 0.0); // nothing until the short delay
        QCOMPARE(bar->targetFraction(), 0.75);
        QTRY_COMPARE(bar->fillFraction(), 0.75);
    }

    void unreadableVolumeShowsZeros()
    {
        DiskScreen s(std::nullopt);
        s.screen.ensureViewLoaded();
        QCOMPARE(s.screen.percentLabel()->text(), QStringLiteral("0% usado"));
        QCOMPARE(s.screen.totalValue()->text(), fileBytesText(0));
        QCOMPARE(s.screen.usageBar()->targetFraction(), 0.0);
    }

    void refreshRebuildsWithOneCopyOfEverything()
    {
        DiskScreen s(platform::VolumeFigures{1000, 500});
        s.screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.screen));
        QCOMPARE(s.screen.percentLabel()->text(), QStringLiteral("50% usado"));
        for (int i = 0; i < 2; ++i) {
            s.volume->set(platform::VolumeFigures{1000, 100});
            QTest::mouseClick(s.screen.refreshButton(), Qt::LeftButton);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(s.screen.findChildren<ScreenHeader*>().size(), 1);
        QCOMPARE(s.screen.findChildren<PrimaryButton*>().size(), 2);
        QCOMPARE(s.screen.findChildren<UsageBarView*>().size(), 1);
        QCOMPARE(labelsWithText(s.screen, QStringLiteral("Macintosh HD")), 1);
        QCOMPARE(labelsWithText(s.screen, QStringLiteral("Capacidad Total")), 1);
        QCOMPARE(labelsWithText(s.screen, QStringLiteral("90% usado")), 1);
        QVERIFY(s.screen.refreshButton()->isVisible());
        QTRY_COMPARE(s.screen.usageBar()->fillFraction(), 0.9);
    }

    void finderOpensAtTheRoot()
    {
        DiskScreen s(platform::VolumeFigures{1000, 500});
        s.screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.screen));
        QTest::mouseClick(s.screen.finderButton(), Qt::LeftButton);
        QCOMPARE(s.env.workspace->calls, (std::vector<FakeWorkspace::Call>{{"folder", "/"}}));
    }
};

QTEST_MAIN(DiskTest)
#include "disk_test.moc"

#include "gui/tools/xcode/XcodeCleanModel.h"
#include "gui/tools/xcode/XcodeCleanerViewController.h"
#include "gui/widgets/PrimaryButton.h"

#include "gui/support/ScreenTestEnvironment.h"
#include "gui/support/ShownScreen.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/ScreenHeader.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QtTest>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

int rowOf(const XcodeCleanModel& model, const std::string& name)
{
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.items()[static_cast<size_t>(row)].name == name)
            return row;
    return -1;
}

void tick(XcodeCleanModel& model, const std::string& name, bool on)
{
    model.setData(
        model.index(rowOf(model, name), 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

QString sizeText(const XcodeCleanModel& model, const std::string& name)
{
    return model.data(model.index(rowOf(model, name), XcodeCleanModel::size)).toString();
}

} // namespace

class XcodeCleanerScreenTest : public QObject {
    Q_OBJECT
private slots:
    void ticksDriveTheCleanButtonAndCancelChangesNothing();
    void cleanDeletesCachesAndTrashesKeptData();
    void linuxDesktopListsDeveloperCachesInItsOwnWords();
};

void XcodeCleanerScreenTest::ticksDriveTheCleanButtonAndCancelChangesNothing()
{
    ScreenTestEnvironment f;
    f.tree.dir("home/Library/Developer/Xcode/UserData/Previews");
    f.tree.file("home/Library/Developer/Xcode/Archives/a.xcarchive/x", 2000);
    f.tree.file("home/Library/Developer/Xcode/iOS DeviceSupport/17/x", 3000);
    XcodeCleanerViewController screen;
    QVERIFY(showScreen(screen));
    QAbstractItemModelTester tester(screen.items());
    QVERIFY(scanAndWait(screen));
    QCOMPARE(screen.statusLabel()->text(), "3 ubicaciones · 5 KB en total");
    QVERIFY(screen.cleanButton()->isEnabled());

    tick(*screen.items(), "iOS DeviceSupport", false);
    QVERIFY(!screen.cleanButton()->isEnabled());
    tick(*screen.items(), "Previews", true); // empty: still nothing to clean
    QVERIFY(!screen.cleanButton()->isEnabled());
    tick(*screen.items(), "Archives", true);
    QVERIFY(screen.cleanButton()->isEnabled());

    AlertAnswerer answers(1);
    screen.doClean();
    QTRY_COMPARE(answers.shown.size(), 1u);
    QVERIFY(answers.shown[0].informativeText.startsWith("Se limpiarán 1 categorías (2 KB)."));
    QCoreApplication::processEvents(); // the answer arrives; nothing may follow it
    QCOMPARE(screen.statusLabel()->text(), "3 ubicaciones · 5 KB en total");
    QVERIFY(screen.cleanButton()->isEnabled());
    QVERIFY(f.tree.exists("home/Library/Developer/Xcode/Archives/a.xcarchive/x"));
}

void XcodeCleanerScreenTest::cleanDeletesCachesAndTrashesKeptData()
{
    ScreenTestEnvironment f;
    const std::string dev = "home/Library/Developer/";
    // Sparse: large logical sizes that take no room on disk.
    std::filesystem::resize_file(
        f.tree.file(dev + "Xcode/DerivedData/App/Build/x.o", 0), 400'000'000);
    std::filesystem::resize_file(
        f.tree.file(dev + "Xcode/DerivedData/SwiftPM/checkouts/dep/Package.swift", 0), 200'000'000);
    f.tree.file(dev + "CoreSimulator/Devices/UDID/data.img", 1500);
    XcodeCleanerViewController screen;
    QVERIFY(showScreen(screen) && scanAndWait(screen));
    // The checkouts have a row of their own but count once, inside DerivedData.
    QCOMPARE(screen.statusLabel()->text(), "3 ubicaciones · 600 MB en total");
    QCOMPARE(sizeText(*screen.items(), "SPM Checkouts"), "200 MB");
    tick(*screen.items(), "CoreSimulator Devices", true);

    AlertAnswerer answers(0);
    QSignalSpy finished(&screen, &XcodeCleanerViewController::cleanFinished);
    screen.doClean();
    QVERIFY(finished.wait(5000));
    QVERIFY(!f.tree.exists(dev + "Xcode/DerivedData"));
    QCOMPARE(f.trash->moved.size(), 1u);
    QVERIFY(f.tree.exists("trash-bin/1/UDID/data.img"));
    // DerivedData went first, so the checkouts were already gone: not freed twice.
    QCOMPARE(screen.statusLabel()->text(), "✅ Liberado: 600 MB");
    for (const char* name : {"DerivedData", "SPM Checkouts", "CoreSimulator Devices"})
        QCOMPARE(sizeText(*screen.items(), name), "Vacío");
    QVERIFY(!screen.cleanButton()->isEnabled());
}

void XcodeCleanerScreenTest::linuxDesktopListsDeveloperCachesInItsOwnWords()
{
    ScreenTestEnvironment f(linuxProfile());
    ScopedEnv cache("XDG_CACHE_HOME", nullptr);
    ScopedEnv pip("PIP_CACHE_DIR", nullptr);
    f.tree.file("home/.cache/pip/http/x", 2000);
    XcodeCleanerViewController screen;
    QVERIFY(showScreen(screen));
    const auto* header = screen.findChild<ScreenHeader*>();
    QVERIFY(header);
    QCOMPARE(header->titleLabel()->text(), QStringLiteral("Limpieza de Desarrollo"));
    QVERIFY(scanAndWait(screen));
    QCOMPARE(sizeText(*screen.items(), "pip"), QStringLiteral("2 KB"));
    QVERIFY(rowOf(*screen.items(), "DerivedData") < 0);

    AlertAnswerer answers(1);
    screen.doClean();
    QTRY_COMPARE(answers.shown.size(), 1u);
    QCOMPARE(answers.shown[0].message, QStringLiteral("¿Limpiar cachés de desarrollo?"));
    QVERIFY(f.tree.exists("home/.cache/pip/http/x"));
}

QTEST_MAIN(XcodeCleanerScreenTest)
#include "xcode_cleaner_screen_test.moc"

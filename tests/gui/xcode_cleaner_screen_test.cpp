// The developer caches screen: ticks, the confirmation and the two kinds of removal.
#include "gui/support/ShownScreen.h"
#include "gui/tools/xcode/XcodeCleanModel.h"
#include "gui/tools/xcode/XcodeCleanerViewController.h"

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct Screen : ShownScreen<XcodeCleanerViewController> {
    int rowOf(const std::string& name) const
    {
        const auto& items = screen.items()->items();
        for (size_t row = 0; row < items.size(); ++row)
            if (items[row].name == name)
                return static_cast<int>(row);
        return -1;
    }
    void tick(const std::string& name, bool on) { ShownScreen::tick(rowOf(name), on); }
    QString size(const std::string& name) const
    {
        return row(rowOf(name), XcodeCleanModel::size).data().toString();
    }
    bool cleanOn() const { return screen.cleanButton()->isEnabled(); }
};

} // namespace

class XcodeCleanerScreenTest : public QObject {
    Q_OBJECT
private slots:
    // Only a ticked location with something in it can be cleaned; a cancel keeps it.
    void ticksDriveTheCleanButtonAndCancelChangesNothing()
    {
        Screen s;
        s.env.tree.dir("home/Library/Developer/Xcode/UserData/Previews");
        s.env.tree.file("home/Library/Developer/Xcode/Archives/a.xcarchive/x", 2000);
        s.env.tree.file("home/Library/Developer/Xcode/iOS DeviceSupport/17/x", 3000);
        QVERIFY(s.run());
        QVERIFY(s.cleanOn());
        s.tick("iOS DeviceSupport", false);
        s.tick("Previews", true); // empty: still nothing to clean
        QVERIFY(!s.cleanOn());
        s.tick("Archives", true);
        QVERIFY(s.cleanOn());

        const auto asked = s.answering(1, [&] { s.screen.doClean(); });
        QVERIFY(asked.at(0).informativeText.startsWith("Se limpiarán 1 categorías (2 KB)."));
        QVERIFY(s.env.tree.exists("home/Library/Developer/Xcode/Archives/a.xcarchive/x"));
    }

    void cleanDeletesCachesAndTrashesKeptData()
    {
        Screen s;
        const std::string dev = "home/Library/Developer/";
        s.env.sparse(dev + "Xcode/DerivedData/App/Build/x.o", 400'000'000);
        s.env.sparse(dev + "Xcode/DerivedData/SwiftPM/checkouts/dep/Package.swift", 200'000'000);
        s.env.tree.file(dev + "CoreSimulator/Devices/UDID/data.img", 1500);
        QVERIFY(s.run());
        // The checkouts have a row of their own but count once, inside DerivedData.
        QCOMPARE(s.status(), "3 ubicaciones · 600 MB en total");
        QCOMPARE(s.size("SPM Checkouts"), "200 MB");
        s.tick("CoreSimulator Devices", true);

        s.answering(0, [&] { s.screen.doClean(); });
        QVERIFY(!s.env.tree.exists(dev + "Xcode/DerivedData"));
        QCOMPARE(s.env.trash->moved.size(), 1u);
        QVERIFY(s.env.tree.exists("trash-bin/1/UDID/data.img"));
        // DerivedData went first, so the checkouts were already gone: not freed twice.
        QCOMPARE(s.status(), "✅ Liberado: 600 MB");
        for (const char* name : {"DerivedData", "SPM Checkouts", "CoreSimulator Devices"})
            QCOMPARE(s.size(name), "Vacío");
        QVERIFY(!s.cleanOn());
    }
};

QTEST_MAIN(XcodeCleanerScreenTest)
#include "xcode_cleaner_screen_test.moc"

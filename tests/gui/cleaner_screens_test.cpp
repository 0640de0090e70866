// The cleaning screens: browsers' data, developer caches and startup items. What each
// removal takes is the engine's (its own tests); here, what the screens do around it.
#include "gui/support/ShownScreen.h"
#include "gui/tools/extensions/ExtensionsViewController.h"
#include "gui/tools/extensions/LaunchItemModel.h"
#include "gui/tools/privacy/PrivacyModel.h"
#include "gui/tools/privacy/PrivacyViewController.h"
#include "gui/tools/xcode/XcodeCleanModel.h"
#include "gui/tools/xcode/XcodeCleanerViewController.h"
#include "gui/widgets/ScreenHeader.h"

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct PrivacyScreen : ShownScreen<PrivacyViewController> {
    QStringList names() const
    {
        QStringList out;
        for (const auto& item : screen.items()->items())
            out << QString::fromUtf8(displayName(item.category)) + "/"
                    + QString::fromStdString(item.name);
        return out;
    }
    std::vector<AlertRequest> clean()
    {
        QSignalSpy finished(&screen, &PrivacyViewController::cleanFinished);
        return answering(
            0, [&] { screen.doClean(); }, [&] { return finished.count() > 0; });
    }
};

struct XcodeScreen : ShownScreen<XcodeCleanerViewController> {
    int rowOf(const std::string& name) const
    {
        const auto& items = screen.items()->items();
        for (size_t row = 0; row < items.size(); ++row)
            if (items[row].name == name)
                return static_cast<int>(row);
        return -1;
    }
    void tick(const std::string& name, bool on) { ShownScreen::tick(rowOf(name), on); }
    bool cleanOn() const { return screen.cleanButton()->isEnabled(); }
};

struct StartupScreen : ShownScreen<ExtensionsViewController> {
    using ShownScreen::ShownScreen;
    std::vector<AlertRequest> remove(int row, int answer = 0)
    {
        select({row});
        return answering(answer, [&] { QTest::mouseClick(screen.removeButton(), Qt::LeftButton); });
    }
    int rowOf(const QString& name) const
    {
        return static_cast<int>(column(LaunchItemModel::nameColumn).indexOf(name));
    }
};

std::string plist(const std::string& label)
{
    return "<plist><dict><key>Label</key><string>" + label + "</string></dict></plist>";
}

} // namespace

class CleanerScreensTest : public QObject {
    Q_OBJECT
private slots:
    // History is listed but never ticked by the scan; a running browser's rows are
    // refused with the engine's reason and stay, and go once it is closed; an unticked
    // row stays throughout.
    void cleanKeepsUntickedAndRefusedRows()
    {
        PrivacyScreen s;
        s.env.tree.file("home/Library/Caches/com.apple.Safari/Cache.db", 3000);
        s.env.tree.file(
            "home/Library/Application Support/Google/Chrome/Default/Cache/data_1", 5000);
        s.env.tree.file("home/Library/Safari/History.db", 4000);
        s.env.running->set({"com.apple.Safari"});
        QVERIFY(s.run());
        QCOMPARE(s.names(),
            (QStringList{"Safari/com.apple.Safari", "Google Chrome/Cache",
                "Safari/Historial · History.db"}));
        QVERIFY(!s.screen.items()->items()[2].isSelected);
        QCOMPARE(s.answering(1, [&] { s.screen.doClean(); }).size(), 1u);
        QCOMPARE(s.screen.items()->rowCount(), 3);

        auto asked = s.clean();
        QCOMPARE(asked.size(), 2u);
        QCOMPARE(asked[1].informativeText, "Cierra Safari y vuelve a intentarlo.");
        QCOMPARE(
            s.names(), (QStringList{"Safari/com.apple.Safari", "Safari/Historial · History.db"}));
        QCOMPARE(s.status(), "✅ Liberado: 5 KB");

        s.env.running->set({});
        QCOMPARE(s.clean().size(), 1u);
        QCOMPARE(s.names(), QStringList{"Safari/Historial · History.db"});
        QVERIFY(s.env.tree.exists("home/Library/Safari/History.db"));
    }

    // Only a ticked location with something in it can be cleaned; a cancel keeps it.
    void ticksDriveTheCleanButtonAndCancelChangesNothing()
    {
        XcodeScreen s;
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
        QVERIFY(asked.at(0).deletesPermanently); // Enter answers "Cancelar"
        QVERIFY(s.env.tree.exists("home/Library/Developer/Xcode/Archives/a.xcarchive/x"));
    }

    // The user's agents come before the machine's daemons; an item goes only once
    // confirmed, and one that cannot be deleted stays with the reason.
    void listsAgentsThenDaemonsAndDeletesOnlyAfterConfirming()
    {
        StartupScreen s;
        const std::string file = s.env.tree.text(
            "home/Library/LaunchAgents/com.user.helper.plist", plist("com.user.real"));
        s.env.tree.text("home/Library/LaunchAgents/bare.plist", "<plist><dict/></plist>");
        const std::string locked
            = s.env.tree.text("system/Library/LaunchDaemons/locked.plist", plist("locked"));
        s.env.tree.protect("system/Library/LaunchDaemons");
        QVERIFY(s.run());
        QCOMPARE(s.rowOf("locked"), 2);
        QCOMPARE(s.row(2, LaunchItemModel::pathColumn).data().toString(),
            QString::fromStdString(locked));

        s.remove(s.rowOf("com.user.real"), 1);
        QVERIFY(std::filesystem::exists(file));
        const auto asked = s.remove(s.rowOf("com.user.real"));
        // The confirmation names the file, not the label the list shows.
        QVERIFY(asked.at(0).informativeText.startsWith("Se eliminará:\ncom.user.helper\n"));
        QVERIFY(!std::filesystem::exists(file));
        QCOMPARE(s.model()->rowCount(), 2);
        QCOMPARE(s.status(), QStringLiteral("✅ Eliminado: com.user.helper"));
        QVERIFY(!s.screen.removeButton()->isEnabled());

        s.remove(1);
        QVERIFY(s.status().startsWith(QStringLiteral("❌ Error: ")));
        QVERIFY(s.status().size() > 10);
        QCOMPARE(s.model()->rowCount(), 2);
        QVERIFY(std::filesystem::exists(locked));
    }

    // On a Linux desktop a system entry is hidden by a user copy and stays listed as
    // disabled; the user's own entry goes to the Trash. /etc is never written.
    void linuxEntriesAreHiddenOrTrashedNeverDeleted()
    {
        StartupScreen s(linuxPlaces());
        const std::string entry = "[Desktop Entry]\nType=Application\nExec=/bin/true\nName=";
        const std::string system
            = s.env.tree.text("system/etc/xdg/autostart/sys.desktop", entry + "Sistema\n");
        const std::string mine
            = s.env.tree.text("home/.config/autostart/mine.desktop", entry + "Mío\n");
        QVERIFY(s.run());
        const int sysRow = s.rowOf("Sistema");
        QCOMPARE(s.remove(sysRow).at(0).message, QStringLiteral("¿Desactivar elemento de inicio?"));
        QCOMPARE(s.model()->rowCount(), 2);
        QVERIFY(s.row(sysRow, LaunchItemModel::sourceColumn)
                    .data()
                    .toString()
                    .endsWith(" · desactivado"));
        QCOMPARE(s.env.tree.read("system/etc/xdg/autostart/sys.desktop"), entry + "Sistema\n");
        QVERIFY(s.env.tree.read("home/.config/autostart/sys.desktop").find("Hidden=true")
            != std::string::npos);

        // The same button now turns it on again, asking nothing: the copy goes.
        QCOMPARE(s.screen.removeButton()->text(), QStringLiteral("Activar"));
        QVERIFY(s.remove(s.rowOf("Sistema")).empty());
        QTRY_COMPARE(s.status(), QStringLiteral("✅ Activado: Sistema"));
        QVERIFY(!s.env.tree.exists("home/.config/autostart/sys.desktop"));
        QVERIFY(!s.row(s.rowOf("Sistema"), LaunchItemModel::sourceColumn)
                     .data()
                     .toString()
                     .endsWith(" · desactivado"));
        QCOMPARE(s.screen.removeButton()->text(), QStringLiteral("Desactivar"));
        QCOMPARE(s.screen.header()->subtitleLabel()->text(),
            QStringLiteral("Administrá los programas y servicios que se inician con tu sesión"));

        s.remove(s.rowOf("Mío"));
        QCOMPARE(s.model()->rowCount(), 1);
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{mine});
        QVERIFY(std::filesystem::exists(system));
    }
};

QTEST_MAIN(CleanerScreensTest)
#include "cleaner_screens_test.moc"

// The startup items screen: listing launch items and deleting the chosen one.
#include "gui/support/ShownScreen.h"
#include "gui/tools/extensions/ExtensionsViewController.h"
#include "gui/tools/extensions/LaunchItemModel.h"

using namespace tidvale;
using namespace tidvale::gui;

namespace {

struct Screen : ShownScreen<ExtensionsViewController> {
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

class ExtensionsTest : public QObject {
    Q_OBJECT
private slots:
    // The user's agents come before the machine's daemons; an item goes only once
    // confirmed, and one that cannot be deleted stays with the reason.
    void listsAgentsThenDaemonsAndDeletesOnlyAfterConfirming()
    {
        Screen s;
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
        Screen s(linuxProfile());
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

        s.remove(s.rowOf("Mío"));
        QCOMPARE(s.model()->rowCount(), 1);
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{mine});
        QVERIFY(std::filesystem::exists(system));
    }
};

QTEST_MAIN(ExtensionsTest)
#include "extensions_test.moc"

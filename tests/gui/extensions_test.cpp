// The Extensiones screen: listing launch items and deleting the chosen one.
#include "gui/support/ShownScreen.h"
#include "gui/tools/extensions/ExtensionsViewController.h"
#include "gui/tools/extensions/LaunchItemModel.h"
#include "gui/widgets/PrimaryButton.h"

#include <QTableView>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

std::string plist(const std::string& label)
{
    return "<plist><dict><key>Label</key><string>" + label + "</string></dict></plist>";
}

} // namespace

class ExtensionsTest : public QObject {
    Q_OBJECT
private slots:
    void listsAgentsThenDaemonsAndDeletesOnlyAfterConfirming()
    {
        ShownScreen<ExtensionsViewController> s;
        const std::string file = s.env.tree.text(
            "home/Library/LaunchAgents/com.user.helper.plist", plist("com.user.real"));
        s.env.tree.text("home/Library/LaunchAgents/bare.plist", "<plist><dict/></plist>");
        const std::string locked
            = s.env.tree.text("system/Library/LaunchDaemons/locked.plist", plist("locked"));
        s.env.tree.protect("system/Library/LaunchDaemons");
        QVERIFY(!s.screen.removeButton()->isEnabled());
        QVERIFY(s.run());
        QCOMPARE(s.status(), QStringLiteral("3 elementos encontrados"));
        const QStringList ids = s.column(LaunchItemModel::nameColumn);
        QStringList agents = ids.mid(0, 2); // the user's agents, in the folder's order
        agents.sort();
        QCOMPARE(agents, (QStringList{"bare", "com.user.real"}));
        QCOMPARE(s.row(2, LaunchItemModel::sourceColumn).data().toString(),
            QStringLiteral("Daemon (Sistema)"));
        QCOMPARE(s.row(2, LaunchItemModel::pathColumn).data().toString(),
            QString::fromStdString(locked));

        auto select = [&](int row) {
            s.screen.tableView()->selectionModel()->select(
                s.row(row), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        };
        auto remove = [&] { QTest::mouseClick(s.screen.removeButton(), Qt::LeftButton); };
        select(static_cast<int>(ids.indexOf("com.user.real")));
        s.answering(1, remove);
        QVERIFY(std::filesystem::exists(file));
        const auto asked = s.answering(0, remove);
        QCOMPARE(s.model()->rowCount(), 2);
        // The confirmation names the file, not the label the list shows.
        QCOMPARE(asked.at(0).informativeText,
            QStringLiteral("Se eliminará:\ncom.user.helper\n\nEsto puede afectar el "
                           "funcionamiento de algunas aplicaciones."));
        QVERIFY(!std::filesystem::exists(file));
        QCOMPARE(s.status(), QStringLiteral("✅ Eliminado: com.user.helper"));
        QVERIFY(!s.screen.removeButton()->isEnabled());
        // Nothing selected: nothing asked.
        QVERIFY(s.answering(0, [&] { s.screen.removeSelected(); }).empty());

        select(1);
        s.answering(0, remove);
        QVERIFY(s.status().startsWith(QStringLiteral("❌ Error: ")));
        QVERIFY(s.status().size() > 10);
        QCOMPARE(s.model()->rowCount(), 2);
        QVERIFY(std::filesystem::exists(locked));
    }

    // On a Linux desktop a system entry is hidden by a user copy and stays listed as
    // disabled; the user's own entry goes to the Trash. /etc is never written.
    void linuxEntriesAreHiddenOrTrashedNeverDeleted()
    {
        ShownScreen<ExtensionsViewController> s(linuxProfile());
        const std::string entry = "[Desktop Entry]\nType=Application\nExec=/bin/true\nName=";
        const std::string system
            = s.env.tree.text("system/etc/xdg/autostart/sys.desktop", entry + "Sistema\n");
        const std::string mine
            = s.env.tree.text("home/.config/autostart/mine.desktop", entry + "Mío\n");
        QVERIFY(s.run());
        QCOMPARE(s.model()->rowCount(), 2);
        const int sysRow
            = static_cast<int>(s.column(LaunchItemModel::nameColumn).indexOf("Sistema"));
        auto remove = [&](int row) {
            s.screen.tableView()->selectionModel()->select(
                s.row(row), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            return s.answering(
                0, [&] { QTest::mouseClick(s.screen.removeButton(), Qt::LeftButton); });
        };

        const auto asked = remove(sysRow);
        QCOMPARE(asked.at(0).message, QStringLiteral("¿Desactivar elemento de inicio?"));
        QCOMPARE(s.status(), QStringLiteral("✅ Desactivado: Sistema"));
        QCOMPARE(s.model()->rowCount(), 2);
        QVERIFY(s.row(sysRow, LaunchItemModel::sourceColumn)
                    .data()
                    .toString()
                    .endsWith(" · desactivado"));
        QCOMPARE(s.env.tree.read("system/etc/xdg/autostart/sys.desktop"), entry + "Sistema\n");
        QVERIFY(s.env.tree.read("home/.config/autostart/sys.desktop").find("Hidden=true")
            != std::string::npos);

        remove(1 - sysRow);
        QCOMPARE(s.model()->rowCount(), 1);
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{mine});
        QVERIFY(std::filesystem::exists(system));
    }
};

QTEST_MAIN(ExtensionsTest)
#include "extensions_test.moc"

// The Extensiones screen: listing launch items and deleting the chosen one.
#include "gui/support/ScreenTestEnvironment.h"
#include "gui/tools/extensions/ExtensionsViewController.h"
#include "gui/tools/extensions/LaunchItemModel.h"
#include "gui/widgets/Alert.h"
#include "gui/widgets/PrimaryButton.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QTableView>
#include <QTest>

using namespace tidvale;
using namespace tidvale::gui;

namespace {

std::string plist(const std::string& label)
{
    return "<plist><dict><key>Label</key><string>" + label + "</string></dict></plist>";
}

struct ExtensionsScreen {
    ScreenTestEnvironment env;
    ExtensionsViewController screen;
    QAbstractItemModelTester tester{screen.items()};

    explicit ExtensionsScreen(const LocationsProfile& profile = macProfile())
        : env(profile)
    {
        screen.resize(760, 600);
        screen.show();
    }
    void load()
    {
        QTest::mouseClick(screen.loadButton(), Qt::LeftButton);
        QTRY_VERIFY(!screen.isLoading());
    }
    QString cell(int row, int column) const
    {
        return screen.items()->index(row, column).data().toString();
    }
    void select(int row)
    {
        screen.tableView()->selectionModel()->select(screen.items()->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
};

} // namespace

class ExtensionsTest : public QObject {
    Q_OBJECT
private slots:
    void listsAgentsThenDaemonsAndDeletesOnlyAfterConfirming()
    {
        ExtensionsScreen s;
        const std::string file = s.env.tree.text(
            "home/Library/LaunchAgents/com.user.helper.plist", plist("com.user.real"));
        s.env.tree.text("home/Library/LaunchAgents/bare.plist", "<plist><dict/></plist>");
        const std::string locked
            = s.env.tree.text("system/Library/LaunchDaemons/locked.plist", plist("locked"));
        s.env.tree.protect("system/Library/LaunchDaemons");
        QVERIFY(!s.screen.removeButton()->isEnabled());
        s.load();
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("3 elementos encontrados"));
        QStringList ids{s.cell(0, 0), s.cell(1, 0)};
        ids.sort();
        QCOMPARE(ids, (QStringList{"bare", "com.user.real"}));
        QCOMPARE(s.cell(2, LaunchItemModel::sourceColumn), QStringLiteral("Daemon (Sistema)"));
        QCOMPARE(s.cell(2, LaunchItemModel::pathColumn), QString::fromStdString(locked));

        s.select(s.cell(0, 0) == "bare" ? 1 : 0);
        {
            AlertAnswerer cancel(1);
            QTest::mouseClick(s.screen.removeButton(), Qt::LeftButton);
            QTRY_COMPARE(cancel.shown.size(), size_t(1));
            QCoreApplication::processEvents();
            QVERIFY(std::filesystem::exists(file));
        }
        AlertAnswerer confirm(0);
        QTest::mouseClick(s.screen.removeButton(), Qt::LeftButton);
        QTRY_COMPARE(s.screen.items()->rowCount(), 2);
        // The confirmation names the file, not the label the list shows.
        QCOMPARE(confirm.shown[0].informativeText,
            QStringLiteral("Se eliminará:\ncom.user.helper\n\nEsto puede afectar el "
                           "funcionamiento de algunas aplicaciones."));
        QVERIFY(!std::filesystem::exists(file));
        QCOMPARE(s.screen.statusLabel()->text(), QStringLiteral("✅ Eliminado: com.user.helper"));
        QVERIFY(!s.screen.removeButton()->isEnabled());
        s.screen.removeSelected(); // nothing selected: nothing asked
        QCoreApplication::processEvents();
        QCOMPARE(confirm.shown.size(), size_t(1));

        s.select(1);
        QTest::mouseClick(s.screen.removeButton(), Qt::LeftButton);
        QTRY_VERIFY(s.screen.statusLabel()->text().startsWith(QStringLiteral("❌ Error: ")));
        QVERIFY(s.screen.statusLabel()->text().size() > 10);
        QCOMPARE(s.screen.items()->rowCount(), 2);
        QVERIFY(std::filesystem::exists(locked));
    }

    // On a Linux desktop a system entry is hidden by a user copy and stays listed as
    // disabled; the user's own entry goes to the Trash. /etc is never written.
    void linuxEntriesAreHiddenOrTrashedNeverDeleted()
    {
        ExtensionsScreen s(linuxProfile());
        const std::string entry = "[Desktop Entry]\nType=Application\nExec=/bin/true\nName=";
        const std::string system
            = s.env.tree.text("system/etc/xdg/autostart/sys.desktop", entry + "Sistema\n");
        const std::string mine
            = s.env.tree.text("home/.config/autostart/mine.desktop", entry + "Mío\n");
        s.load();
        QCOMPARE(s.screen.items()->rowCount(), 2);
        const int sysRow = s.cell(0, 0) == "Sistema" ? 0 : 1;

        AlertAnswerer confirm(0);
        s.select(sysRow);
        QTest::mouseClick(s.screen.removeButton(), Qt::LeftButton);
        QTRY_COMPARE(s.screen.statusLabel()->text(), QStringLiteral("✅ Desactivado: Sistema"));
        QCOMPARE(confirm.shown[0].message, QStringLiteral("¿Desactivar elemento de inicio?"));
        QCOMPARE(s.screen.items()->rowCount(), 2);
        QVERIFY(s.cell(sysRow, LaunchItemModel::sourceColumn).endsWith(" · desactivado"));
        QCOMPARE(s.env.tree.read("system/etc/xdg/autostart/sys.desktop"), entry + "Sistema\n");
        QVERIFY(s.env.tree.read("home/.config/autostart/sys.desktop").find("Hidden=true")
            != std::string::npos);

        s.select(1 - sysRow);
        QTest::mouseClick(s.screen.removeButton(), Qt::LeftButton);
        QTRY_COMPARE(s.screen.items()->rowCount(), 1);
        QCOMPARE(s.env.trash->moved, std::vector<std::string>{mine});
        QVERIFY(std::filesystem::exists(system));
    }
};

QTEST_MAIN(ExtensionsTest)
#include "extensions_test.moc"

// The Linux workspace backend against a stand-in file manager on a private session bus:
// the requests must reach org.freedesktop.FileManager1 with URIs that name the very
// file, whatever bytes its name holds.
#include "platform/Workspace.h"
#include "support/TestTree.h"

#include <QDBusConnection>
#include <QProcess>
#include <QTest>
#include <QUrl>

#include <cstdlib>

class FileManagerStandIn : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList calls; // "<method> <uri>"
public slots:
    void ShowItems(const QStringList& uris, const QString&)
    {
        calls << "ShowItems " + uris.join(' ');
    }
    void ShowItemProperties(const QStringList& uris, const QString&)
    {
        calls << "ShowItemProperties " + uris.join(' ');
    }
};

class WorkspaceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        daemon_.start(QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--print-address")});
        if (!daemon_.waitForStarted(5000) || !daemon_.waitForReadyRead(5000))
            QSKIP("dbus-daemon is not available");
        const QString address = QString::fromUtf8(daemon_.readLine()).trimmed();
        // GIO reads the session bus address when it first connects.
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8().constData(), 1);
        bus_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(address, QStringLiteral("stand-in")));
        QVERIFY(bus_->isConnected());
        QVERIFY(bus_->registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &fm_,
            QDBusConnection::ExportAllSlots));
        QVERIFY(bus_->registerService(QStringLiteral("org.freedesktop.FileManager1")));
    }

    void revealAndInformationReachTheFileManager()
    {
        TestTree tree;
        const std::string odd = tree.file("carpeta/año \"viejo\" #1.txt", 3);
        const std::string invalid = tree.file(std::string("bad\xff name"), 3);
        auto workspace = tidvale::platform::systemWorkspace();
        QVERIFY(workspace->reveal(odd));
        QVERIFY(workspace->showInformation(invalid));
        QTRY_COMPARE(fm_.calls.size(), 2);

        QVERIFY(fm_.calls[0].startsWith(QStringLiteral("ShowItems file://")));
        QCOMPARE(QUrl(fm_.calls[0].section(' ', 1)).toLocalFile(), QString::fromStdString(odd));
        QVERIFY(fm_.calls[1].startsWith(QStringLiteral("ShowItemProperties file://")));
        // The byte that is not UTF-8 travels percent-escaped, not replaced.
        QVERIFY2(fm_.calls[1].endsWith(QStringLiteral("/bad%FF%20name")), qPrintable(fm_.calls[1]));
    }

    // With no file manager on the bus and no application for folders, the request is
    // refused at once, so the screen can say so.
    void noFileManagerRefusesAtOnce()
    {
        TestTree tree;
        const std::string file = tree.file("a.txt", 3);
        QVERIFY(bus_->unregisterService(QStringLiteral("org.freedesktop.FileManager1")));
        ::setenv("XDG_DATA_HOME", tree.path("data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", tree.path("none").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", tree.path("config").c_str(), 1);
        auto workspace = tidvale::platform::systemWorkspace();
        QVERIFY(!workspace->reveal(file));
        QVERIFY(!workspace->showInformation(file));
        QVERIFY(!workspace->openWithDefaultApplication(file)); // and no folder instead
        QCOMPARE(fm_.calls.size(), 2);                         // only the two of the first test
    }

    void cleanupTestCase()
    {
        if (bus_)
            QDBusConnection::disconnectFromBus(QStringLiteral("stand-in"));
        daemon_.kill();
        daemon_.waitForFinished(3000);
    }

private:
    QProcess daemon_;
    std::unique_ptr<QDBusConnection> bus_;
    FileManagerStandIn fm_;
};

QTEST_MAIN(WorkspaceTest)
#include "workspace_test.moc"

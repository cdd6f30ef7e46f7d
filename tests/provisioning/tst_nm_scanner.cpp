// The NetworkManager scanner against python-dbusmock's NetworkManager on a
// private bus that the test starts (never the machine's own buses).
#include "provisioning/nm_scanner.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>

namespace {

const QString kNm = QStringLiteral("org.freedesktop.NetworkManager");
const QString kNmPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kDevices = kNmPath + QStringLiteral("/Devices/"), kAps = kNmPath + QStringLiteral("/AccessPoint/");
const QString kWireless = kNm + QStringLiteral(".Device.Wireless");

} // namespace

class NmScanner : public QObject
{
    Q_OBJECT
private:
    QProcess m_daemon;
    QString m_address;
    QDBusConnection m_bus{QString()};

    // Calls the mock's own interface; fails the test on an error reply.
    void mock(const QString &path, const QString &method, const QVariantList &args)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kNm, path, kMock, method);
        call.setArguments(args);
        const QDBusMessage reply = m_bus.call(call);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    }

private slots:
    void initTestCase()
    {
        m_daemon.start(LPS_DBUS_DAEMON, {"--session", "--print-address", "--nofork"});
        QVERIFY(m_daemon.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        m_bus = QDBusConnection::connectToBus(m_address, "nm-test");
        QVERIFY(m_bus.isConnected());
    }
    void cleanupTestCase()
    {
        m_bus = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus("nm-test");
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    void scan_data()
    {
        QTest::addColumn<QStringList>("setup");    // what the mock NetworkManager has; empty: none runs
        QTest::addColumn<QString>("expected");     // outcome (0 listed, 1 no service, 2 no device, 3 off), then name:dBm, "*" marking the connected one
        QTest::newRow("listed") << QStringList{"wifi", "ap a1 Office 80", "ap a2 打印机网络 55", "ap a3 Cafe 100",
                                               "ap a4 - 40", "active a1"}
                                << "0 *Office:-60 打印机网络:-73 Cafe:-50";
        QTest::newRow("scan refused: the last list") << QStringList{"wifi", "ap a1 Cafe 0", "refuse"} << "0 Cafe:-100";
        QTest::newRow("no Wi-Fi device") << QStringList{"ethernet"} << "2";
        QTest::newRow("Wi-Fi switched off") << QStringList{"wifi", "ap a1 Cafe 50", "off"} << "3";
        QTest::newRow("NetworkManager absent") << QStringList{} << "1";
    }
    void scan()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, expected);
        QProcess nm;
        if (!setup.isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("DBUS_SESSION_BUS_ADDRESS", m_address);
            nm.setProcessEnvironment(env);
            nm.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            nm.start(LPS_PYTHON3, {"-m", "dbusmock", "--session", "--template", "networkmanager"});
            QTRY_VERIFY_WITH_TIMEOUT(m_bus.interface()->isServiceRegistered(kNm), 20000);
        }
        for (const QString &line : std::as_const(setup)) {
            const QStringList w = line.split(' ');
            if (w[0] == "wifi")
                mock(kNmPath, "AddWiFiDevice", {"wlan0", "wlan0", 100});
            if (w[0] == "ethernet")
                mock(kNmPath, "AddEthernetDevice", {"eth0", "eth0", 100});
            if (w[0] == "ap")
                mock(kNmPath, "AddAccessPoint", {kDevices + "wlan0", w[1], w[2] == "-" ? QString() : w[2],
                                                 "00:11:22:33:44:55", 2u, 2412u, 54000u,
                                                 QVariant::fromValue(uchar(w[3].toUInt())), 0u});
            if (w[0] == "active")
                mock(kDevices + "wlan0", "AddProperty",
                     {kWireless, "ActiveAccessPoint", QVariant::fromValue(QDBusVariant(QVariant::fromValue(
                                                          QDBusObjectPath(kAps + w[1]))))});
            if (w[0] == "refuse")
                mock(kDevices + "wlan0", "AddMethod", {kWireless, "RequestScan", "a{sv}", "",
                     "raise dbus.exceptions.DBusException('busy', name='org.freedesktop.NetworkManager.Device.NotAllowed')"});
            if (w[0] == "off")
                mock(kNmPath, "SetProperty", {kNmPath, kNm, "WirelessEnabled", QVariant::fromValue(QDBusVariant(false))});
        }
        const WifiScan result = NetworkManagerScanner([] { return QDBusConnection("nm-test"); }).scan();
        QStringList shown{QString::number(int(result.outcome))};
        for (const WifiInfo &w : result.networks)
            shown << QStringLiteral("%1%2:%3").arg(w.isCurrent ? "*" : "", w.ssid).arg(w.rssi);
        QCOMPARE(shown.join(' '), expected);
        nm.kill();
        nm.waitForFinished();
        QTRY_VERIFY_WITH_TIMEOUT(!m_bus.interface()->isServiceRegistered(kNm), 10000);
    }
};

QTEST_GUILESS_MAIN(NmScanner)
#include "tst_nm_scanner.moc"

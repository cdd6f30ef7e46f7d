// The NetworkManager scanner against python-dbusmock's NetworkManager on a
// private bus that the test starts (never the machine's own buses).
#include "provisioning/nm_scanner.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

namespace {

const QString kNm = QStringLiteral("org.freedesktop.NetworkManager"), kPath = "/org/freedesktop/NetworkManager";
const QString kWlan = kPath + "/Devices/wlan0", kWireless = kNm + ".Device.Wireless";

QVariant variant(const QVariant &value) { return QVariant::fromValue(QDBusVariant(value)); }

// The mock's own call for a setup word: "wifi" and "ethernet" add a device,
// "ap NAME SSID PERCENT" an access point to wlan0 ("-": no name), "active NAME"
// makes it wlan0's active one, "ssid NAME HEX" gives it a name of those
// bytes, "refuse" makes wlan0 refuse scan requests, "hang" makes it never
// answer GetAllAccessPoints (nor anything after), "off" switches Wi-Fi off.
QDBusMessage setupCall(const QStringList &w)
{
    const auto call = [](const QString &path, const QString &method, const QVariantList &args) {
        QDBusMessage m = QDBusMessage::createMethodCall(kNm, path, "org.freedesktop.DBus.Mock", method);
        m.setArguments(args);
        return m;
    };
    if (w[0] == "wifi")
        return call(kPath, "AddWiFiDevice", {"wlan0", "wlan0", 100});
    if (w[0] == "ethernet")
        return call(kPath, "AddEthernetDevice", {"eth0", "eth0", 100});
    if (w[0] == "ap")
        return call(kPath, "AddAccessPoint", {kWlan, w[1], w[2] == "-" ? QString() : w[2], "00:11:22:33:44:55", 2u,
                                              2412u, 54000u, QVariant::fromValue(uchar(w[3].toUInt())), 0u});
    if (w[0] == "active")
        return call(kWlan, "AddProperty", {kWireless, "ActiveAccessPoint",
                                           variant(QVariant::fromValue(QDBusObjectPath(kPath + "/AccessPoint/" + w[1])))});
    if (w[0] == "ssid")
        return call(kPath, "SetProperty", {kPath + "/AccessPoint/" + w[1], kNm + ".AccessPoint", "Ssid",
                                           variant(QByteArray::fromHex(w[2].toLatin1()))});
    if (w[0] == "hang")
        return call(kWlan, "AddMethod", {kWireless, "GetAllAccessPoints", "", "ao", "__import__('time').sleep(600)"});
    if (w[0] == "refuse")
        return call(kWlan, "AddMethod", {kWireless, "RequestScan", "a{sv}", "", "raise dbus.exceptions."
                                         "DBusException('busy', name='" + kNm + ".Device.NotAllowed')"});
    return call(kPath, "SetProperty", {kPath, kNm, "WirelessEnabled", variant(false)});
}

} // namespace

class NmScanner : public QObject
{
    Q_OBJECT
    QProcess m_daemon;
    QString m_address;

private slots:
    void initTestCase()
    {
        m_daemon.start(LPS_DBUS_DAEMON, {"--session", "--print-address", "--nofork"});
        QVERIFY(m_daemon.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        QVERIFY(QDBusConnection::connectToBus(m_address, "nm-test").isConnected());
    }
    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus("nm-test");
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    void scan_data()
    {
        QTest::addColumn<QStringList>("setup");   // see setupCall(); empty: no NetworkManager at all
        QTest::addColumn<QString>("expected");    // outcome (0 listed, 1 no service, 2 no device, 3 off, 4 no
                                                  // answer), then name:dBm, "*" marking the connected one, the
                                                  // bytes in brackets when they are not the name's UTF-8
        QTest::newRow("listed") << QStringList{"wifi", "ap a1 Office 80", "ap a2 打印机网络 55", "ap a3 Cafe 100",
                                               "ap a4 - 40", "active a1"} << "0 *Office:-60 打印机网络:-73 Cafe:-50";
        QTest::newRow("scan refused: the last list") << QStringList{"wifi", "ap a1 Cafe 0", "refuse"} << "0 Cafe:-100";
        QTest::newRow("no Wi-Fi device") << QStringList{"ethernet"} << "2";
        QTest::newRow("Wi-Fi switched off") << QStringList{"wifi", "ap a1 Cafe 50", "off"} << "3";
        QTest::newRow("NetworkManager absent") << QStringList{} << "1";
        // Shown with replacement characters, handed over as the bytes, trimmed of blanks only.
        QTest::newRow("name not UTF-8") << QStringList{"wifi", "ap a1 x 50", "ssid a1 20D6D0CEC420"}
                                        << "0 \uFFFD\uFFFD\uFFFD\uFFFD:-75[d6d0cec4]";
        QTest::newRow("stops answering: not Wi-Fi off") << QStringList{"wifi", "ap a1 Cafe 50", "hang"} << "4";
    }
    void scan()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, expected);
        QDBusConnection bus("nm-test");
        QProcess nm;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", m_address);
        nm.setProcessEnvironment(env);
        if (!setup.isEmpty())
            nm.start(LPS_PYTHON3, {"-m", "dbusmock", "--session", "--template", "networkmanager"});
        QTRY_COMPARE_WITH_TIMEOUT(bus.interface()->isServiceRegistered(kNm).value(), !setup.isEmpty(), 20000);
        for (const QString &line : std::as_const(setup))
            QCOMPARE(bus.call(setupCall(line.split(' '))).errorMessage(), QString());
        QElapsedTimer clock;
        clock.start();
        const WifiScan result = NetworkManagerScanner([] { return QDBusConnection("nm-test"); }).scan();
        QVERIFY(clock.elapsed() < NetworkManagerScanner::kScanCapMs);
        QStringList shown{QString::number(int(result.outcome))};
        for (const WifiInfo &w : result.networks)
            shown << QStringLiteral("%1%2:%3").arg(w.isCurrent ? "*" : "", w.ssid).arg(w.rssi)
                         + (w.ssidBytes.isEmpty() ? QString() : '[' + w.ssidBytes.toHex() + ']');
        QCOMPARE(shown.join(' '), expected);
        nm.kill();
        nm.waitForFinished();
        QTRY_VERIFY_WITH_TIMEOUT(!bus.interface()->isServiceRegistered(kNm), 10000);
    }
};

QTEST_GUILESS_MAIN(NmScanner)
#include "tst_nm_scanner.moc"

// A serial line as plain values: the time bytes take on it, the chunks a
// stream is cut into, the order the open tries rates in, framing and
// printer addresses as the command line writes them, the time left of a
// long transfer, and which listed ports are Bluetooth links.
#include "protocol/serial_line.h"
#include "query/printer_session.h"
#include "transport/serial_transport.h"

#include <QtTest>

Q_DECLARE_METATYPE(PortSystem)

class TestSerialLine : public QObject
{
    Q_OBJECT

private slots:
    void lineTime_data()
    {
        QTest::addColumn<QString>("framing");
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("chunk");
        // Ten bits a byte for 8N1, twelve for 8E2; whole milliseconds up.
        QTest::newRow("the longest reply at 115200") << "8N1" << 115200 << 264 << 23 << 1152;
        QTest::newRow("8E2") << "8E2" << 9600 << 8 << 10 << 80;
        QTest::newRow("slowest: one byte a chunk") << "8N1" << 50 << 1 << 200 << 1;
        QTest::newRow("fastest: the USB chunk at most") << "8N1" << 4000000 << 10240 << 26 << 10240;
    }

    void lineTime()
    {
        QFETCH(QString, framing);
        QFETCH(int, baud);
        QFETCH(int, bytes);
        QFETCH(int, ms);
        QFETCH(int, chunk);
        serial::LineSettings s;
        QVERIFY(serial::parseFraming(framing, s));
        s.baud = baud;
        QCOMPARE(serial::lineTimeMs(bytes, s), ms);
        QCOMPARE(serial::chunkBytes(s, 10240), chunk);
    }

    void searchOrder()
    {
        QCOMPARE(serial::searchOrder(115200).mid(0, 8),
                 (QList<qint32>{115200, 9600, 19200, 38400, 57600, 4800, 14400, 56000}));
        QCOMPARE(serial::searchOrder(57600).mid(0, 6), (QList<qint32>{57600, 9600, 115200, 19200, 38400, 4800}));
        QCOMPARE(serial::searchOrder(1234).size(), serial::comboRates().size() + 1);
    }

    void addresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("parsed");   // path baud framing flow, or "refused"
        QTest::newRow("path only: look for the rate") << "serial:/dev/ttyUSB0" << "/dev/ttyUSB0 search 8N1 none";
        QTest::newRow("everything") << "serial:COM3:9600:7e2:hw" << "COM3 9600 7E2 hw";
        QTest::newRow("framing, rate looked for") << "serial:/dev/rfcomm0::8N2" << "/dev/rfcomm0 search 8N2 none";
        QTest::newRow("no path") << "serial:" << "refused";
        QTest::newRow("rate not a number") << "serial:/dev/x:fast" << "refused";
        QTest::newRow("rate zero") << "serial:/dev/x:0" << "refused";
        QTest::newRow("framing") << "serial:/dev/x:9600:8X1" << "refused";
        QTest::newRow("flow") << "serial:/dev/x:9600:8N1:rts" << "refused";
        QTest::newRow("too many parts") << "serial:/dev/x:9600:8N1:sw:1" << "refused";
    }

    void addresses()
    {
        QFETCH(QString, text);
        QFETCH(QString, parsed);
        QString error;
        const std::optional<PrinterAddress> a = parsePrinterAddress(text, &error);
        const QString seen = !a ? QStringLiteral("refused")
                                : QStringLiteral("%1 %2 %3 %4")
                                      .arg(a->path, a->baudGiven ? QString::number(a->line.baud) : QStringLiteral("search"),
                                           serial::framingText(a->line), serial::flowText(a->line.flow));
        QCOMPARE(seen, parsed);
        QCOMPARE(error.isEmpty(), a.has_value());
    }

    void timeLeft()
    {
        // Too early to tell, then the rest at the pace so far.
        QCOMPARE(serial::secondsLeft(0, 100, 60000), -1);
        QCOMPARE(serial::secondsLeft(10, 100, 60000), 540);
        QCOMPARE(serial::durationText(540), QStringLiteral("9:00"));
        QCOMPARE(serial::durationText(7325), QStringLiteral("2:02:05"));
    }

    void bluetooth_data()
    {
        QTest::addColumn<PortSystem>("system");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("manufacturer");
        QTest::addColumn<bool>("vendorId");
        QTest::addColumn<bool>("bluetooth");
        const PortSystem onLinux = PortSystem::Linux, mac = PortSystem::MacOS, windows = PortSystem::Windows;
        QTest::newRow("Linux rfcomm") << onLinux << "rfcomm0" << "" << "" << false << true;
        QTest::newRow("Linux adapter") << onLinux << "ttyUSB0" << "FT232R USB UART" << "FTDI" << true << false;
        QTest::newRow("Windows Bluetooth") << windows << "COM5" << "Standard Serial over Bluetooth link" << "Microsoft"
                                           << false << true;
        QTest::newRow("Windows, Chinese") << windows << "COM6" << "蓝牙链接上的标准串行" << "Microsoft" << false << true;
        QTest::newRow("Windows adapter") << windows << "COM3" << "USB Serial Port" << "FTDI" << true << false;
        QTest::newRow("macOS paired printer") << mac << "cu.LP200-SerialPort" << "LP200" << "" << false << true;
        QTest::newRow("macOS adapter") << mac << "cu.usbserial-1410" << "FT232R USB UART" << "FTDI" << true << false;
        QTest::newRow("macOS debug console") << mac << "cu.debug-console" << "" << "" << false << false;
    }

    void bluetooth()
    {
        QFETCH(PortSystem, system);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QFETCH(QString, manufacturer);
        QFETCH(bool, vendorId);
        QFETCH(bool, bluetooth);
        QCOMPARE(isBluetoothLink({name, "/dev/" + name, description, manufacturer, vendorId}, system), bluetooth);
    }
};

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serial_line.moc"

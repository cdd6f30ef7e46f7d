// The query, status and function helpers over TCP, end to end against the
// emulated printer on 127.0.0.1, and the direct probe the scan uses on
// the Wi-Fi medium.
#include "fake_scan_host.h"
#include "protocol/frame.h"
#include "query/printer_io.h"
#include "tools/emulator/net/net_faces.h"
#include "transport/net_transport.h"

#include <QTcpServer>
#include <QTest>

#include <array>
#include <memory>

namespace {

using Result = std::array<unsigned char, proto::kResultBufferSize>;

QByteArray leading(const Result &out, qsizetype n)
{
    return QByteArray(reinterpret_cast<const char *>(out.data()), n);
}

bool zeroFrom(const Result &out, size_t from)
{
    for (size_t i = from; i < out.size(); ++i) {
        if (out[i] != 0)
            return false;
    }
    return true;
}

} // namespace

class TestNetPrinterIo : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<emu::NetPrinter> m_printer;
    std::unique_ptr<DeviceIoContrl_Net> m_net;
    FakeScanHost m_host;

    emu::PrinterModel &model() { return m_printer->model(); }

private slots:
    void init()
    {
        m_printer = std::make_unique<emu::NetPrinter>();
        emu::NetPrinter::Config config;
        config.tcpPort = 0;
        QVERIFY2(m_printer->start(config), qPrintable(m_printer->errorString()));
        m_host = FakeScanHost();
        m_host.wifi = true;
        m_host.address = QStringLiteral("127.0.0.1");
        m_host.tcpPort = QString::number(m_printer->tcpPort());
        m_net = std::make_unique<DeviceIoContrl_Net>(&m_host);
    }

    void cleanup()
    {
        m_net.reset();
        m_printer.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void getPrinterInfo_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("label size") << int(LABEL_SIZE) << QByteArray::fromHex("2003c001");
        QTest::newRow("empty payload") << int(PRINT_DIRECTION) << QByteArray();
    }
    void getPrinterInfo()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, stored);
        model().setSetting(quint8(type), stored);
        QCOMPARE(m_net->Connect_Server(QStringLiteral("127.0.0.1"), m_printer->tcpPort()), 0);
        QVERIFY(DeviceIoContrl_Net::connectSocket());
        model().clearLog();

        Result out;
        out.fill(0xEE);
        QCOMPARE(GetPrinterInfo(SetInfoType(type), out.data(), MediumNet), 0);
        QCOMPARE(leading(out, stored.size()), stored);
        QVERIFY(zeroFrom(out, size_t(stored.size())));
        QCOMPARE(model().frames().size(), 1);
        QCOMPARE(model().frames().first().bytes, frame(0x02, quint8(type)));
        DeviceIoContrl_Net::disconnectSocket();
    }

    void statusInfoAndFunction()
    {
        model().setFirmwareVersion(QStringLiteral("V2.31"));
        QCOMPARE(m_net->Connect_Server(QStringLiteral("127.0.0.1"), m_printer->tcpPort()), 0);
        model().clearLog();

        Result out;
        QCOMPARE(GetPrinterStatusInfo(FIRMWARE_VERSION, out.data(), MediumNet), 0);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out.data())), QByteArray("V2.31"));

        QCOMPARE(SetPrinterStatusButton(SEAM_LEARN, MediumNet), 0);
        QVERIFY(model().waitForFrames(2, 5000));
        QCOMPARE(model().frames().at(0).bytes, frame(0x00, 0x04));
        QCOMPARE(model().frames().at(1).bytes, frame(0x00, 0x07));

        // A set frame written through the helper changes the stored value.
        QCOMPARE(SendFrame(QByteArray::fromHex("1bfffe01000102 1bfeff"), MediumNet), 0);
        QVERIFY(model().waitForFrames(3, 5000));
        QCOMPARE(model().setting(SPEED), QByteArray::fromHex("02"));
        QCOMPARE(GetPrinterInfo(SPEED, out.data(), MediumNet), 0);
        QCOMPARE(int(out[0]), 2);
    }

    // What the helper leaves the caller when the exchange fails: 6 and a
    // zeroed result area (the transport pins each fault's own behaviour).
    void failures_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("wrongCode");
        QTest::newRow("silent") << true << true << false;
        QTest::newRow("wrong code") << true << false << true;
        QTest::newRow("no socket") << false << false << false;
    }
    void failures()
    {
        QFETCH(bool, open);
        QFETCH(bool, silent);
        QFETCH(bool, wrongCode);
        emu::Faults faults;
        faults.silent = silent;
        faults.wrongCode = wrongCode;
        model().setFaults(faults);
        if (open)
            QCOMPARE(m_net->Connect_Server(QStringLiteral("127.0.0.1"), m_printer->tcpPort()), 0);
        Result out;
        out.fill(0xEE);
        QCOMPARE(GetPrinterInfo(Densty_SETTING, out.data(), MediumNet), 6);
        QVERIFY(zeroFrom(out, 0));
    }

    // Wi-Fi medium: the scan opens the typed address and asks for the
    // identity over TCP instead of broadcasting.
    void directProbe_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<QString>("entry");
        QTest::newRow("listed") << QStringLiteral("MFG: ACME ;MDL:X;")
                                << QStringLiteral("ACME [LP-433] {127.0.0.1}");
        QTest::newRow("no MFG item") << QStringLiteral("MDL:X;CMD:TSPL;") << QString();
    }
    void directProbe()
    {
        QFETCH(QString, deviceId);
        QFETCH(QString, entry);
        model().setIdentity(QStringLiteral("V0"), QStringLiteral("LP-433"), deviceId);
        Printer_Vector list;
        QCOMPARE(m_net->GetPrinterHandle(nullptr, list), 1);
        QVERIFY(list.empty());
        QCOMPARE(m_host.entries, entry.isEmpty() ? QStringList() : QStringList{entry});
        const auto data = m_net->getmData();
        if (entry.isEmpty()) {
            QVERIFY(data.empty());
        } else {
            QCOMPARE(data.size(), size_t(1));
            QCOMPARE(data.at("127.0.0.1"), std::string("LP-433"));
        }
        QVERIFY(model().waitForFrames(1, 5000));
        QCOMPARE(model().frames().first().bytes, frame(0x02, 0x0C));
        // The probe closes what it opened.
        QVERIFY(!DeviceIoContrl_Net::getHandle()->pSocket);
    }

    void directProbeFails_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("result");
        QTest::newRow("nothing listens") << QStringLiteral("closed port") << 0;
        QTest::newRow("port text not a number") << QStringLiteral("bad port") << 0;
        QTest::newRow("printer silent") << QStringLiteral("silent") << 0;
        QTest::newRow("scan already stopped") << QStringLiteral("stopped") << 1;
    }
    void directProbeFails()
    {
        QFETCH(QString, situation);
        QFETCH(int, result);
        if (situation == QLatin1String("closed port")) {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            m_host.tcpPort = QString::number(probe.serverPort());
            probe.close();
        } else if (situation == QLatin1String("bad port")) {
            m_host.tcpPort = QStringLiteral("70000");
        } else if (situation == QLatin1String("silent")) {
            emu::Faults faults;
            faults.silent = true;
            model().setFaults(faults);
        } else {
            m_host.running = false;
        }
        Printer_Vector list;
        QCOMPARE(m_net->GetPrinterHandle(nullptr, list), result);
        QVERIFY(m_host.entries.isEmpty());
        if (situation == QLatin1String("stopped"))
            QCOMPARE(m_printer->acceptedConnections(), 0);
    }
};

QTEST_GUILESS_MAIN(TestNetPrinterIo)
#include "tst_net_printer_io.moc"

// The query, status and function helpers over TCP, end to end against the
// emulated printer on 127.0.0.1, and the direct probe the scan uses on
// the Wi-Fi medium.
#include "fake_scan_host.h"
#include "protocol/printer_io.h"
#include "tools/emulator/net/net_faces.h"
#include "transport/net_transport.h"
#include "ui/shared_state.h"

#include <QTcpServer>
#include <QTest>

#include <array>
#include <memory>

namespace {

// One fault switched on, everything else as a healthy printer.
template <typename Change>
emu::Faults withFault(Change change)
{
    emu::Faults faults;
    change(faults);
    return faults;
}

using Result = std::array<unsigned char, kResultBufferSize>;

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
        getListStatus = true;
    }

    void cleanup()
    {
        m_net.reset();
        m_printer.reset();
        getListStatus = false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void getPrinterInfo_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("density") << int(Densty_SETTING) << QByteArray::fromHex("05");
        QTest::newRow("label size") << int(LABEL_SIZE) << QByteArray::fromHex("2003c001");
        QTest::newRow("serial number") << int(SN) << QByteArray("SN-77\0", 6);
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
        QCOMPARE(model().frames().first().bytes.toHex(' '),
                 (QByteArray::fromHex("1bfffe02") + char(type) + QByteArray::fromHex("001bfeff"))
                     .toHex(' '));
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
        QCOMPARE(model().frames().at(0).bytes.toHex(' '),
                 QByteArray::fromHex("1bfffe000400 1bfeff").toHex(' '));
        QCOMPARE(model().frames().at(1).bytes.toHex(' '),
                 QByteArray::fromHex("1bfffe000700 1bfeff").toHex(' '));

        // A set frame written through the helper changes the stored value.
        QCOMPARE(SendFrame(QByteArray::fromHex("1bfffe01000102 1bfeff"), MediumNet), 0);
        QVERIFY(model().waitForFrames(3, 5000));
        QCOMPARE(model().setting(SPEED), QByteArray::fromHex("02"));
        QCOMPARE(GetPrinterInfo(SPEED, out.data(), MediumNet), 0);
        QCOMPARE(int(out[0]), 2);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("result");
        QTest::newRow("silent") << QStringLiteral("silent") << 6;
        QTest::newRow("wrong code") << QStringLiteral("wrong code") << 6;
        QTest::newRow("no socket") << QStringLiteral("no socket") << 6;
    }
    void failures()
    {
        QFETCH(QString, fault);
        QFETCH(int, result);
        if (fault == QLatin1String("silent"))
            model().setFaults(withFault([](emu::Faults &f) { f.silent = true; }));
        if (fault == QLatin1String("wrong code"))
            model().setFaults(withFault([](emu::Faults &f) { f.wrongCode = true; }));
        if (fault != QLatin1String("no socket"))
            QCOMPARE(m_net->Connect_Server(QStringLiteral("127.0.0.1"), m_printer->tcpPort()), 0);
        Result out;
        out.fill(0xEE);
        QCOMPARE(GetPrinterInfo(Densty_SETTING, out.data(), MediumNet), result);
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
        QCOMPARE(model().frames().first().bytes.toHex(' '),
                 QByteArray::fromHex("1bfffe020c00 1bfeff").toHex(' '));
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
            model().setFaults(withFault([](emu::Faults &f) { f.silent = true; }));
        } else {
            getListStatus = false;
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

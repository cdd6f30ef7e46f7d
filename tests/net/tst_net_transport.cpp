// The TCP transport and the query helpers over it, against the emulated
// printer on 127.0.0.1: its fault modes, the reconnect rules, the debug
// console's bytes, and the direct probe that the scan makes on the Wi-Fi
// medium.
#include "fake_scan_host.h"
#include "protocol/result.h"
#include "query/printer_io.h"
#include "tools/emulator/net/net_faces.h"
#include "transport/net_transport.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <array>

namespace {

using Out = std::array<unsigned char, 1024>;

// A port that nothing listens on.
quint16 closedPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

} // namespace

Q_DECLARE_METATYPE(emu::Faults)

class TestNetTransport : public QObject
{
    Q_OBJECT

    std::unique_ptr<emu::NetPrinter> m_printer;
    std::unique_ptr<DeviceIoContrl_Net> m_net;
    FakeScanHost m_host;

    emu::PrinterModel &model() { return m_printer->model(); }
    int open() { return m_net->Connect_Server(QStringLiteral("127.0.0.1"), m_printer->tcpPort()); }
    // The density query through the helper the pages use; `out` is what
    // the caller gets.
    int density(Out &out)
    {
        out.fill(0xEE);
        return GetPrinterInfo(Densty_SETTING, out.data(), MediumNet);
    }

private slots:
    void init()
    {
        rtBuf.clear();
        m_printer = std::make_unique<emu::NetPrinter>();
        QVERIFY2(m_printer->start({.tcpPort = 0}), qPrintable(m_printer->errorString()));
        m_host = FakeScanHost();
        m_host.wifi = true;
        m_host.tcpPort = QString::number(m_printer->tcpPort());
        m_net = std::make_unique<DeviceIoContrl_Net>(&m_host);
    }
    void cleanup()
    {
        m_net.reset();
        m_printer.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Every exchange here starts on the idle socket the open leaves, so it
    // reconnects first. A reply is collected from however it arrives; none
    // in time is 6 after the full 3 s, with the window's events still
    // running meanwhile.
    void faults_data()
    {
        QTest::addColumn<emu::Faults>("faults");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("result");
        const QByteArray value = QByteArray::fromHex("05");
        QTest::newRow("healthy") << emu::Faults{} << value << 0;
        QTest::newRow("255-byte payload") << emu::Faults{} << QByteArray(255, 'x') << 0;
        QTest::newRow("answers after 600 ms") << emu::Faults{.delayMs = 600} << value << 0;
        QTest::newRow("one byte per write") << emu::Faults{.splitBytes = true} << value << 0;
        QTest::newRow("noise first") << emu::Faults{.garbageBefore = "\r\nOK"} << value << 0;
        QTest::newRow("lead-in of another class first")
            << emu::Faults{.garbageBefore = QByteArray::fromHex("1bfffe011302")} << value << 0;
        // A stray tail ahead of a reply that arrives byte by byte.
        QTest::newRow("tail first, split")
            << emu::Faults{.splitBytes = true, .garbageBefore = QByteArray::fromHex("1bfeff00")} << value << 0;
        QTest::newRow("length byte 0x80 and up") << emu::Faults{.negativeLength = true} << value << 0;
        QTest::newRow("silent") << emu::Faults{.silent = true} << value << 6;
        QTest::newRow("reply for another code") << emu::Faults{.wrongCode = true} << value << 6;
        QTest::newRow("dropped after the request") << emu::Faults{.dropAfterBytes = 9} << value << 6;
        QTest::newRow("accepts and hangs up at once") << emu::Faults{.refuseConnections = true} << value << 6;
    }
    void faults()
    {
        QFETCH(emu::Faults, faults);
        QFETCH(QByteArray, stored);
        QFETCH(int, result);
        model().setSetting(0x13, stored);
        model().setFaults(faults);
        QCOMPARE(open(), 0);
        QCOMPARE(DeviceIoContrl_Net::getHandle()->pSocket->state(), QAbstractSocket::UnconnectedState);

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, &ticker, [&ticks] { ++ticks; });
        ticker.start(100);
        QElapsedTimer clock;
        clock.start();
        Out out;
        QCOMPARE(density(out), result);
        const qint64 elapsed = clock.elapsed();

        // A length byte of 0x81 for one payload byte: the tail comes along.
        const QByteArray payload = faults.negativeLength ? stored + QByteArray::fromHex("1bfeff") : stored;
        QCOMPARE(QByteArray(reinterpret_cast<char *>(out.data()), 1024),
                 (result == 0 ? payload : QByteArray()).leftJustified(1024, '\0'));
        // The request arrives whole, unless the printer hangs up at once.
        const int framesSeen = faults.refuseConnections ? 0 : 1;
        QVERIFY(model().waitForFrames(framesSeen, 5000));
        QCOMPARE(model().frames().size(), framesSeen);
        for (const emu::LoggedFrame &logged : model().frames())
            QCOMPARE(logged.bytes, frame(0x02, 0x13));
        // Unless the hang-up beats the request (the write fails at once),
        // the printer is given the full 3 s.
        if (result != 0 && !faults.refuseConnections) {
            QVERIFY2(elapsed >= 2900 && elapsed < 8000, qPrintable(QString::number(elapsed)));
            QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
        }
    }

    // Without a socket (the open found nothing listening) every operation
    // fails at once and nothing is sent.
    void closedPort()
    {
        QCOMPARE(m_net->Connect_Server(QStringLiteral("127.0.0.1"), ::closedPort()), 1);
        QVERIFY(!DeviceIoContrl_Net::getHandle()->pSocket);
        Out out;
        QCOMPARE(density(out), 6);
        QCOMPARE(SendFrame(frame(0x00, 0x02), MediumNet), 6);
        QVERIFY(DeviceIoContrl_Net::readDebugData().isEmpty());
        QVERIFY(!DeviceIoContrl_Net::connectSocket());
        DeviceIoContrl_Net::disconnectSocket();
        QCOMPARE(m_printer->acceptedConnections(), 0);
    }

    // The open leaves the socket unconnected; the first operation connects,
    // the following ones (function, status query, status word) share that
    // connection, and after the UI helper's disconnect the next one
    // connects again.
    void reconnect()
    {
        QCOMPARE(open(), 0);
        QTcpSocket *socket = DeviceIoContrl_Net::getHandle()->pSocket;
        QTRY_COMPARE_WITH_TIMEOUT(m_printer->openConnections(), 0, 5000);
        Out out;
        quint32 word = 0;
        QCOMPARE(density(out), 0);
        QCOMPARE(SetPrinterStatusButton(SEAM_LEARN, MediumNet), 0);
        QCOMPARE(GetPrinterStatusInfo(FIRMWARE_VERSION, out.data(), MediumNet), 0);
        QCOMPARE(ReadStatusWord(MediumNet, m_net.get(), word), 0);
        QCOMPARE(m_printer->acceptedConnections(), 2);

        DeviceIoContrl_Net::disconnectSocket();
        QCOMPARE(socket->state(), QAbstractSocket::UnconnectedState);
        QTRY_COMPARE_WITH_TIMEOUT(m_printer->openConnections(), 0, 5000);
        QVERIFY(DeviceIoContrl_Net::connectSocket());
        QCOMPARE(SendFrame(frame(0x00, 0x06), MediumNet), 0);
        QVERIFY(model().waitForFrames(5, 5000));
        QCOMPARE(m_printer->acceptedConnections(), 3);
    }

    // A printer that answers and hangs up in the same breath: the answer
    // still counts. Served from this thread, which the exchange keeps
    // running while it waits.
    void replyThenHangUp()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        connect(&server, &QTcpServer::newConnection, &server, [&server] {
            QTcpSocket *peer = server.nextPendingConnection();
            connect(peer, &QTcpSocket::readyRead, peer, [peer] {
                peer->write(frame(0x02, 0x13, QByteArray::fromHex("09")));
                peer->disconnectFromHost();
            });
        });
        QCOMPARE(m_net->Connect_Server(QStringLiteral("127.0.0.1"), server.serverPort()), 0);
        Out out;
        QCOMPARE(density(out), 0);
        QCOMPARE(int(out[0]), 9);
    }

    // What the debug console read stays staged for the next exchange and
    // is searched first; more than 255 bytes of it are stale and dropped.
    void consoleBytes_data()
    {
        QTest::addColumn<QByteArray>("garbage");
        QTest::addColumn<int>("answer");
        QTest::newRow("kept: the earlier reply answers") << QByteArray("ok\r\n") << 7;
        QTest::newRow("more than 255 bytes: dropped") << QByteArray(300, 'z') << 8;
    }
    void consoleBytes()
    {
        QFETCH(QByteArray, garbage);
        QFETCH(int, answer);
        model().setSetting(0x13, QByteArray::fromHex("07"));
        model().setFaults({.garbageBefore = garbage});
        QCOMPARE(open(), 0);
        QVERIFY(DeviceIoContrl_Net::connectSocket());
        QCOMPARE(SendFrame(frame(0x02, 0x13), MediumNet), 0);
        const QByteArray expected = garbage + frame(0x02, 0x13, QByteArray::fromHex("07"));
        QByteArray seen;
        QElapsedTimer clock;
        clock.start();
        while (seen.size() < expected.size() && clock.elapsed() < 10000)
            seen += DeviceIoContrl_Net::readDebugData();
        QCOMPARE(seen, expected);

        model().setFaults(emu::Faults{});
        model().setSetting(0x13, QByteArray::fromHex("08"));
        Out out;
        QCOMPARE(density(out), 0);
        QCOMPARE(int(out[0]), answer);
    }

    // On the Wi-Fi medium the scan asks the typed address for its identity
    // over TCP instead of broadcasting, and closes what it opened.
    void directProbe_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("listed") << "" << 1 << QStringList{QStringLiteral("ACME [LP-433] {127.0.0.1}")};
        QTest::newRow("no MFG item") << "no MFG" << 1 << QStringList{};
        QTest::newRow("nothing listens") << "closed port" << 0 << QStringList{};
        QTest::newRow("printer silent") << "silent" << 0 << QStringList{};
        QTest::newRow("stopped before") << "stopped" << 1 << QStringList{};
    }
    void directProbe()
    {
        QFETCH(QString, situation);
        QFETCH(int, result);
        QFETCH(QStringList, entries);
        model().setIdentity(QStringLiteral("V0"), QStringLiteral("LP-433"),
                            situation == QLatin1String("no MFG") ? QStringLiteral("MDL:X;CMD:TSPL;")
                                                                 : QStringLiteral("MFG: ACME ;MDL:X;"));
        if (situation == QLatin1String("closed port"))
            m_host.tcpPort = QString::number(::closedPort());
        model().setFaults({.silent = situation == QLatin1String("silent")});
        m_host.running = situation != QLatin1String("stopped");
        Printer_Vector list;
        QCOMPARE(m_net->GetPrinterHandle(nullptr, list), result);
        QCOMPARE(m_host.entries, entries);
        QCOMPARE(m_net->getmData().size(), size_t(entries.size()));
        if (!entries.isEmpty())
            QCOMPARE(m_net->getmData().at("127.0.0.1"), std::string("LP-433"));
        QVERIFY(!DeviceIoContrl_Net::getHandle()->pSocket);
        if (situation == QLatin1String("stopped"))
            QCOMPARE(m_printer->acceptedConnections(), 0);
    }
};

QTEST_GUILESS_MAIN(TestNetTransport)
#include "tst_net_transport.moc"

// The TCP transport and the query helpers over it, against the emulated
// printer on 127.0.0.1: replies as they arrive, the debug console's bytes,
// and the direct probe that the scan makes on the Wi-Fi medium. (A closed
// or unreachable printer and reconnecting after the open are walked through
// the window by tst_connection.)
#include "fake_scan_host.h"
#include "protocol/result.h"
#include "query/printer_io.h"
#include "tools/emulator/net/net_faces.h"
#include "transport/net_transport.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <array>

namespace {

using Out = std::array<unsigned char, 1024>;

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
    // reconnects first. A reply is collected from however it arrives: late
    // (within the 3 s), or byte by byte behind the tail of something
    // earlier. (What the window shows for silence, replies for other codes,
    // drops and refusals is the fault matrix's; the full 3 s wait with the
    // window's events running, the status and page tables'.)
    void faults_data()
    {
        QTest::addColumn<emu::Faults>("faults");
        QTest::newRow("answers after 600 ms") << emu::Faults{.delayMs = 600};
        QTest::newRow("tail first, split")
            << emu::Faults{.splitBytes = true, .garbageBefore = QByteArray::fromHex("1bfeff00")};
    }
    void faults()
    {
        QFETCH(emu::Faults, faults);
        model().setSetting(0x13, QByteArray::fromHex("05"));
        model().setFaults(faults);
        QCOMPARE(open(), 0);
        QCOMPARE(DeviceIoContrl_Net::getHandle()->pSocket->state(), QAbstractSocket::UnconnectedState);
        Out out;
        QCOMPARE(density(out), 0);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(out.data()), 1024), QByteArray::fromHex("05").leftJustified(1024, '\0'));
        QVERIFY(model().waitForFrames(1, 5000));
        QCOMPARE(model().frames().size(), 1);
        QCOMPARE(model().frames().at(0).bytes, frame(0x02, 0x13));
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
        QTest::newRow("printer silent") << "silent" << 0 << QStringList{};
    }
    void directProbe()
    {
        QFETCH(QString, situation);
        QFETCH(int, result);
        QFETCH(QStringList, entries);
        model().setIdentity(QStringLiteral("V0"), QStringLiteral("LP-433"),
                            situation == QLatin1String("no MFG") ? QStringLiteral("MDL:X;CMD:TSPL;")
                                                                 : QStringLiteral("MFG: ACME ;MDL:X;"));
        model().setFaults({.silent = situation == QLatin1String("silent")});
        Printer_Vector list;
        QCOMPARE(m_net->GetPrinterHandle(nullptr, list), result);
        QCOMPARE(m_host.entries, entries);
        QCOMPARE(m_net->getmData().size(), size_t(entries.size()));
        if (!entries.isEmpty())
            QCOMPARE(m_net->getmData().at("127.0.0.1"), std::string("LP-433"));
        QVERIFY(!DeviceIoContrl_Net::getHandle()->pSocket);
    }
};

QTEST_GUILESS_MAIN(TestNetTransport)
#include "tst_net_transport.moc"

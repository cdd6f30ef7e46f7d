// The TCP exchange against the emulated printer on 127.0.0.1: the bytes
// on the wire, how replies are collected from the stream, the failure
// results and the reconnect rules.
#include "fake_scan_host.h"
#include "tools/emulator/net/net_faces.h"
#include "transport/net_transport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <ctime>
#include <memory>
#include <vector>

namespace {

// One fault switched on, everything else as a healthy printer.
template <typename Change>
emu::Faults withFault(Change change)
{
    emu::Faults faults;
    change(faults);
    return faults;
}

constexpr int kReplyArea = 264;

// The transport takes non-const byte pointers.
int exchange(QByteArray request, std::vector<unsigned char> &reply, int *replyLength = nullptr)
{
    int unused = 0;
    return DeviceIoContrl_Net::PrinterDataIORead(reinterpret_cast<unsigned char *>(request.data()),
                                                 int(request.size()), reply.data(),
                                                 replyLength ? *replyLength : unused);
}

// Reads what the console's debug read returns until `size` bytes came.
QByteArray debugRead(qsizetype size)
{
    QByteArray seen;
    QElapsedTimer clock;
    clock.start();
    while (seen.size() < size && clock.elapsed() < 10000)
        seen += DeviceIoContrl_Net::readDebugData();
    return seen;
}

int button(QByteArray bytes)
{
    unsigned char reply[256] = {};
    int replyLength = 0;
    return DeviceIoContrl_Net::PrinterDataIOButton(reinterpret_cast<unsigned char *>(bytes.data()),
                                                   int(bytes.size()), reply, replyLength);
}

QByteArray leading(const std::vector<unsigned char> &reply, qsizetype n)
{
    return QByteArray(reinterpret_cast<const char *>(reply.data()), n);
}

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

void resetReceiveState()
{
    rtBuf.clear();
    readReady_TCP = false;
    recvBuf_TCP.clear();
    resultBuf_TCP.clear();
    timeoutFlag_TCP = false;
}

} // namespace

Q_DECLARE_METATYPE(emu::Faults)

class TestNetTransport : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<emu::NetPrinter> m_printer;
    std::unique_ptr<DeviceIoContrl_Net> m_net;
    FakeScanHost m_host;
    std::vector<unsigned char> reply;

    emu::PrinterModel &model() { return m_printer->model(); }
    void openPrinter()
    {
        QCOMPARE(m_net->Connect_Server(QStringLiteral("127.0.0.1"), m_printer->tcpPort()), 0);
    }

private slots:
    void init()
    {
        resetReceiveState();
        reply.assign(kReplyArea, 0);
        m_printer = std::make_unique<emu::NetPrinter>();
        emu::NetPrinter::Config config;
        config.tcpPort = 0;
        QVERIFY2(m_printer->start(config), qPrintable(m_printer->errorString()));
        m_net = std::make_unique<DeviceIoContrl_Net>(&m_host);
    }

    void cleanup()
    {
        m_net.reset();
        m_printer.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resetReceiveState();
    }

    // Query frames go out exactly as built and the reply frame comes back
    // whole, without a byte beyond it written into the reply area.
    void queryOnTheWire_data()
    {
        QTest::addColumn<quint8>("code");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("density 0x13") << quint8(0x13) << QByteArray::fromHex("05");
        QTest::newRow("label size 0x18") << quint8(0x18) << QByteArray::fromHex("2003c001");
        QTest::newRow("longest sane payload") << quint8(0x10) << QByteArray(127, 'x');
    }
    void queryOnTheWire()
    {
        QFETCH(quint8, code);
        QFETCH(QByteArray, stored);
        model().setSetting(code, stored);
        openPrinter();
        model().clearLog();

        reply.assign(kReplyArea + 16, 0xAA);
        int replyLength = 4321;
        QCOMPARE(exchange(frame(0x02, code), reply, &replyLength), 0);
        QCOMPARE(replyLength, 4321);

        const QList<emu::LoggedFrame> frames = model().frames();
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames.first().bytes, frame(0x02, code));

        const QByteArray expected = frame(0x02, code, stored);
        QCOMPARE(leading(reply, expected.size()), expected);
        QCOMPARE(int(reply.at(size_t(expected.size()))), 0xAA);
        QCOMPARE(resultBuf_TCP, expected);
        QVERIFY(recvBuf_TCP.isEmpty());
    }

    // The status word request carries length 4 with no payload bytes; the
    // word comes back as the first four payload bytes.
    void statusWord()
    {
        model().setStatusWord(0x00018204);
        openPrinter();
        model().clearLog();

        unsigned char buffer[256];
        std::memset(buffer, 0xAA, sizeof buffer);
        int length = 0;
        QCOMPARE(m_net->ReadFromControlEndpoint(9, buffer, length), 0);
        QCOMPARE(model().frames().size(), 1);
        QCOMPARE(model().frames().first().bytes, QByteArray::fromHex("1bfffe000304 1bfeff"));
        const QByteArray expected = QByteArray::fromHex("1bfffe000304 04820100 1bfeff");
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), expected.size()), expected);
        QCOMPARE(int(buffer[expected.size()]), 0xAA);
    }

    // Write-only frames: function commands and set instructions arrive
    // byte for byte; a set frame changes what the printer stores.
    void writeOnlyFrames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("self-test 00") << frame(0x00, 0x00);
        QTest::newRow("set speed 3") << frame(0x01, 0x00, QByteArray::fromHex("03"));
        QTest::newRow("set label size") << frame(0x01, 0x18, QByteArray::fromHex("2003c001"));
    }
    void writeOnlyFrames()
    {
        QFETCH(QByteArray, bytes);
        openPrinter();
        model().clearLog();

        QCOMPARE(button(bytes), 0);
        QVERIFY(model().waitForFrames(1, 5000));
        const QList<emu::LoggedFrame> frames = model().frames();
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames.first().bytes, bytes);
        if (quint8(bytes.at(3)) == 0x01)
            QCOMPARE(model().setting(quint8(bytes.at(4))).toHex(), bytes.mid(6, bytes.size() - 9).toHex());
    }

    // Replies that need several reads, or come after unrelated bytes.
    void replyCollectedFromStream_data()
    {
        QTest::addColumn<bool>("split");
        QTest::addColumn<QByteArray>("garbage");
        QTest::newRow("one byte per write") << true << QByteArray();
        QTest::newRow("noise first") << false << QByteArray("noise\r\n");
        QTest::newRow("lead-in of another class first")
            << false << QByteArray::fromHex("1bfffe011302");
        QTest::newRow("tail first") << false << QByteArray::fromHex("1bfeff00");
        QTest::newRow("noise first, split") << true << QByteArray("abc\x1b\xff", 5);
        // A stray tail ahead of a reply that arrives byte by byte.
        QTest::newRow("tail first, split") << true << QByteArray::fromHex("1bfeff00");
    }
    void replyCollectedFromStream()
    {
        QFETCH(bool, split);
        QFETCH(QByteArray, garbage);
        model().setSetting(0x18, QByteArray::fromHex("2003c001"));
        emu::Faults faults;
        faults.splitBytes = split;
        faults.garbageBefore = garbage;
        model().setFaults(faults);
        openPrinter();

        QCOMPARE(exchange(frame(0x02, 0x18), reply), 0);
        const QByteArray expected = frame(0x02, 0x18, QByteArray::fromHex("2003c001"));
        QCOMPARE(leading(reply, expected.size()), expected);
    }

    // Bytes the debug console read (readDebugData) stay in rtBuf and are
    // searched together with the exchange's own. Here the printer answers
    // the exchange with the wrong code, so only the earlier bytes can
    // satisfy it; once rtBuf holds more than 255 bytes it is stale and
    // dropped, and the exchange times out.
    void debugBytesSearchedTogether_data()
    {
        QTest::addColumn<QByteArray>("garbage");
        QTest::addColumn<int>("result");
        QTest::newRow("kept") << QByteArray() << 0;
        QTest::newRow("more than 255 bytes: dropped") << QByteArray(300, 'z') << 6;
    }
    void debugBytesSearchedTogether()
    {
        QFETCH(QByteArray, garbage);
        QFETCH(int, result);
        model().setSetting(0x13, QByteArray::fromHex("07"));
        emu::Faults faults;
        faults.garbageBefore = garbage;
        model().setFaults(faults);
        openPrinter();
        QVERIFY(DeviceIoContrl_Net::connectSocket());

        // The console sends a query by hand and reads what comes back.
        const QByteArray expected = frame(0x02, 0x13, QByteArray::fromHex("07"));
        QCOMPARE(button(frame(0x02, 0x13)), 0);
        QCOMPARE(debugRead(garbage.size() + expected.size()), garbage + expected);
        QCOMPARE(rtBuf, garbage + expected);
        QVERIFY(readReady_TCP);

        faults.wrongCode = true;
        faults.garbageBefore.clear();
        model().setFaults(faults);
        QCOMPARE(exchange(frame(0x02, 0x13), reply), result);
        if (result == 0)
            QCOMPARE(leading(reply, expected.size()), expected);
    }

    // No reply: 6 after the 3000 ms time-out, with nothing left in the
    // receive buffers. Meanwhile the window's events keep running, and the
    // wait sleeps instead of spinning.
    void silentPrinterTimesOut()
    {
        model().setFaults(withFault([](emu::Faults &f) { f.silent = true; }));
        openPrinter();

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, &ticker, [&ticks] { ++ticks; });
        ticker.start(100);

        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = threadCpuSeconds();
        const int ret = exchange(frame(0x02, 0x13), reply);
        const double cpu = threadCpuSeconds() - cpuBefore;
        const qint64 elapsed = clock.elapsed();

        QCOMPARE(ret, 6);
        QVERIFY2(elapsed >= 2900, qPrintable(QString::number(elapsed)));
        QVERIFY2(elapsed < 8000, qPrintable(QString::number(elapsed)));
        QVERIFY(timeoutFlag_TCP);
        QVERIFY(recvBuf_TCP.isEmpty());
        QVERIFY(resultBuf_TCP.isEmpty());
        QCOMPARE(model().frames().size(), 1);
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
        // A spinning wait burns close to 3 s of CPU here.
        QVERIFY2(cpu < 0.5, qPrintable(QString::number(cpu)));
    }

    // Length bytes of 0x80..0xFF count 128..255 payload bytes: the frame is
    // cut at its declared end (or at what arrived, when less came), never
    // beyond the 264-byte reply area (ASan watches the exact-size buffer).
    void negativeLengthByte()
    {
        model().setSetting(0x00, QByteArray::fromHex("03"));
        model().setFaults(withFault([](emu::Faults &f) { f.negativeLength = true; }));
        openPrinter();
        QCOMPARE(exchange(frame(0x02, 0x00), reply), 0);
        const QByteArray expected = QByteArray::fromHex("1bfffe020081031bfeff");
        QCOMPARE(leading(reply, expected.size()), expected);
        QCOMPARE(resultBuf_TCP.size(), expected.size());
    }
    void negativeLengthNeverOverrunsReplyArea()
    {
        // A 240-byte payload: length byte F0. The console has already read
        // one such reply; the exchange's own reply lands behind it, 498
        // bytes in all, and the first whole frame is cut out.
        model().setSetting(0x10, QByteArray(240, 'n'));
        openPrinter();
        QVERIFY(DeviceIoContrl_Net::connectSocket());
        QCOMPARE(button(frame(0x02, 0x10)), 0);
        const QByteArray seen = debugRead(249);
        QCOMPARE(seen.size(), 249);

        QCOMPARE(exchange(frame(0x02, 0x10), reply), 0);
        QCOMPARE(resultBuf_TCP.size(), 249);
        QCOMPARE(leading(reply, 249), seen);
    }

    // Faults that leave the exchange without its reply: 6 at the time-out,
    // nothing written into the reply area. After a hang-up the next
    // exchange reconnects on its own.
    void noReplyFaults_data()
    {
        QTest::addColumn<emu::Faults>("faults");
        QTest::addColumn<int>("framesSeen");
        QTest::addColumn<bool>("reconnects");
        const auto drop = [](int after) { return withFault([after](emu::Faults &f) { f.dropAfterBytes = after; }); };
        QTest::newRow("reply for another code") << withFault([](emu::Faults &f) { f.wrongCode = true; }) << 1 << false;
        QTest::newRow("accepts and hangs up at once")
            << withFault([](emu::Faults &f) { f.refuseConnections = true; }) << 0 << false;
        QTest::newRow("dropped before any byte") << drop(0) << 0 << true;
        QTest::newRow("dropped mid-frame") << drop(5) << 0 << true;
        QTest::newRow("dropped after the request") << drop(9) << 1 << true;
    }
    void noReplyFaults()
    {
        QFETCH(emu::Faults, faults);
        QFETCH(int, framesSeen);
        QFETCH(bool, reconnects);
        model().setFaults(faults);
        openPrinter();
        QCOMPARE(exchange(frame(0x02, 0x13), reply), 6);
        QCOMPARE(reply, std::vector<unsigned char>(kReplyArea, 0));
        if (framesSeen)
            QVERIFY(model().waitForFrames(framesSeen, 1000));
        QCOMPARE(model().frames().size(), framesSeen);
        if (!reconnects)
            return;
        model().setFaults(emu::Faults{});
        model().setSetting(0x13, QByteArray::fromHex("04"));
        const int acceptedBefore = m_printer->acceptedConnections();
        QCOMPARE(exchange(frame(0x02, 0x13), reply), 0);
        QCOMPARE(leading(reply, 10), frame(0x02, 0x13, QByteArray::fromHex("04")));
        QCOMPARE(m_printer->acceptedConnections(), acceptedBefore + 1);
    }

    // A printer that answers and hangs up in the same breath: the answer
    // is still delivered. Served from this thread, which the exchange
    // keeps running while it waits.
    void replyThenHangUp()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        const QByteArray answer = frame(0x02, 0x13, QByteArray::fromHex("09"));
        connect(&server, &QTcpServer::newConnection, &server, [&server, answer] {
            QTcpSocket *peer = server.nextPendingConnection();
            connect(peer, &QTcpSocket::readyRead, peer, [peer, answer] {
                if (peer->readAll().size() < 9)
                    return;
                peer->write(answer);
                peer->disconnectFromHost();
            });
        });
        QCOMPARE(m_net->Connect_Server(QStringLiteral("127.0.0.1"), server.serverPort()), 0);
        QCOMPARE(exchange(frame(0x02, 0x13), reply), 0);
        QCOMPARE(leading(reply, answer.size()), answer);
    }

    // Operations without a socket: before any open, after a refused open
    // (1, the address kept), after Disconnect_Server, and with no network
    // transport object at all.
    void missingSocket_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("never opened") << QStringLiteral("never opened");
        QTest::newRow("nothing listens") << QStringLiteral("refused");
        QTest::newRow("after Disconnect_Server") << QStringLiteral("disconnected");
        QTest::newRow("no transport object") << QStringLiteral("no object");
    }
    void missingSocket()
    {
        QFETCH(QString, situation);
        if (situation == QLatin1String("refused")) {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            const quint16 closedPort = probe.serverPort();
            probe.close();
            QCOMPARE(m_net->Connect_Server(QStringLiteral("127.0.0.1"), closedPort), 1);
            QVERIFY(!DeviceIoContrl_Net::getHandle()->pSocket);
            QCOMPARE(QByteArray(DeviceIoContrl_Net::getHandle()->host), QByteArray("127.0.0.1"));
            QCOMPARE(DeviceIoContrl_Net::getHandle()->port, closedPort);
        } else if (situation == QLatin1String("disconnected")) {
            openPrinter();
            m_net->Disconnect_Server();
            QVERIFY(!DeviceIoContrl_Net::getHandle()->pSocket);
        } else if (situation == QLatin1String("no object")) {
            m_net.reset();
            QVERIFY(!DeviceIoContrl_Net::getHandle());
        }
        QCOMPARE(exchange(frame(0x02, 0x13), reply), 6);
        QCOMPARE(button(frame(0x00, 0x02)), 6);
        QVERIFY(DeviceIoContrl_Net::readDebugData().isEmpty());
        QVERIFY(!DeviceIoContrl_Net::connectSocket());
        DeviceIoContrl_Net::disconnectSocket();
        QCOMPARE(model().frames().size(), 0);
    }

    // The open leaves the socket unconnected; each operation connects when
    // it finds it so, and uses the connection the UI helper opened.
    void reconnectWhenUnconnected_data()
    {
        QTest::addColumn<bool>("uiConnects");
        QTest::newRow("exchange connects by itself") << false;
        QTest::newRow("UI helper connected first") << true;
    }
    void reconnectWhenUnconnected()
    {
        QFETCH(bool, uiConnects);
        openPrinter();
        QTcpSocket *socket = DeviceIoContrl_Net::getHandle()->pSocket;
        QVERIFY(socket);
        QCOMPARE(socket->state(), QAbstractSocket::UnconnectedState);
        // The printer saw the open's connection come and go.
        QTRY_COMPARE_WITH_TIMEOUT(m_printer->acceptedConnections(), 1, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(m_printer->openConnections(), 0, 5000);

        if (uiConnects)
            QVERIFY(DeviceIoContrl_Net::connectSocket());
        QCOMPARE(exchange(frame(0x02, 0x13), reply), 0);
        const quint16 localPort = socket->localPort();
        QCOMPARE(button(frame(0x00, 0x06)), 0);
        QCOMPARE(exchange(frame(0x02, 0x00), reply), 0);
        // All three went over one connection.
        QCOMPARE(socket->state(), QAbstractSocket::ConnectedState);
        QCOMPARE(socket->localPort(), localPort);
        QCOMPARE(m_printer->acceptedConnections(), 2);

        // The UI helper's disconnect: the printer sees the close, and the
        // next operation connects again.
        DeviceIoContrl_Net::disconnectSocket();
        QCOMPARE(socket->state(), QAbstractSocket::UnconnectedState);
        QTRY_COMPARE_WITH_TIMEOUT(m_printer->openConnections(), 0, 5000);
        QCOMPARE(button(frame(0x00, 0x06)), 0);
        QCOMPARE(socket->state(), QAbstractSocket::ConnectedState);
        QVERIFY(socket->localPort() != localPort);
        QVERIFY(model().waitForFrames(4, 5000));
        QTRY_COMPARE_WITH_TIMEOUT(m_printer->acceptedConnections(), 3, 5000);
    }

    // Each refresh makes a new transport object current; destroying the
    // old one must leave the new one's record and connection alone.
    void newerObjectStaysCurrent()
    {
        openPrinter();
        _PRINTER_HANDLE *first = DeviceIoContrl_Net::getHandle();
        auto second = std::make_unique<DeviceIoContrl_Net>(&m_host);
        _PRINTER_HANDLE *current = DeviceIoContrl_Net::getHandle();
        QVERIFY(current != first);
        QVERIFY(!current->pSocket);
        QCOMPARE(exchange(frame(0x02, 0x13), reply), 6);

        QCOMPARE(second->Connect_Server(QStringLiteral("127.0.0.1"), m_printer->tcpPort()), 0);
        m_net.reset();
        QCOMPARE(DeviceIoContrl_Net::getHandle(), current);
        QVERIFY(current->pSocket);
        QCOMPARE(exchange(frame(0x02, 0x13), reply), 0);
        second.reset();
        QVERIFY(!DeviceIoContrl_Net::getHandle());
    }
};

QTEST_GUILESS_MAIN(TestNetTransport)
#include "tst_net_transport.moc"

// Broadcast discovery, run by netns.sh inside a network namespace of its
// own: the only wired interfaces here are two veth links (s1, s2), each
// leading to a namespace with emulated printers (lps-emuprinter):
//
//   UDP port  printer 1 (10.213.1.2)  printer 2 (10.213.2.2)
//   38400     answers after 300 ms    answers after 300 ms
//   38401     answers, no MFG: item   -
//   38402     nobody: the test sends hand-made answers from 127.0.0.x
//
// Outside that fixture the test skips: broadcasting on the machine's own
// interfaces is never acceptable.
#include "fake_scan_host.h"
#include "transport/net_transport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QNetworkInterface>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <functional>
#include <utility>

namespace {

constexpr quint16 kBothPort = 38400;
constexpr quint16 kNoMfgPort = 38401;
constexpr quint16 kHandMadePort = 38402;

// What lps-emuprinter logged for a printer on a port: "UDP <- " lines for
// the requests it received, "UDP -> " for its answers.
QStringList logLines(int printer, quint16 port, const char *prefix)
{
    QFile file(QStringLiteral("%1/p%2-%3.log").arg(qEnvironmentVariable("LPS_NETNS_LOGDIR")).arg(printer).arg(port));
    QStringList lines;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (line.startsWith(prefix))
                lines.append(QString::fromLatin1(line));
    return lines;
}

qsizetype answersSent(int printer, quint16 port) { return logLines(printer, port, "UDP -> ").size(); }

// Polls the printers' logs (written by other processes) until `done`.
bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 5000)
            return false;
        QThread::msleep(5);
    }
    return true;
}

QByteArray identity(const QByteArray &model, const QByteArray &deviceId)
{
    return QByteArray("V0\0", 3) + model + '\0' + deviceId + '\0' + QByteArray("P0\0E\0", 5);
}

// A discovery answer as the printers send it: nonce, then a reply frame
// whose length byte lands at offset 6.
QByteArray answer(const QByteArray &payload)
{
    return QByteArray::fromHex("2a 1bfffe020c") + char(payload.size()) + payload + QByteArray::fromHex("1bfeff");
}

// A datagram and the loopback address 127.0.0.<host> it is sent from.
struct Sent
{
    int host;
    QByteArray datagram;
};

} // namespace

class TestNetDiscovery : public QObject
{
    Q_OBJECT

    FakeScanHost m_host;

    // One refresh: a new transport object, as the window makes for each.
    int scan(quint16 port)
    {
        m_host.udpPort = QString::number(port);
        DeviceIoContrl_Net net(&m_host);
        Printer_Vector list;
        return net.GetPrinterHandle(nullptr, list);
    }

private slots:
    void init() { m_host = FakeScanHost(); }
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("LPS_NETNS_LOGDIR"))
            QSKIP("needs the network-namespace fixture: run through tests/net/netns.sh (CTest "
                  "does); discovery broadcasts are never sent in the machine's own namespace");
        // Only the fixture's links (and loopback) may be here.
        const QStringList allowed = qEnvironmentVariable("LPS_NETNS_IFACES").split(QLatin1Char(',')) << QStringLiteral("lo");
        for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces())
            QVERIFY2(allowed.contains(interface.name()),
                     qPrintable(interface.name() + QStringLiteral(" is not the fixture's: refusing to broadcast")));
    }

    // Both printers answer 300 ms late, within one pass of the scan's wait:
    // both are listed, and the scan ends there, not at its time-out. The
    // request is a nonce and the 0x0C query; a draw equal to the previous
    // scan's nonce is thrown away.
    void bothListedWithFreshNonce()
    {
        QRandomGenerator64 preview(20240611), seeded(20240611);
        lastNumber = int(preview.bounded(100));  // the first draw repeats it
        int expected = lastNumber;
        while (expected == lastNumber)
            expected = int(preview.bounded(100));
        QRandomGenerator64 *saved = std::exchange(generator, &seeded);

        const qsizetype before1 = answersSent(1, kBothPort), before2 = answersSent(2, kBothPort);
        // Runs in the wait's first pass, before either answer can be there,
        // and holds the window until both have left the printers.
        bool held = false;
        QTimer::singleShot(0, this, [&] {
            held = waitFor([&] { return answersSent(1, kBothPort) > before1 && answersSent(2, kBothPort) > before2; });
        });
        QElapsedTimer clock;
        clock.start();
        const int result = scan(kBothPort);
        generator = saved;
        QVERIFY(held);
        QCOMPARE(result, 1);
        QVERIFY2(clock.elapsed() < 1500, "the scan should end at the first listing");
        QStringList entries = m_host.entries;
        entries.sort();
        QCOMPARE(entries, (QStringList{QStringLiteral("ACME [LP-1] {10.213.1.2}"),
                                       QStringLiteral("Bolt Works [LP-2] {10.213.2.2}")}));
        QCOMPARE(lastNumber, expected);
        for (int printer : {1, 2}) {
            // "UDP <- 10.213.x.1:38400  nn 1b ff fe 02 0c 00 1b fe ff"
            const QString request = logLines(printer, kBothPort, "UDP <- ").last().section(QStringLiteral("  "), 1);
            QCOMPARE(QByteArray::fromHex(request.toLatin1()), char(expected) + QByteArray::fromHex("1bfffe020c00 1bfeff"));
        }
    }

    // Nothing listed: an answer without an MFG: item counts for nothing, so
    // the scan waits out its 1500 ms and reports failure, unless the stop
    // button ends it (with 1) while it waits.
    void nothingListed_data()
    {
        QTest::addColumn<int>("stopAfterMs");  // -1: never pressed
        QTest::addColumn<int>("result");
        QTest::newRow("waits out its time-out") << -1 << 0;
        QTest::newRow("stop pressed while it waits") << 100 << 1;
    }
    void nothingListed()
    {
        QFETCH(int, stopAfterMs);
        QFETCH(int, result);
        if (stopAfterMs > 0)
            QTimer::singleShot(stopAfterMs, this, [this] { m_host.running = false; });
        const qsizetype before = answersSent(1, kNoMfgPort);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(scan(kNoMfgPort), result);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(result == 0 ? elapsed >= 1400 && elapsed < 5000 : elapsed < 1400, qPrintable(QString::number(elapsed)));
        QVERIFY(m_host.entries.isEmpty());
        // The printer did answer.
        QVERIFY(waitFor([&] { return answersSent(1, kNoMfgPort) > before; }));
    }

    // Hand-made answers, sent from loopback addresses while the scan waits:
    // a printer answering every copy of the broadcast is listed once, and
    // the first repeat ends the reading, so a later sender is not listed.
    // The first answer's texts end with its payload: the missing ones read
    // as empty, and the manufacturer runs to the payload's last byte.
    // (Malformed length bytes and texts are the frame table's and the
    // discovery fuzz target's.)
    void repeatedSenderListedOnce()
    {
        const QList<Sent> sent = {{1, answer(QByteArray("V0\0M1\0MFG:Acme", 14))},
                                  {1, answer(identity("M9", "MFG:Acme;"))},
                                  {2, answer(identity("M2", "MFG:Bolt;"))}};
        bool allSent = true;
        QTimer::singleShot(0, this, [&] {
            for (const Sent &one : sent) {
                QUdpSocket sender;
                allSent = allSent && sender.bind(QHostAddress(QStringLiteral("127.0.0.%1").arg(one.host)), 0)
                    && sender.writeDatagram(one.datagram, QHostAddress::LocalHost, kHandMadePort) == one.datagram.size();
            }
        });
        QCOMPARE(scan(kHandMadePort), 1);
        QVERIFY(allSent);
        QCOMPARE(m_host.entries, QStringList{QStringLiteral("Acme [M1] {127.0.0.1}")});
    }
};

QTEST_GUILESS_MAIN(TestNetDiscovery)
#include "tst_net_discovery.moc"

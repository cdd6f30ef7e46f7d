// Broadcast discovery, run by netns.sh inside a network namespace of its
// own: the only wired interfaces here are two veth links (s1, s2), each
// leading to a namespace with emulated printers (lps-emuprinter) on
// several UDP ports:
//
//   port   printer 1 (10.213.1.2)   printer 2 (10.213.2.2)
//   38400  answers after 300 ms     answers after 300 ms
//   38401  answers at once          answers after 700 ms
//   38402  answers, no MFG: item    answers, no MFG: item
//   38403  nobody: the test sends hand-made answers from 127.0.0.1
//
// Outside that fixture the test skips: broadcasting on the machine's own
// interfaces is never acceptable.
#include "fake_scan_host.h"
#include "transport/net_transport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <functional>
#include <memory>

namespace {

constexpr quint16 kBothDelayedPort = 38400;
constexpr quint16 kSecondLatePort = 38401;
constexpr quint16 kNoMfgPort = 38402;
constexpr quint16 kHandMadePort = 38403;

const QString kPrinter1 = QStringLiteral("10.213.1.2");
const QString kPrinter2 = QStringLiteral("10.213.2.2");
const QString kEntry1 = QStringLiteral("ACME [LP-1] {10.213.1.2}");
const QString kEntry2 = QStringLiteral("Bolt Works [LP-2] {10.213.2.2}");

QString logPath(int printer, quint16 port)
{
    return QDir(qEnvironmentVariable("LPS_NETNS_LOGDIR"))
        .filePath(QStringLiteral("p%1-%2.log").arg(printer).arg(port));
}

QStringList logLines(int printer, quint16 port, const QString &prefix)
{
    QFile file(logPath(printer, port));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    const QList<QByteArray> all = file.readAll().split('\n');
    for (const QByteArray &line : all) {
        if (line.startsWith(prefix.toLatin1()))
            lines.append(QString::fromLatin1(line));
    }
    return lines;
}

int repliesSent(int printer, quint16 port) { return int(logLines(printer, port, QStringLiteral("UDP -> ")).size()); }
int requestsReceived(int printer, quint16 port) { return int(logLines(printer, port, QStringLiteral("UDP <- ")).size()); }

// The datagram of the last request a printer logged on `port`:
// "UDP <- 10.213.x.1:38401  nn 1b ff fe 02 0c 00 1b fe ff".
QByteArray lastRequest(int printer, quint16 port)
{
    const QString last = logLines(printer, port, QStringLiteral("UDP <- ")).last();
    return QByteArray::fromHex(last.section(QStringLiteral("  "), 1).toLatin1());
}

// Polls the printers' logs (written by other processes) until `done`.
bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(5);
    }
    return true;
}

// Waits until every datagram a printer received on this port has been
// answered, so that no late answer of one test lands in the next.
bool settle(quint16 port)
{
    return waitFor(
        [port] {
            for (int printer : {1, 2}) {
                if (requestsReceived(printer, port) != repliesSent(printer, port))
                    return false;
            }
            return true;
        },
        10000);
}

QByteArray identity(const QByteArray &model, const QByteArray &deviceId)
{
    return QByteArray("V0\0", 3) + model + '\0' + deviceId + '\0' + QByteArray("P0\0E\0", 5);
}

// A discovery answer as the printers send it: nonce, then a reply frame
// whose length byte lands at offset 6.
QByteArray answer(const QByteArray &payload, int lengthByte = -1)
{
    QByteArray datagram = QByteArray::fromHex("2a 1bfffe020c");
    datagram.append(char(lengthByte >= 0 ? lengthByte : payload.size()));
    datagram.append(payload);
    datagram.append(QByteArray::fromHex("1bfeff"));
    return datagram;
}

struct Sent
{
    QString from;
    QByteArray datagram;
};

} // namespace

Q_DECLARE_METATYPE(QList<Sent>)

class TestNetDiscovery : public QObject
{
    Q_OBJECT

private:
    FakeScanHost m_host;

    // One refresh: a new transport object, as the window makes for each.
    int scan(quint16 port)
    {
        m_host.entries.clear();
        m_host.udpPort = QString::number(port);
        DeviceIoContrl_Net net(&m_host);
        Printer_Vector list;
        m_host.running = true;
        return net.GetPrinterHandle(nullptr, list);
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("LPS_NETNS_LOGDIR"))
            QSKIP("needs the network-namespace fixture: run through tests/net/netns.sh (CTest "
                  "does); discovery broadcasts are never sent in the machine's own namespace");
        const QStringList allowed = qEnvironmentVariable("LPS_NETNS_IFACES").split(QLatin1Char(','));
        const auto interfaces = QNetworkInterface::allInterfaces();
        for (const QNetworkInterface &interface : interfaces) {
            if (interface.flags().testFlag(QNetworkInterface::IsLoopBack))
                continue;
            if (!allowed.contains(interface.name()))
                QFAIL(qPrintable(QStringLiteral("interface %1 is not one of the fixture's; "
                                                "refusing to broadcast")
                                     .arg(interface.name())));
            QCOMPARE(interface.type(), QNetworkInterface::Ethernet);
        }
        for (quint16 port : {kBothDelayedPort, kSecondLatePort, kNoMfgPort})
            QVERIFY(settle(port));
    }

    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Both answers are pending when the scan's wait first handles
    // datagrams: both printers are listed.
    void answersOfOnePassAreAllListed()
    {
        const int before1 = repliesSent(1, kBothDelayedPort);
        const int before2 = repliesSent(2, kBothDelayedPort);
        // Runs in the wait's first pass, before either answer (300 ms
        // late) can be there, and holds the window until both have left
        // the printers: the next pass finds both.
        bool held = false;
        QTimer::singleShot(0, this, [&] {
            held = waitFor(
                [&] {
                    return repliesSent(1, kBothDelayedPort) > before1
                        && repliesSent(2, kBothDelayedPort) > before2;
                },
                5000);
        });
        QElapsedTimer clock;
        clock.start();
        const int result = scan(kBothDelayedPort);
        QVERIFY(held);
        QCOMPARE(result, 1);
        QVERIFY2(clock.elapsed() < 1500, "the scan should end at the first listing");
        QStringList entries = m_host.entries;
        entries.sort();
        QCOMPARE(entries, (QStringList{kEntry1, kEntry2}));
        QVERIFY(scanFlag_TCP);
        QVERIFY(!timeoutFlag_TCP);
        QVERIFY(settle(kBothDelayedPort));
    }

    // Answers without an MFG: item list nothing; the scan goes on until
    // its 1500 ms time-out and reports failure.
    void answerWithoutManufacturerIsIgnored()
    {
        const int before1 = repliesSent(1, kNoMfgPort);
        const int before2 = repliesSent(2, kNoMfgPort);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(scan(kNoMfgPort), 0);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 1400 && elapsed < 5000, qPrintable(QString::number(elapsed)));
        QVERIFY(m_host.entries.isEmpty());
        QVERIFY(timeoutFlag_TCP);
        QVERIFY(!scanFlag_TCP);
        QVERIFY(waitFor([&] { return repliesSent(1, kNoMfgPort) > before1; }, 5000));
        QVERIFY(waitFor([&] { return repliesSent(2, kNoMfgPort) > before2; }, 5000));
        QVERIFY(settle(kNoMfgPort));
    }

    // The scan ends after the pass that listed the first printer: the one
    // answering 700 ms later is not listed (it does answer, after the
    // scan). On the wire: nonce then the 0x0C query, on both links; the
    // nonce is 0..99 and never the previous scan's.
    void laterAnswerNotListedAndNonce()
    {
        QList<int> nonces;
        for (int i = 0; i < 4; ++i) {
            const int before1 = requestsReceived(1, kSecondLatePort);
            const int before2 = requestsReceived(2, kSecondLatePort);
            QCOMPARE(scan(kSecondLatePort), 1);
            QCOMPARE(m_host.entries, QStringList{kEntry1});
            // The printers log from their own event loops: wait for the
            // lines of this scan, and for printer 2's late answer.
            QVERIFY(waitFor(
                [&] {
                    return requestsReceived(1, kSecondLatePort) == before1 + 1
                        && requestsReceived(2, kSecondLatePort) == before2 + 1;
                },
                5000));
            QVERIFY(waitFor([&] { return repliesSent(2, kSecondLatePort) == before2 + 1; }, 5000));
            QVERIFY(settle(kSecondLatePort));
            for (int printer : {1, 2}) {
                const QByteArray datagram = lastRequest(printer, kSecondLatePort);
                QCOMPARE(datagram.size(), 10);
                QCOMPARE(datagram.mid(1).toHex(' '), QByteArray("1b ff fe 02 0c 00 1b fe ff"));
                if (printer == 1)
                    nonces.append(quint8(datagram.at(0)));
                else
                    QCOMPARE(int(quint8(datagram.at(0))), nonces.last());
            }
            QCOMPARE(lastNumber, nonces.last());
            QCOMPARE(randomInt, nonces.last());
        }
        for (int i = 0; i < nonces.size(); ++i) {
            QVERIFY(nonces.at(i) >= 0 && nonces.at(i) <= 99);
            if (i > 0)
                QVERIFY2(nonces.at(i) != nonces.at(i - 1), "nonce repeated");
        }
    }

    // A generator whose next draw equals the previous nonce: that draw is
    // thrown away and the next different one is used.
    void nonceRedrawnOnRepeat()
    {
        QRandomGenerator64 *saved = generator;
        const quint64 seed = 20240611;
        QRandomGenerator64 preview(seed);
        const int first = int(preview.bounded(100));
        int expected = int(preview.bounded(100));
        while (expected == first)
            expected = int(preview.bounded(100));

        QRandomGenerator64 seeded(seed);
        generator = &seeded;
        lastNumber = first;
        const int before1 = requestsReceived(1, kSecondLatePort);
        const int before2 = repliesSent(2, kSecondLatePort);
        const int result = scan(kSecondLatePort);
        generator = saved;
        QCOMPARE(result, 1);
        QCOMPARE(randomInt, expected);
        QCOMPARE(lastNumber, expected);
        QVERIFY(waitFor([&] { return requestsReceived(1, kSecondLatePort) == before1 + 1; }, 5000));
        QVERIFY(waitFor([&] { return repliesSent(2, kSecondLatePort) == before2 + 1; }, 5000));
        QVERIFY(settle(kSecondLatePort));
        QCOMPARE(int(quint8(lastRequest(1, kSecondLatePort).at(0))), expected);
    }

    // Hand-made answers, sent from loopback addresses while the scan
    // waits: malformed length bytes stay harmless (ASan watches the copies
    // into the 1024-byte work buffer), and the listing rules hold.
    void handMadeAnswers_data()
    {
        QTest::addColumn<QList<Sent>>("sent");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("result");

        const QByteArray good = identity("M1", "MFG:Acme;MDL:M1;");
        const QString goodEntry = QStringLiteral("Acme [M1] {127.0.0.1}");
        const QString local1 = QStringLiteral("127.0.0.1");
        const QString local2 = QStringLiteral("127.0.0.2");

        QTest::newRow("well formed") << QList<Sent>{{local1, answer(good)}}
                                     << QStringList{goodEntry} << 1;
        QTest::newRow("two senders, one pass")
            << QList<Sent>{{local1, answer(good)},
                           {local2, answer(identity("M2", "MFG:Bolt;"))}}
            << QStringList{goodEntry, QStringLiteral("Bolt [M2] {127.0.0.2}")} << 1;
        QTest::newRow("listed sender again stops the reading")
            << QList<Sent>{{local1, answer(good)},
                           {local1, answer(identity("M9", "MFG:Acme;"))},
                           {local2, answer(identity("M2", "MFG:Bolt;"))}}
            << QStringList{goodEntry} << 1;
        QTest::newRow("missing trailing texts read as empty")
            << QList<Sent>{{local1, answer(QByteArray("V0\0M1\0MFG:Acme;", 15))}}
            << QStringList{goodEntry} << 1;
        QTest::newRow("ten bytes only") << QList<Sent>{{local1, answer({}).left(10)}}
                                        << QStringList{} << 0;
        QTest::newRow("length byte negative (0x90)")
            << QList<Sent>{{local1, answer(good, 0x90)}} << QStringList{goodEntry} << 1;
        QTest::newRow("length byte beyond the datagram")
            << QList<Sent>{{local1, answer(good, 0x7F)}} << QStringList{goodEntry} << 1;
        QTest::newRow("length byte cuts the device id")
            << QList<Sent>{{local1, answer(good, 9)}} << QStringList{} << 0;
        QTest::newRow("datagram far longer than its length byte")
            << QList<Sent>{{local1, answer(good + QByteArray(1500, 'x'), 0xFF)}}
            << QStringList{goodEntry} << 1;
        QTest::newRow("no NUL in the payload")
            << QList<Sent>{{local1, answer(QByteArray(1500, 'x'), 0xFF)}} << QStringList{} << 0;
    }
    void handMadeAnswers()
    {
        QFETCH(QList<Sent>, sent);
        QFETCH(QStringList, entries);
        QFETCH(int, result);

        bool allSent = true;
        QTimer::singleShot(0, this, [&] {
            for (const Sent &one : sent) {
                QUdpSocket sender;
                if (!sender.bind(QHostAddress(one.from), 0)) {
                    allSent = false;
                    continue;
                }
                allSent = allSent
                    && sender.writeDatagram(one.datagram, QHostAddress::LocalHost, kHandMadePort)
                        == one.datagram.size();
            }
        });
        QCOMPARE(scan(kHandMadePort), result);
        QVERIFY(allSent);
        QCOMPARE(m_host.entries, entries);
    }

    // Stopping the scan (the stop button) before it starts, or while it
    // waits, ends it with 1.
    void stoppedScan()
    {
        m_host.udpPort = QString::number(kNoMfgPort);
        DeviceIoContrl_Net net(&m_host);
        Printer_Vector list;
        m_host.running = false;
        QCOMPARE(net.GetPrinterHandle(nullptr, list), 1);

        const int before1 = repliesSent(1, kNoMfgPort);
        const int before2 = repliesSent(2, kNoMfgPort);
        m_host.running = true;
        QTimer::singleShot(100, this, [this] { m_host.running = false; });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(net.GetPrinterHandle(nullptr, list), 1);
        QVERIFY(clock.elapsed() < 1400);
        QVERIFY(m_host.entries.isEmpty());
        QVERIFY(waitFor([&] { return repliesSent(1, kNoMfgPort) == before1 + 1; }, 5000));
        QVERIFY(waitFor([&] { return repliesSent(2, kNoMfgPort) == before2 + 1; }, 5000));
        QVERIFY(settle(kNoMfgPort));
    }
};

QTEST_GUILESS_MAIN(TestNetDiscovery)
#include "tst_net_discovery.moc"

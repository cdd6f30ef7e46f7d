// lps-emuprinter as a newcomer runs it: it listens where it says, answers
// frames and discovery on loopback, prints each frame with the value a set
// frame stored, and ends cleanly on SIGTERM and Ctrl-C.
#include "wire_frame.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

#include <csignal>

namespace {

class EmuProcess
{
public:
    ~EmuProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    bool start(const QStringList &arguments)
    {
        process.setProgram(QStringLiteral(LPS_EMUPRINTER));
        process.setArguments(arguments);
        process.start();
        return process.waitForStarted(10000) && waitForLine(QStringLiteral("ready"));
    }

    // Collects stdout until a line containing `text` has arrived.
    bool waitForLine(const QString &text, int timeoutMs = 10000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!output.contains(text)) {
            if (clock.elapsed() > timeoutMs || process.state() == QProcess::NotRunning)
                return false;
            process.waitForReadyRead(100);
            output += QString::fromUtf8(process.readAllStandardOutput());
        }
        return true;
    }

    quint16 port(const QString &medium)
    {
        const QRegularExpression re(medium + QStringLiteral(" listening on [0-9.]+:(\\d+)"));
        return quint16(re.match(output).captured(1).toUInt());
    }

    QProcess process;
    QString output;
};

QByteArray readReply(QTcpSocket &socket, qsizetype size)
{
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    while (reply.size() < size && clock.elapsed() < 10000) {
        if (socket.bytesAvailable() == 0)
            socket.waitForReadyRead(100);
        reply += socket.readAll();
    }
    return reply;
}

} // namespace

class TestEmuPrinterCli : public QObject
{
    Q_OBJECT

private slots:
    void framesAndStoredValues()
    {
        EmuProcess emu;
        QVERIFY2(emu.start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"),
                            QStringLiteral("--status"), QStringLiteral("0x0105")}),
                 qPrintable(emu.output));
        const quint16 port = emu.port(QStringLiteral("TCP"));
        QVERIFY(port != 0);

        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(socket.waitForConnected(5000));

        socket.write(frame(0x01, 0x00, QByteArray::fromHex("03")));
        socket.write(frame(0x02, 0x00));
        QCOMPARE(readReply(socket, 10),
                 frame(0x02, 0x00, QByteArray::fromHex("03")));
        socket.write(QByteArray::fromHex("1bfffe000304 1bfeff"));
        QCOMPARE(readReply(socket, 13),
                 frame(0x00, 0x03, QByteArray::fromHex("05010000")));

        QVERIFY(emu.waitForLine(QStringLiteral("1b ff fe 00 03 04 1b fe ff")));
        QVERIFY2(emu.output.contains(
                     QStringLiteral("1b ff fe 01 00 01 03 1b fe ff  -> stored 03")),
                 qPrintable(emu.output));
        QVERIFY(emu.output.contains(QStringLiteral("1b ff fe 02 00 00 1b fe ff")));

        socket.write(frame(0x01, 0x00, QByteArray::fromHex("01")));
        QVERIFY(socket.waitForBytesWritten(5000));
        QVERIFY(emu.waitForLine(QStringLiteral("-> stored 01")));

        socket.disconnectFromHost();
        QVERIFY(emu.waitForLine(QStringLiteral("closed")));
    }

    void answersDiscoveryOnLoopback()
    {
        EmuProcess emu;
        QVERIFY2(emu.start({QStringLiteral("--tcp"), QStringLiteral("none"), QStringLiteral("--udp"),
                            QStringLiteral("0"), QStringLiteral("--vendor"), QStringLiteral("ACME"),
                            QStringLiteral("--model"), QStringLiteral("LP-9")}),
                 qPrintable(emu.output));
        const quint16 port = emu.port(QStringLiteral("UDP"));
        QVERIFY(port != 0);

        QUdpSocket socket;
        QVERIFY(socket.bind(QHostAddress::LocalHost, 0));
        const QByteArray request = QByteArray::fromHex("2a") + frame(0x02, 0x0C);
        QCOMPARE(socket.writeDatagram(request, QHostAddress::LocalHost, port), request.size());
        QElapsedTimer clock;
        clock.start();
        while (!socket.hasPendingDatagrams() && clock.elapsed() < 10000)
            socket.waitForReadyRead(100);
        QVERIFY(socket.hasPendingDatagrams());
        const QByteArray reply = socket.receiveDatagram().data();
        const QByteArray identity("ACME\0LP-9\0MFG:ACME;MDL:LP-9;CMD:TSPL;\0\0\0", 40);
        QCOMPARE(reply,
                 (QByteArray::fromHex("2a") + frame(0x02, 0x0C, identity)));
        QVERIFY(emu.waitForLine(QStringLiteral("UDP -> 127.0.0.1:")));
        QVERIFY(emu.output.contains(QStringLiteral("UDP <- 127.0.0.1:")));
    }

    void endsCleanlyOnSignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT (Ctrl-C)") << int(SIGINT);
    }
    void endsCleanlyOnSignal()
    {
        QFETCH(int, signal);
        EmuProcess emu;
        QVERIFY(emu.start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}));
        QVERIFY(::kill(pid_t(emu.process.processId()), signal) == 0);
        QVERIFY(emu.process.waitForFinished(10000));
        emu.output += QString::fromUtf8(emu.process.readAllStandardOutput());
        QCOMPARE(emu.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(emu.process.exitCode(), 0);
        QVERIFY(emu.output.contains(QStringLiteral("stopped")));
    }

    void rejectsBadOptions()
    {
        QProcess process;
        process.start(QStringLiteral(LPS_EMUPRINTER), {QStringLiteral("--tcp"), QStringLiteral("nonsense:99999")});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(process.readAllStandardError().contains("--tcp"));
    }
};

QTEST_GUILESS_MAIN(TestEmuPrinterCli)
#include "tst_emuprinter_cli.moc"

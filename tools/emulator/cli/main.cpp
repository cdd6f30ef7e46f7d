// lps-emuprinter: an emulated label printer on the network, for trying the
// setting tool without hardware and for the network tests.
//
//   lps-emuprinter                       TCP on 127.0.0.1:9100
//   lps-emuprinter --tcp 127.0.0.1:9200  another port
//   lps-emuprinter --udp 38400 --bind 0.0.0.0   also answer discovery
//                                        (inside a network namespace)
//   lps-emuprinter --serial 9600:8N1     also on a serial line: a
//                                        pseudo-terminal whose path is printed
//
// Every frame the printer receives is printed as one line in hexadecimal;
// a set frame also shows the value the printer now stores, so reading a
// page, changing it and writing it back shows the stored value change.
// Data outside frames (a downloaded firmware, console text) is counted per
// connection.
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/serial/serial_face.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    // Nothing useful can be done about a full pipe: one byte is enough.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[0], &byte, 1);
}

void line(const QString &text)
{
    std::fputs(qPrintable(text), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

QString className(quint8 cls)
{
    switch (cls) {
    case 0x00: return QStringLiteral("func ");
    case 0x01: return QStringLiteral("set  ");
    case 0x02: return QStringLiteral("query");
    default: return QStringLiteral("c%1  ").arg(cls, 2, 16, QLatin1Char('0'));
    }
}

QString mediumName(emu::Medium medium)
{
    switch (medium) {
    case emu::Medium::Tcp: return QStringLiteral("TCP");
    case emu::Medium::Udp: return QStringLiteral("UDP");
    case emu::Medium::Serial: return QStringLiteral("serial");
    case emu::Medium::Usb: return QStringLiteral("USB");
    }
    return QString();
}

// "ADDR:PORT", "PORT" (on 127.0.0.1) or "none".
bool parseEndpoint(const QString &text, bool &enabled, QHostAddress &address, quint16 &port)
{
    if (text == QLatin1String("none")) {
        enabled = false;
        return true;
    }
    enabled = true;
    QString portText = text;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        if (!address.setAddress(text.left(colon)))
            return false;
        portText = text.mid(colon + 1);
    }
    bool ok = false;
    const uint value = portText.toUInt(&ok);
    if (!ok || value > 65535)
        return false;
    port = quint16(value);
    return true;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "lps-emuprinter: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lps-emuprinter"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Emulated label printer on TCP (frames) and UDP (discovery).\n"
        "Prints one line per frame received; set frames also show the stored value."));
    parser.addHelpOption();
    const QCommandLineOption tcpOption(
        QStringLiteral("tcp"), QStringLiteral("TCP listen address, ADDR:PORT, PORT or none."),
        QStringLiteral("endpoint"), QStringLiteral("127.0.0.1:9100"));
    const QCommandLineOption udpOption(
        QStringLiteral("udp"), QStringLiteral("Answer discovery on this UDP port (0: any free)."),
        QStringLiteral("port"));
    const QCommandLineOption bindOption(
        QStringLiteral("bind"),
        QStringLiteral("UDP bind address (0.0.0.0 to hear broadcasts; only inside a network "
                       "namespace of your own)."),
        QStringLiteral("addr"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption vendorOption(QStringLiteral("vendor"),
                                          QStringLiteral("Manufacturer name."),
                                          QStringLiteral("name"), QStringLiteral("EMU"));
    const QCommandLineOption modelOption(QStringLiteral("model"),
                                         QStringLiteral("Model name."), QStringLiteral("name"),
                                         QStringLiteral("EMU-420T"));
    const QCommandLineOption deviceIdOption(
        QStringLiteral("device-id"),
        QStringLiteral("Device id text (default MFG:<vendor>;MDL:<model>;CMD:TSPL;). "
                       "Without an MFG: item the tool ignores the printer."),
        QStringLiteral("text"));
    const QCommandLineOption statusOption(
        QStringLiteral("status"), QStringLiteral("Status word (decimal or 0x hex)."),
        QStringLiteral("word"));
    const QCommandLineOption silentOption(QStringLiteral("silent"),
                                          QStringLiteral("Never answer."));
    const QCommandLineOption delayOption(QStringLiteral("delay"),
                                         QStringLiteral("Answer this many ms late."),
                                         QStringLiteral("ms"));
    const QCommandLineOption splitOption(QStringLiteral("split"),
                                         QStringLiteral("Write replies one byte at a time."));
    const QCommandLineOption garbageOption(QStringLiteral("garbage"),
                                           QStringLiteral("Send junk bytes ahead of replies."));
    const QCommandLineOption wrongCodeOption(QStringLiteral("wrong-code"),
                                             QStringLiteral("Answer with code + 1."));
    const QCommandLineOption negativeOption(
        QStringLiteral("negative-length"),
        QStringLiteral("Replies carry a length byte of 0x80 or more."));
    const QCommandLineOption beyondOption(
        QStringLiteral("length-beyond"),
        QStringLiteral("Replies carry a length byte N above the payload they send."), QStringLiteral("n"));
    const QCommandLineOption dropOption(
        QStringLiteral("drop-after"),
        QStringLiteral("Close a TCP connection after N received bytes."), QStringLiteral("n"));
    const QCommandLineOption pauseOption(
        QStringLiteral("pause-after"),
        QStringLiteral("Stop reading a TCP connection for MS milliseconds once it has brought N bytes "
                       "(a printer writing its flash)."),
        QStringLiteral("n:ms"));
    const QCommandLineOption refuseOption(QStringLiteral("refuse"),
                                          QStringLiteral("Accept TCP connections and close "
                                                         "them at once."));
    const QCommandLineOption ignoreSetOption(
        QStringLiteral("ignore-set"),
        QStringLiteral("Take set frames of this code (decimal or 0x hex) without keeping the value."),
        QStringLiteral("code"));
    const QCommandLineOption answersOption(QStringLiteral("answers"),
                                           QStringLiteral("Answer N queries, then fall silent."), QStringLiteral("n"));
    const QCommandLineOption goneOption(QStringLiteral("gone-after-reboot"),
                                        QStringLiteral("Never answer again after a reboot frame."));
    const QCommandLineOption forgetOption(
        QStringLiteral("forget-on-reboot"),
        QStringLiteral("A reboot frame puts the setting of this code (decimal or 0x hex) back to its factory value."),
        QStringLiteral("code"));
    const QCommandLineOption serialOption(
        QStringLiteral("serial"),
        QStringLiteral("Also answer on a serial line at BAUD (framing 8N1 unless given, e.g. 9600:7E2): a "
                       "pseudo-terminal whose path is printed (labelsetup-cli serial:PATH)."),
        QStringLiteral("baud[:framing]"));
    const QCommandLineOption restartOption(
        QStringLiteral("firmware-restart"),
        QStringLiteral("After a firmware (raw data, then a second of quiet) drop every link for MS milliseconds "
                       "(-1: for good), come back running VERSION, with \"reset\" at factory settings."),
        QStringLiteral("ms[:version[:reset]]"));
    parser.addOptions({restartOption, serialOption, tcpOption, udpOption, bindOption, vendorOption, modelOption,
                       deviceIdOption, statusOption, silentOption, delayOption, splitOption,
                       garbageOption, wrongCodeOption, negativeOption, beyondOption, dropOption,
                       pauseOption, refuseOption, ignoreSetOption, answersOption, goneOption, forgetOption});
    parser.process(app);

    emu::NetPrinter::Config config;
    if (!parseEndpoint(parser.value(tcpOption), config.tcp, config.tcpAddress, config.tcpPort))
        return fail(QStringLiteral("bad --tcp value"));
    if (parser.isSet(udpOption)) {
        bool ok = false;
        const uint port = parser.value(udpOption).toUInt(&ok);
        if (!ok || port > 65535)
            return fail(QStringLiteral("bad --udp value"));
        config.udp = true;
        config.udpPort = quint16(port);
        if (!config.udpAddress.setAddress(parser.value(bindOption)))
            return fail(QStringLiteral("bad --bind value"));
    }
    emu::SerialLine serialLine;
    if (parser.isSet(serialOption)) {
        const QString value = parser.value(serialOption);
        bool ok = false;
        serialLine.baud = value.section(QLatin1Char(':'), 0, 0).toInt(&ok);
        const QString framing = value.section(QLatin1Char(':'), 1);
        static const QRegularExpression form(QStringLiteral("^[78][NOE][12]$"));
        if (!ok || serialLine.baud <= 0 || (!framing.isEmpty() && !form.match(framing).hasMatch()))
            return fail(QStringLiteral("bad --serial value"));
        if (!framing.isEmpty()) {
            serialLine.dataBits = framing.at(0).digitValue();
            serialLine.parity = framing.at(1).toLatin1();
            serialLine.stopBits = framing.at(2).digitValue();
        }
    }
    if (!config.tcp && !config.udp && !parser.isSet(serialOption))
        return fail(QStringLiteral("nothing to serve: --tcp none without --udp or --serial"));

    emu::NetPrinter printer;
    emu::PrinterModel &model = printer.model();
    emu::SerialPrinter serialPrinter(&model);

    const QString vendor = parser.value(vendorOption);
    const QString modelName = parser.value(modelOption);
    const QString deviceId = parser.isSet(deviceIdOption)
        ? parser.value(deviceIdOption)
        : QStringLiteral("MFG:%1;MDL:%2;CMD:TSPL;").arg(vendor, modelName);
    model.setIdentity(vendor, modelName, deviceId);

    if (parser.isSet(statusOption)) {
        bool ok = false;
        const uint word = parser.value(statusOption).toUInt(&ok, 0);
        if (!ok)
            return fail(QStringLiteral("bad --status value"));
        model.setStatusWord(word);
    }

    emu::Faults faults;
    faults.silent = parser.isSet(silentOption);
    if (parser.isSet(delayOption)) {
        bool ok = false;
        faults.delayMs = parser.value(delayOption).toInt(&ok);
        if (!ok || faults.delayMs < 0)
            return fail(QStringLiteral("bad --delay value"));
    }
    faults.splitBytes = parser.isSet(splitOption);
    if (parser.isSet(garbageOption))
        faults.garbageBefore = QByteArray("noise\x1b\xff", 7);
    faults.wrongCode = parser.isSet(wrongCodeOption);
    faults.negativeLength = parser.isSet(negativeOption);
    if (parser.isSet(beyondOption)) {
        bool ok = false;
        faults.lengthBeyond = parser.value(beyondOption).toInt(&ok);
        if (!ok || faults.lengthBeyond < 1 || faults.lengthBeyond > 255)
            return fail(QStringLiteral("bad --length-beyond value"));
    }
    if (parser.isSet(dropOption)) {
        bool ok = false;
        faults.dropAfterBytes = parser.value(dropOption).toInt(&ok);
        if (!ok || faults.dropAfterBytes < 0)
            return fail(QStringLiteral("bad --drop-after value"));
    }
    if (parser.isSet(pauseOption)) {
        bool bytesOk = false, msOk = false;
        const QString value = parser.value(pauseOption);
        faults.pauseAfterBytes = value.section(QLatin1Char(':'), 0, 0).toInt(&bytesOk);
        faults.pauseMs = value.section(QLatin1Char(':'), 1).toInt(&msOk);
        if (!bytesOk || !msOk || faults.pauseAfterBytes < 0 || faults.pauseMs < 0)
            return fail(QStringLiteral("bad --pause-after value"));
    }
    faults.refuseConnections = parser.isSet(refuseOption);
    if (parser.isSet(ignoreSetOption)) {
        bool ok = false;
        faults.ignoreSetCode = int(parser.value(ignoreSetOption).toUInt(&ok, 0));
        if (!ok || faults.ignoreSetCode > 0xFF)
            return fail(QStringLiteral("bad --ignore-set value"));
    }
    if (parser.isSet(answersOption)) {
        bool ok = false;
        faults.answerLimit = parser.value(answersOption).toInt(&ok);
        if (!ok || faults.answerLimit < 0)
            return fail(QStringLiteral("bad --answers value"));
    }
    faults.goneAfterReboot = parser.isSet(goneOption);
    if (parser.isSet(forgetOption)) {
        bool ok = false;
        faults.forgetOnReboot = int(parser.value(forgetOption).toUInt(&ok, 0));
        if (!ok || faults.forgetOnReboot > 0xFF)
            return fail(QStringLiteral("bad --forget-on-reboot value"));
    }
    model.setFaults(faults);
    if (parser.isSet(restartOption)) {
        const std::optional<emu::FirmwareRestart> restart = emu::parseFirmwareRestart(parser.value(restartOption));
        if (!restart)
            return fail(QStringLiteral("bad --firmware-restart value"));
        model.setFirmwareRestart(*restart);
    }

    // Ctrl-C and SIGTERM end the event loop; the printer then closes its
    // sockets and thread on the way out.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return fail(QStringLiteral("socketpair failed"));
    QSocketNotifier signalNotifier(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    // Frames are printed from the model's log after each arrival, so that
    // a set frame can be shown with the value it left behind.
    qsizetype printed = 0;
    auto printNewFrames = [&] {
        const QList<emu::LoggedFrame> frames = model.frames();
        if (frames.size() < printed)
            printed = 0;
        for (; printed < frames.size(); ++printed) {
            const emu::LoggedFrame &frame = frames.at(printed);
            if (frame.medium == emu::Medium::Udp)
                continue;   // shown as the datagram itself
            QString text = QStringLiteral("%1 %2 0x%3  %4")
                               .arg(mediumName(frame.medium), className(frame.cls))
                               .arg(frame.code, 2, 16, QLatin1Char('0'))
                               .arg(hex(frame.bytes));
            if (frame.cls == 0x01)
                text += QStringLiteral("  -> stored %1").arg(hex(model.setting(frame.code)));
            line(text);
        }
    };
    QObject::connect(&printer, &emu::NetPrinter::tcpConnectionAccepted, &app,
                     [](const QString &peer) { line(QStringLiteral("TCP %1 connected").arg(peer)); });
    // Bytes outside frames (a firmware file, console text) are summed up
    // when their connection closes.
    qint64 rawShown = 0;
    QObject::connect(&printer, &emu::NetPrinter::tcpConnectionClosed, &app, [&](const QString &peer) {
        const qint64 raw = model.rawByteCount();
        if (raw > rawShown)
            line(QStringLiteral("TCP %1 sent %2 bytes of data").arg(peer).arg(raw - rawShown));
        rawShown = raw;
        line(QStringLiteral("TCP %1 closed").arg(peer));
    });
    QObject::connect(&printer, &emu::NetPrinter::tcpBytesReceived, &app, printNewFrames);
    QObject::connect(&printer, &emu::NetPrinter::udpDatagramReceived, &app,
                     [](const QString &peer, const QByteArray &datagram) {
                         line(QStringLiteral("UDP <- %1  %2").arg(peer, hex(datagram)));
                     });
    QObject::connect(&printer, &emu::NetPrinter::udpReplySent, &app,
                     [](const QString &peer, const QByteArray &reply) {
                         line(QStringLiteral("UDP -> %1  %2 bytes").arg(peer).arg(reply.size()));
                     });

    if ((config.tcp || config.udp) && !printer.start(config))
        return fail(printer.errorString());
    if (parser.isSet(serialOption)) {
        if (!serialPrinter.start(serialLine))
            return fail(serialPrinter.errorString());
        QObject::connect(&serialPrinter, &emu::SerialPrinter::bytesReceived, &app, printNewFrames,
                         Qt::QueuedConnection);
    }
    line(QStringLiteral("printer \"%1\" by \"%2\", device id \"%3\"").arg(modelName, vendor, deviceId));
    if (config.tcp)
        line(QStringLiteral("TCP listening on %1:%2")
                 .arg(config.tcpAddress.toString())
                 .arg(printer.tcpPort()));
    if (config.udp)
        line(QStringLiteral("UDP listening on %1:%2")
                 .arg(config.udpAddress.toString())
                 .arg(printer.udpPort()));
    if (parser.isSet(serialOption))
        line(QStringLiteral("serial line on %1 at %2 baud %3%4%5 (labelsetup-cli serial:%1)")
                 .arg(serialPrinter.terminalPath())
                 .arg(serialLine.baud)
                 .arg(serialLine.dataBits)
                 .arg(QLatin1Char(serialLine.parity))
                 .arg(serialLine.stopBits));
    line(QStringLiteral("ready"));

    const int result = app.exec();
    serialPrinter.stop();
    printer.stop();
    line(QStringLiteral("stopped"));
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    return result;
}

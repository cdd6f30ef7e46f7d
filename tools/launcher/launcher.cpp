// lps-launcher: run the tool (or any program) against an emulated printer.
//
//   lps-launcher [options] -- ./labelsetup [args...]
//
// The launcher plugs one emulated printer into a umockdev testbed (USB port
// 2 by default), serves the same printer over TCP on 127.0.0.1:9100, and
// starts the program with umockdev's preload library and UMOCKDEV_DIR set,
// so that the program's libusb finds the emulated printer instead of real
// hardware. The launcher itself is not preloaded: it answers the child's
// usbfs ioctls (umockdev forwards them over a socket to the face's handler)
// and prints every frame the printer receives, one line per frame, in hex.
// It exits with the program's exit code when the program ends.
//
// The same printer is also on an emulated serial port (/dev/ttyUSB0, an
// FTDI adapter, at --serial-baud) and on an emulated Bluetooth link
// (/dev/rfcomm0), both backed by umockdev's pseudo-terminals, so the
// program's port enumeration lists them.
#include "tools/emulator/core/printer_model.h"
#include "tools/emulator/usb/usb_face.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/serial/serial_face.h"
#include "tools/emulator/serial/serial_umockdev.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <link.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int sig)
{
    const char c = char(sig);
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

// An AddressSanitizer build of the tool refuses to start unless ASan's
// runtime comes first among the loaded libraries, ahead of umockdev's
// preload. When the launcher runs with ASan (a sanitizer build of the
// project), the same runtime is put first for the child.
QString loadedAsanRuntime()
{
    QString found;
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *data) {
            const char *name = info->dlpi_name;
            if (name && std::strstr(name, "/libasan.so")) {
                *static_cast<QString *>(data) = QString::fromLocal8Bit(name);
                return 1;
            }
            return 0;
        },
        &found);
    return found;
}

// umockdev's socket path is "$TMPDIR/umockdev.XXXXXX/ioctl//dev/bus/usb/
// BBB/DDD" and must fit a sockaddr_un (108 bytes); a long TMPDIR makes the
// attach fail with only a warning.
void keepSocketPathsShort()
{
    const QByteArray tmp = qgetenv("TMPDIR");
    if (!tmp.isEmpty() && tmp.size() + int(sizeof("/umockdev.XXXXXX/ioctl//dev/bus/usb/001/002")) > 100)
        qputenv("TMPDIR", "/tmp");
}

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

const char *mediumName(emu::Medium m)
{
    switch (m) {
    case emu::Medium::Usb: return "usb";
    case emu::Medium::Tcp: return "tcp";
    case emu::Medium::Udp: return "udp";
    case emu::Medium::Serial: return "serial";
    }
    return "?";
}

bool parseHostPort(const QString &text, QHostAddress &host, quint16 &port)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    bool ok = false;
    const uint p = text.mid(colon + 1).toUInt(&ok);
    if (!ok || p > 65535 || !host.setAddress(text.left(colon)))
        return false;
    port = quint16(p);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lps-launcher"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Runs a program against an emulated label printer on USB (umockdev) and TCP.\n"
        "Example: lps-launcher -- ./labelsetup"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("program"), QStringLiteral("Program to run, after --"));
    parser.addPositionalArgument(QStringLiteral("args"), QStringLiteral("Its arguments"), QStringLiteral("[args...]"));
    const QCommandLineOption portOption(QStringLiteral("usb-port"), QStringLiteral("USB port number (default 2)."),
                                        QStringLiteral("n"), QStringLiteral("2"));
    const QCommandLineOption pidOption(QStringLiteral("pid"), QStringLiteral("USB product id, hex (default 0618)."),
                                       QStringLiteral("hex"), QStringLiteral("0618"));
    const QCommandLineOption productOption(QStringLiteral("product"),
                                           QStringLiteral("USB product string (default ZD-N480)."),
                                           QStringLiteral("text"), QStringLiteral("ZD-N480"));
    const QCommandLineOption tcpOption(QStringLiteral("tcp"),
                                       QStringLiteral("Serve the printer over TCP (default 127.0.0.1:9100)."),
                                       QStringLiteral("host:port"), QStringLiteral("127.0.0.1:9100"));
    const QCommandLineOption noTcpOption(QStringLiteral("no-tcp"), QStringLiteral("Do not serve TCP."));
    const QCommandLineOption driverOption(QStringLiteral("driver-bound"),
                                          QStringLiteral("Start with the kernel printer driver holding the interface."));
    const QCommandLineOption silentOption(QStringLiteral("silent"), QStringLiteral("The printer never answers."));
    const QCommandLineOption delayOption(QStringLiteral("delay"), QStringLiteral("Answer this many ms late."),
                                         QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption quietOption(QStringLiteral("quiet"), QStringLiteral("Do not print received frames."));
    const QCommandLineOption preloadOption(QStringLiteral("preload"),
                                           QStringLiteral("umockdev preload library (default libumockdev-preload.so.0)."),
                                           QStringLiteral("library"), QStringLiteral("libumockdev-preload.so.0"));
    const QCommandLineOption serialBaudOption(QStringLiteral("serial-baud"),
                                              QStringLiteral("Speed of the serial printer (default 115200)."),
                                              QStringLiteral("baud"), QStringLiteral("115200"));
    const QCommandLineOption restartOption(
        QStringLiteral("firmware-restart"),
        QStringLiteral("After a firmware the printer leaves USB and TCP for MS milliseconds and comes back running "
                       "VERSION, with \"reset\" at factory settings (default 5000:V2.5.0; \"off\": never restarts)."),
        QStringLiteral("ms[:version[:reset]]"), QStringLiteral("5000:V2.5.0"));
    parser.addOptions({restartOption, serialBaudOption, portOption, pidOption, productOption, tcpOption, noTcpOption, driverOption, silentOption,
                       delayOption, quietOption, preloadOption});
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        std::fprintf(stderr, "lps-launcher: no program given (lps-launcher [options] -- program [args])\n");
        return 2;
    }

    bool ok = false;
    const int usbPort = parser.value(portOption).toInt(&ok);
    if (!ok || usbPort < 1 || usbPort > 127) {
        std::fprintf(stderr, "lps-launcher: bad --usb-port\n");
        return 2;
    }
    const uint pid = parser.value(pidOption).toUInt(&ok, 16);
    if (!ok || pid > 0xFFFF) {
        std::fprintf(stderr, "lps-launcher: bad --pid\n");
        return 2;
    }
    QHostAddress tcpHost;
    quint16 tcpPort = 0;
    const bool wantTcp = !parser.isSet(noTcpOption);
    if (wantTcp && !parseHostPort(parser.value(tcpOption), tcpHost, tcpPort)) {
        std::fprintf(stderr, "lps-launcher: bad --tcp (expected host:port)\n");
        return 2;
    }

    emu::PrinterModel model;
    emu::Faults faults;
    faults.silent = parser.isSet(silentOption);
    faults.delayMs = parser.value(delayOption).toInt();
    model.setFaults(faults);
    if (parser.value(restartOption) != QLatin1String("off")) {
        const std::optional<emu::FirmwareRestart> restart = emu::parseFirmwareRestart(parser.value(restartOption));
        if (!restart) {
            std::fprintf(stderr, "lps-launcher: bad --firmware-restart\n");
            return 2;
        }
        model.setFirmwareRestart(*restart);
    }

    keepSocketPathsShort();
    emu::UsbFace usb;
    emu::UsbPrinterConfig config;
    config.port = usbPort;
    config.productId = quint16(pid);
    config.product = parser.value(productOption);
    config.kernelDriverBound = parser.isSet(driverOption);
    const int usbId = usb.addPrinter(&model, config);
    if (usbId < 0) {
        std::fprintf(stderr, "lps-launcher: could not create the emulated USB printer\n");
        return 1;
    }
    std::printf("lps-launcher: USB printer %04x:%04x \"%s\" on port %d (%s), testbed %s\n", config.vendorId,
                config.productId, qPrintable(config.product), usbPort, qPrintable(usb.devNode(usbId)),
                qPrintable(usb.rootDir()));

    emu::SerialPrinter serialPrinter(&model), bluetoothPrinter(&model);
    const emu::EmulatedPort serialPort = emu::addSerialPort(usb.testbed(), 0, false);
    const emu::EmulatedPort bluetoothPort = emu::addSerialPort(usb.testbed(), 0, true);
    emu::SerialLine serialLine;
    serialLine.baud = parser.value(serialBaudOption).toInt();
    if (serialLine.baud > 0 && serialPort.masterFd >= 0 && serialPrinter.start(serialLine, serialPort.masterFd))
        std::printf("lps-launcher: serial printer on %s at %d baud 8N1\n", qPrintable(serialPort.devNode),
                    serialLine.baud);
    emu::SerialLine bluetoothLine;
    bluetoothLine.anySettings = true;
    if (bluetoothPort.masterFd >= 0 && bluetoothPrinter.start(bluetoothLine, bluetoothPort.masterFd))
        std::printf("lps-launcher: Bluetooth printer on %s\n", qPrintable(bluetoothPort.devNode));

    emu::NetPrinter net(&model);
    if (wantTcp) {
        emu::NetPrinter::Config netConfig;
        netConfig.tcpAddress = tcpHost;
        netConfig.tcpPort = tcpPort;
        if (net.start(netConfig))
            std::printf("lps-launcher: TCP printer on %s:%u\n", qPrintable(tcpHost.toString()), net.tcpPort());
        else
            std::printf("lps-launcher: no TCP printer: %s\n", qPrintable(net.errorString()));
    }
    std::fflush(stdout);

    // Child environment: umockdev's preload (after ASan's runtime when the
    // launcher carries one) in front of whatever LD_PRELOAD already held.
    QStringList preload;
    const QString asan = loadedAsanRuntime();
    if (!asan.isEmpty())
        preload << asan;
    preload << parser.value(preloadOption);
    const QString oldPreload = qEnvironmentVariable("LD_PRELOAD");
    if (!oldPreload.isEmpty())
        preload << oldPreload;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), preload.join(QLatin1Char(':')));
    env.insert(QStringLiteral("UMOCKDEV_DIR"), usb.rootDir());

    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.setInputChannelMode(QProcess::ForwardedInputChannel);

    // Print what the printer received, one line per frame.
    qsizetype shown = 0;
    qint64 rawShown = 0;
    auto showFrames = [&] {
        if (parser.isSet(quietOption))
            return;
        const QList<emu::LoggedFrame> frames = model.frames();
        for (; shown < frames.size(); ++shown) {
            const emu::LoggedFrame &f = frames[shown];
            // A set frame: show what the printer now keeps for that code.
            const QString stored = f.cls == 0x01
                ? QStringLiteral("  -> stored %1").arg(hexBytes(model.setting(f.code)))
                : QString();
            std::printf("%s  %s%s\n", mediumName(f.medium), qPrintable(hexBytes(f.bytes)), qPrintable(stored));
        }
        const qint64 raw = model.rawByteCount();
        if (raw != rawShown) {
            std::printf("raw  %lld bytes outside frames so far\n", static_cast<long long>(raw));
            rawShown = raw;
        }
        std::fflush(stdout);
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, showFrames);
    poll.start(50);

    int exitCode = 0;
    QObject::connect(&child, &QProcess::finished, &app, [&](int code, QProcess::ExitStatus status) {
        showFrames();
        if (status == QProcess::NormalExit) {
            exitCode = code;
        } else {
            std::fprintf(stderr, "lps-launcher: %s ended by a crash or a signal\n", qPrintable(child.program()));
            exitCode = 1;
        }
        app.quit();
    });
    QObject::connect(&child, &QProcess::errorOccurred, &app, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            std::fprintf(stderr, "lps-launcher: cannot start %s: %s\n", qPrintable(child.program()),
                         qPrintable(child.errorString()));
            exitCode = 127;
            app.quit();
        }
    });

    // Ctrl-C or a kill ends the child first, so the testbed is removed.
    if (::pipe(signalPipe) == 0) {
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        std::signal(SIGHUP, onSignal);
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [&] {
        char c = 0;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &c, 1);
        if (child.state() != QProcess::NotRunning) {
            child.terminate();
            if (!child.waitForFinished(3000))
                child.kill();
        } else {
            app.quit();
        }
    });

    child.start(positional.first(), positional.mid(1));
    const int loop = app.exec();
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished(3000);
    }
    return loop != 0 ? loop : exitCode;
}

// Long run against the emulated printer: queries and sets through the
// same session the command-line tool uses, over TCP and over emulated USB,
// with one operation in a hundred made under a fault the printer can show
// (late, split, garbage ahead, wrong code, a length byte beyond the data,
// silence, a dropped connection). Prints, per medium, the failures outside
// faults (there must be none), that every fault was recovered from, and
// open descriptors and resident memory at the first thousand operations
// and at the end: both must stay flat.
#include "query/printer_session.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <memory>

namespace {

constexpr int kFaultEvery = 100;      // on average, one faulted operation in this many
constexpr int kCheckpoint = 1000;

struct Usage { qsizetype fds = 0; qint64 rssKiB = 0; };

Usage usage()
{
    Usage u;
    u.fds = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size();
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                u.rssKiB = line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return u;
}

// A fault for one operation; TCP alone can drop a connection. Silence and
// a late answer cost a whole time-out, so they come seldom.
emu::Faults randomFault(QRandomGenerator &random, bool tcp, const char **name)
{
    emu::Faults f;
    switch (random.bounded(tcp ? 7 : 6)) {
    case 0: f.splitBytes = true; *name = "split"; break;
    case 1: f.garbageBefore = QByteArray("\x00\x55\xAA junk", 8); *name = "garbage"; break;
    case 2: f.wrongCode = true; *name = "wrong code"; break;
    case 3: f.negativeLength = true; *name = "length byte"; break;
    case 4:
        if (random.bounded(4) == 0) { f.silent = true; *name = "silent"; } else { f.splitBytes = true; *name = "split"; }
        break;
    case 5:
        if (random.bounded(4) == 0) { f.delayMs = 3500; *name = "late"; } else { f.wrongCode = true; *name = "wrong code"; }
        break;
    case 6: f.dropAfterBytes = 4; *name = "dropped"; break;
    }
    return f;
}

struct Outcome { int operations = 0, faulted = 0, cleanFailures = 0, notRecovered = 0; Usage first, last; double seconds = 0; };

Outcome soak(const QString &name, const PrinterAddress &address, emu::PrinterModel &model, int operations)
{
    Outcome o;
    PrinterSession session;
    QString error;
    if (session.open(address, &error) != 0) {
        std::fprintf(stderr, "%s: cannot open the emulated printer: %s\n", qPrintable(name), qPrintable(error));
        o.cleanFailures = 1;
        return o;
    }
    QRandomGenerator random(20261207);
    const bool tcp = address.kind == PrinterAddress::Kind::Tcp;
    bool afterFault = false;
    int lastFault = 0;
    const char *lastFaultName = "none";
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; i <= operations; ++i) {
        const bool fault = random.bounded(kFaultEvery) == 0;
        if (fault) {
            model.setFaults(randomFault(random, tcp, &lastFaultName));
            lastFault = i;
        }
        int result = 0;
        if (i % 2) {
            settings::Values values;
            result = session.read({QStringLiteral("print.speed")}, values);
        } else {
            result = session.send(SPEED, {{QStringLiteral("print.speed"), QString::number(i / 2 % 5 + 1)}});
        }
        if (fault) {
            model.setFaults({});
            ++o.faulted;
        } else if (result != 0) {
            ++(afterFault ? o.notRecovered : o.cleanFailures);
            std::fprintf(stderr, "\n%s: operation %d (%s) failed with %d; the last fault was \"%s\" at %d\n",
                         qPrintable(name), i, i % 2 ? "query" : "set", result, lastFaultName, lastFault);
        }
        afterFault = fault;
        // The emulated printer keeps every frame it is sent; that log is the
        // printer's memory, not the tool's, so it does not count here.
        model.clearLog();
        // What the window's event loop does between clicks: the socket
        // learns that the printer hung up, and objects let go of are deleted.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (i == kCheckpoint)
            o.first = usage();
        if (i % 1000 == 0)
            std::fprintf(stderr, "%s: %d of %d, %lld KiB resident\n", qPrintable(name), i, operations,
                         usage().rssKiB);
    }
    o.operations = operations;
    o.last = usage();
    o.seconds = double(clock.elapsed()) / 1000;
    std::fprintf(stderr, "\n");
    return o;
}

void report(const QString &name, const Outcome &o)
{
    std::printf("%s: %d operations (%d under a fault) in %.0f s; failures outside faults %d, "
                "not recovered after a fault %d\n"
                "  descriptors %lld -> %lld, resident memory %lld -> %lld KiB (%.3f x) "
                "from operation %d to the end\n",
                qPrintable(name), o.operations, o.faulted, o.seconds, o.cleanFailures, o.notRecovered,
                qlonglong(o.first.fds), qlonglong(o.last.fds), o.first.rssKiB, o.last.rssKiB,
                o.first.rssKiB ? double(o.last.rssKiB) / double(o.first.rssKiB) : 0.0, kCheckpoint);
}

} // namespace

int main(int argc, char *argv[])
{
    // The USB face must exist before libusb is first used.
    const bool preloaded = qEnvironmentVariable("LD_PRELOAD").contains(QLatin1String("umockdev"));
    std::unique_ptr<emu::UsbFace> face(preloaded ? new emu::UsbFace : nullptr);
    QCoreApplication app(argc, argv);
    // The transports' debug lines would drown the figures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    const int operations = qMax(kCheckpoint, argc > 1 ? QByteArray(argv[1]).toInt() : 10000);

    emu::NetPrinter printer;
    if (!printer.start({.tcpPort = 0})) {
        std::fprintf(stderr, "emulated printer: %s\n", qPrintable(printer.errorString()));
        return 1;
    }
    PrinterAddress tcp;
    tcp.kind = PrinterAddress::Kind::Tcp;
    tcp.host = QStringLiteral("127.0.0.1");
    tcp.port = printer.tcpPort();
    int status = 0;
    const auto judge = [&](const QString &name, const Outcome &o) {
        report(name, o);
        status |= o.cleanFailures || o.notRecovered || o.last.fds > o.first.fds ? 1 : 0;
    };
    judge(QStringLiteral("TCP"), soak(QStringLiteral("TCP"), tcp, printer.model(), operations));

    if (face) {
        emu::PrinterModel model;
        face->addPrinter(&model);
        PrinterAddress usb;
        usb.usbPort = 2;
        judge(QStringLiteral("USB"), soak(QStringLiteral("USB"), usb, model, operations));
    } else {
        std::printf("USB: skipped (run under umockdev-wrapper)\n");
    }
    return status;
}

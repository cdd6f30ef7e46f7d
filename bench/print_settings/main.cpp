// Wall time of the print settings page's exchanges over TCP loopback
// against the emulated printer, the way the page runs them: connect the
// socket, then either the 13 queries of a read (the page of a model
// without the print-mode setting) or the 13 set frames and the "print
// settings complete" function frame of a set, then disconnect.
//
// Every answered query ends with the protocol's own 10 ms pause (the
// printer needs it between commands), so 13 x 10 ms is the floor of a
// read; the aim is to stay within 10 % of it. Set frames are written
// without a reply and without a pause: their floor is the loopback
// itself, and the figure that matters is the time until the printer has
// all 14 frames.
#include "protocol/codes.h"
#include "protocol/instructions.h"
#include "protocol/frame.h"
#include "query/printer_io.h"
#include "tools/emulator/net/net_faces.h"
#include "transport/net_transport.h"
#include "bench/no_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace {

constexpr double kPauseMs = 10.0;

// The read's queries in slot order for a model without the print-mode
// setting (0x54 instead of 0x41).
const SetInfoType kReadQueries[] = {SPEED,          Densty_SETTING, LABLE_CLEARANCE, BLACK_CLEARANCE,
                                    PRINT_DIRECTION, PRINT_OFFSET,  VERTICAL_MIGRATION, PAPER_TYPE,
                                    DEFAULT_CODE,   SIMULATION,     AUTO_PAPER,      LABEL_SIZE,
                                    LG_MODE};
constexpr int kReadCount = int(sizeof kReadQueries / sizeof kReadQueries[0]);

QList<QByteArray> setFrames()
{
    constexpr int dots = 8;
    return {proto::defaultCodePageFrame(0),
            proto::speedFrame(2),
            proto::densityFrame(8),
            proto::labelGapFrame(QStringLiteral("3"), dots),
            proto::blackMarkGapFrame(QStringLiteral("3"), dots),
            proto::printDirectionFrame(0, 0),
            proto::autoPaperFrame(0),
            proto::paperTypeFrame(0),
            proto::simulationFrame(QStringLiteral("TSPL")),
            proto::verticalOffsetFrame(QStringLiteral("0"), dots),
            proto::printOffsetFrame(QStringLiteral("0"), dots),
            proto::labelSizeFrame(QStringLiteral("50"), QStringLiteral("100"), dots).frame,
            proto::languageFrame(1)};
}

struct Stats
{
    double mean = 0, median = 0, min = 0, max = 0;
};

Stats statsOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    Stats s;
    s.mean = std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
    s.median = values[values.size() / 2];
    s.min = values.front();
    s.max = values.back();
    return s;
}

double msSince(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    emu::NetPrinter printer;
    emu::NetPrinter::Config config;
    config.tcpPort = 0;
    if (!printer.start(config)) {
        std::fprintf(stderr, "emulated printer: %s\n", qPrintable(printer.errorString()));
        return 1;
    }
    NoWindow window;
    DeviceIoContrl_Net net(&window);
    if (net.Connect_Server(QStringLiteral("127.0.0.1"), printer.tcpPort()) != 0) {
        std::fprintf(stderr, "cannot reach the emulated printer\n");
        return 1;
    }
    emu::PrinterModel &model = printer.model();
    const QList<QByteArray> frames = setFrames();

    int failures = 0;
    std::vector<double> reads;
    std::vector<double> sets;
    std::vector<double> setsDelivered;
    unsigned char buffer[proto::kResultBufferSize];
    // One untimed round first: the first connection and the first pass
    // through the code pay for lazy set-up that the user pays only once.
    for (int run = -1; run < runs; ++run) {
        model.clearLog();
        QElapsedTimer clock;
        clock.start();
        DeviceIoContrl_Net::connectSocket();
        for (SetInfoType code : kReadQueries)
            failures += GetPrinterInfo(code, buffer, MediumNet) != 0;
        DeviceIoContrl_Net::disconnectSocket();
        const double readMs = msSince(clock);

        model.clearLog();
        clock.restart();
        DeviceIoContrl_Net::connectSocket();
        for (const QByteArray &frame : frames)
            failures += SendFrame(frame, MediumNet) != 0;
        failures += SetPrinterStatusButton(PRINT_SETTINGS_DONE, MediumNet) != 0;
        DeviceIoContrl_Net::disconnectSocket();
        const double setMs = msSince(clock);
        if (!model.waitForFrames(int(frames.size()) + 1, 5000))
            ++failures;
        if (run >= 0) {
            reads.push_back(readMs);
            sets.push_back(setMs);
            setsDelivered.push_back(msSince(clock));
        }
        // Let the socket handed to deleteLater go before the next run.
        QCoreApplication::processEvents();
    }

    const double floor = kReadCount * kPauseMs;
    const Stats read = statsOf(reads);
    const Stats set = statsOf(sets);
    const Stats delivered = statsOf(setsDelivered);
    std::printf("print settings over TCP loopback, %d runs\n", runs);
    std::printf("read (%d queries):  mean %.2f ms, median %.2f, min %.2f, max %.2f\n", kReadCount, read.mean,
                read.median, read.min, read.max);
    std::printf("  floor %d x %.0f ms = %.0f ms; ratio mean %.3f, median %.3f, max %.3f (goal <= 1.100)\n",
                kReadCount, kPauseMs, floor, read.mean / floor, read.median / floor, read.max / floor);
    std::printf("set (%d frames):    mean %.3f ms, median %.3f, min %.3f, max %.3f until the page is done\n",
                int(frames.size()) + 1, set.mean, set.median, set.min, set.max);
    std::printf("  all frames at the printer: mean %.3f ms, median %.3f, max %.3f\n", delivered.mean,
                delivered.median, delivered.max);
    std::printf("failed exchanges: %d\n", failures);
    if (failures != 0)
        return 3;
    return read.mean <= 1.1 * floor ? 0 : 2;
}

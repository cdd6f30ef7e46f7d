// Wall time of the print settings page's read (13 queries, the page of a
// model without the print-mode setting) over an emulated serial line at
// 115200 baud 8N1: a pseudo-terminal whose far end, the emulated printer,
// takes in each request and sends each reply at the line's pace.
//
// Its floor is what the protocol and the line impose: the 10 ms pause
// after every answered query, plus every byte of the requests and the
// replies at ten bits a byte. The aim is to stay within 1.2 x of it.
#include "bench/no_window.h"
#include "protocol/codes.h"
#include "protocol/frame.h"
#include "query/printer_io.h"
#include "tools/emulator/serial/serial_face.h"
#include "transport/serial_transport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace {

constexpr double kPauseMs = 10.0;
constexpr int kBaud = 115200;
constexpr double kBitsPerByte = 10.0;

const SetInfoType kReadQueries[] = {SPEED,           Densty_SETTING, LABLE_CLEARANCE,    BLACK_CLEARANCE,
                                    PRINT_DIRECTION, PRINT_OFFSET,   VERTICAL_MIGRATION, PAPER_TYPE,
                                    DEFAULT_CODE,    SIMULATION,     AUTO_PAPER,         LABEL_SIZE,
                                    LG_MODE};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // One line per exchange would cost more than the exchange.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    emu::SerialPrinter printer;
    if (!printer.start({.baud = kBaud})) {
        std::fprintf(stderr, "emulated printer: %s\n", qPrintable(printer.errorString()));
        return 1;
    }
    NoWindow window;
    DeviceIoContrl_Serial line(&window, false);
    serial::LineSettings settings;
    settings.baud = kBaud;
    if (line.Connect_Serial(printer.terminalPath(), settings) != 0) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(printer.terminalPath()));
        return 1;
    }

    // Every byte on the line: the nine-byte requests and the replies (the
    // payload the printer keeps and nine bytes of frame).
    qint64 bytes = 0;
    for (SetInfoType code : kReadQueries)
        bytes += 2 * proto::kFrameOverhead + printer.model().setting(quint8(code)).size();
    const int queries = int(sizeof kReadQueries / sizeof kReadQueries[0]);
    const double lineMs = double(bytes) * kBitsPerByte * 1000.0 / kBaud;
    const double floor = queries * kPauseMs + lineMs;

    int failures = 0;
    std::vector<double> reads;
    unsigned char buffer[proto::kResultBufferSize];
    for (int run = -1; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        for (SetInfoType code : kReadQueries)
            failures += GetPrinterInfo(code, buffer, MediumSerial) != 0;
        if (run >= 0)
            reads.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(reads.begin(), reads.end());
    const double mean = std::accumulate(reads.begin(), reads.end(), 0.0) / double(reads.size());
    const double median = reads[reads.size() / 2];
    std::printf("print settings read over a serial line at %d baud 8N1, %d runs\n", kBaud, runs);
    std::printf("read (%d queries, %lld bytes on the line): mean %.2f ms, median %.2f, min %.2f, max %.2f\n", queries,
                static_cast<long long>(bytes), mean, median, reads.front(), reads.back());
    std::printf("  floor %d x %.0f ms + %.1f ms on the line = %.1f ms; ratio mean %.3f, median %.3f, max %.3f "
                "(goal <= 1.200)\n",
                queries, kPauseMs, lineMs, floor, mean / floor, median / floor, reads.back() / floor);
    if (failures)
        std::printf("FAILED exchanges: %d\n", failures);
    return failures == 0 ? 0 : 1;
}

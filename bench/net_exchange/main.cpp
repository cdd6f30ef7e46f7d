// Latency of PrinterDataIORead over TCP loopback against the emulated
// printer: one query/reply exchange, then 100 in a row on one connection.
// Every successful exchange ends with the protocol's own 10 ms pause
// (the printer needs it between commands), so that is the floor.
#include "tools/emulator/net/net_faces.h"
#include "transport/net_transport.h"
#include "bench/no_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kProtocolPauseMs = 10.0;

double exchangeMs(int &result)
{
    unsigned char request[] = {0x1B, 0xFF, 0xFE, 0x02, 0x13, 0x00, 0x1B, 0xFE, 0xFF};
    unsigned char reply[264] = {};
    int replyLength = 0;
    QElapsedTimer clock;
    clock.start();
    result = DeviceIoContrl_Net::PrinterDataIORead(request, int(sizeof request), reply, replyLength);
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
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

    // The first exchange also connects (the open left the socket idle).
    int result = 0;
    const double first = exchangeMs(result);
    std::printf("first exchange (connects first):  %.3f ms, result %d\n", first, result);

    const double one = exchangeMs(result);
    std::printf("one exchange, connected:          %.3f ms, result %d "
                "(%.3f ms beyond the 10 ms pause)\n",
                one, result, one - kProtocolPauseMs);

    std::vector<double> times;
    int failures = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 100; ++i) {
        times.push_back(exchangeMs(result));
        failures += result != 0;
    }
    const double total = double(clock.nsecsElapsed()) / 1e6;
    std::sort(times.begin(), times.end());
    std::printf("100 exchanges in a row:           %.1f ms total, %.3f ms each "
                "(median %.3f, max %.3f), %d failed\n",
                total, total / 100, times[50], times.back(), failures);
    std::printf("  share of the 10 ms pauses:      %.1f%% of the total\n",
                100.0 * 100 * kProtocolPauseMs / total);
    return failures == 0 ? 0 : 3;
}

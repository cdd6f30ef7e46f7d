// A stand-in for the tool when the launcher is tested: lists the USB
// printers, opens the one on the port given, reads one setting and the
// status word, and prints what it got. Exit code 0 only if all of that
// worked.
#include "../net/fake_scan_host.h"

#include "protocol/frame.h"
#include "query/printer_io.h"
#include "transport/usb_transport.h"

#include <QCoreApplication>
#include <array>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int port = argc > 1 ? QByteArray(argv[1]).toInt() : 2;

    FakeScanHost host;
    CDeviceIOOpera usb(&host);
    std::array<_PRINTER_ATTR, kPrinterAttrCount> records{};
    Printer_Vector list;
    const int found = usb.GetPrinterHandle(records.data(), list);
    for (const QString &item : host.entries)
        std::printf("probe: listed %s\n", qPrintable(item));
    if (found != 1)
        return 3;

    if (CDeviceIOOpera::GetPrinterHandle(port) != 0)
        return 4;
    std::array<unsigned char, proto::kResultBufferSize> out{};
    const int ret = GetPrinterInfo(Densty_SETTING, out.data(), MediumUsb);
    std::printf("probe: density query ret %d value %d\n", ret, out[0]);
    unsigned char status[4] = {};
    int length = 0;
    const int control = CDeviceIOOpera::ReadFromControlEndpoint(status, length);
    std::printf("probe: status read ret %d length %d\n", control, length);
    CDeviceIOOpera::ClosePrinterHandle();
    std::fflush(stdout);
    return ret == 0 && control == 0 && length == 4 ? 0 : 5;
}

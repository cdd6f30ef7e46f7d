// A stand-in for the tool when the launcher is tested: lists the USB
// printers, opens the one on the port given, reads the density, sets it to
// 5, reads the status word, and prints what it got. Exit code 0 only if all
// of that worked, 4 when there is no printer on that port.
#include "../net/fake_scan_host.h"

#include "query/printer_io.h"
#include "transport/usb_transport.h"

#include <QCoreApplication>
#include <array>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    FakeScanHost host;
    CDeviceIOOpera usb(&host);
    std::array<_PRINTER_ATTR, kPrinterAttrCount> records{};
    Printer_Vector list;
    const int found = usb.GetPrinterHandle(records.data(), list);
    for (const QString &item : host.entries)
        std::printf("probe: listed %s\n", qPrintable(item));
    if (found != 1 || CDeviceIOOpera::GetPrinterHandle(argc > 1 ? QByteArray(argv[1]).toInt() : 2) != 0)
        return 4;
    std::array<unsigned char, 1024> out{};
    const int query = GetPrinterInfo(Densty_SETTING, out.data(), MediumUsb);
    const int set = SendFrame(frame(0x01, 0x13, QByteArray(1, char(5))), MediumUsb);
    quint32 word = 0;
    const int status = ReadStatusWord(MediumUsb, nullptr, word);
    std::printf("probe: query %d, set %d, status %d\n", query, set, status);
    return query == 0 && set == 0 && status == 0 ? 0 : 5;
}

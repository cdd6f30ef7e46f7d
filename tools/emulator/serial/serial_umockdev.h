// Emulated serial ports in a umockdev testbed, as the system's port
// enumeration (udev) shows real ones: a USB-serial adapter (ttyUSB<n>,
// with the maker, product and USB ids udev reports) or a Bluetooth link
// (rfcomm<n>, a virtual device without a parent). umockdev backs the
// device node with a pseudo-terminal; a SerialPrinter serves its master
// side.
#pragma once

#include <QString>

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace emu {

struct EmulatedPort
{
    QString name;        // ttyUSB3, rfcomm3
    QString devNode;     // /dev/ttyUSB3
    QString sysfsPath;
    int masterFd = -1;   // umockdev's; -1 when the port could not be added
};

EmulatedPort addSerialPort(UMockdevTestbed *testbed, int number, bool bluetooth);
// The kernel's own virtual terminal, which every Linux system has and no
// port list shows. Qt's port list reads the testbed through udev only while
// udev shows it some terminal; with none it falls back to the machine's own
// /dev (a ttyS0 there would be listed), so a test that needs to know which
// ports exist adds this first.
void addSystemTerminal(UMockdevTestbed *testbed);
// Unplugs the port: its sysfs device and its node go.
void removeSerialPort(UMockdevTestbed *testbed, const EmulatedPort &port);

} // namespace emu

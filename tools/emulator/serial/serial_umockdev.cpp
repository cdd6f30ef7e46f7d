// umockdev's GLib headers name a struct member "signals", which Qt
// defines as a keyword: they come first.
#include <umockdev.h>

#include "tools/emulator/serial/serial_umockdev.h"

#include <QFile>

namespace emu {

EmulatedPort addSerialPort(UMockdevTestbed *testbed, int number, bool bluetooth)
{
    EmulatedPort port;
    port.name = (bluetooth ? QStringLiteral("rfcomm%1") : QStringLiteral("ttyUSB%1")).arg(number);
    port.devNode = QStringLiteral("/dev/") + port.name;
    QString record;
    if (bluetooth) {
        // The kernel's RFCOMM ports are virtual: no bus, no maker.
        port.sysfsPath = QStringLiteral("/sys/devices/virtual/tty/") + port.name;
        record = QStringLiteral("P: /devices/virtual/tty/%1\nN: %1\nE: SUBSYSTEM=tty\nE: DEVNAME=%2\n"
                                "E: MAJOR=216\nE: MINOR=%3\n")
                     .arg(port.name, port.devNode)
                     .arg(number);
    } else {
        // An adapter's tty hangs below its (here: platform) parent device;
        // udev's properties name the adapter.
        const QString parent = QStringLiteral("/devices/platform/lps-serial.%1").arg(number);
        port.sysfsPath = QStringLiteral("/sys") + parent + QStringLiteral("/tty/") + port.name;
        record = QStringLiteral("P: %1\nE: SUBSYSTEM=platform\n\n"
                                "P: %1/tty/%2\nN: %2\nE: SUBSYSTEM=tty\nE: DEVNAME=%3\nE: MAJOR=188\nE: MINOR=%4\n"
                                "E: ID_VENDOR=FTDI\nE: ID_MODEL=FT232R_USB_UART\nE: ID_VENDOR_ID=0403\n"
                                "E: ID_MODEL_ID=6001\n")
                     .arg(parent, port.name, port.devNode)
                     .arg(number);
    }
    GError *error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed, record.toUtf8().constData(), &error)) {
        qWarning("emu serial: cannot add %s: %s", qPrintable(port.name), error ? error->message : "?");
        g_clear_error(&error);
        return port;
    }
    port.masterFd = umockdev_testbed_get_dev_fd(testbed, port.devNode.toUtf8().constData());
    return port;
}

void addSystemTerminal(UMockdevTestbed *testbed)
{
    // No node: nothing is meant to open it.
    GError *error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed, "P: /devices/virtual/tty/tty0\nE: SUBSYSTEM=tty\n", &error)) {
        qWarning("emu serial: cannot add tty0: %s", error ? error->message : "?");
        g_clear_error(&error);
    }
}

void removeSerialPort(UMockdevTestbed *testbed, const EmulatedPort &port)
{
    umockdev_testbed_remove_device(testbed, port.sysfsPath.toUtf8().constData());
    gchar *root = umockdev_testbed_get_root_dir(testbed);
    QFile::remove(QString::fromUtf8(root) + port.devNode);
    g_free(root);
}

} // namespace emu

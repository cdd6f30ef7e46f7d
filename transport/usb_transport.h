// USB transport over libusb-1.0. The device is never kept open between
// operations: each byte operation opens the selected device, claims its
// printer interface, transfers, releases and closes again. Only the
// selection (in printer_handle_usb) persists.
#pragma once

#include "transport/chunk_link.h"
#include "transport/device_records.h"
#include <QByteArray>
#include <QObject>

class ScanHost;

// Why a printer could not be opened or claimed, where the user can do
// something about it.
enum class UsbAccessProblem {
    None,        // no such failure, or one without advice
    Permission,  // the device node may not be opened by this user
    Busy,        // another program or driver holds the printer interface
};

// The problem a libusb error code of an open or a claim stands for.
UsbAccessProblem usbAccessProblemOf(int libusbError);

class CDeviceIOOpera : public QObject
{
    Q_OBJECT
public:
    explicit CDeviceIOOpera(ScanHost *host);
    ~CDeviceIOOpera() override;

    // Enumerate printers of vendor 0xE51D; fills records (at most
    // kPrinterAttrCount of them) and list, adds one entry per printer to the
    // host's device list. 1 when at least one printer was listed, else 0.
    int GetPrinterHandle(_PRINTER_ATTR *records, Printer_Vector &list);

    // Select the printer on the given USB port number. 0 on success, -1 when
    // no printer of the vendor is on that port, or the libusb error of
    // context creation.
    static int GetPrinterHandle(int port);
    static int FindPrinterDevOrder(int port, libusb_device **devs, int count);
    static void ClosePrinterHandle();
    // The selected printer's port number and device number on its bus (-1
    // when none is selected). A printer that restarts comes back on the
    // same port under a new device number.
    static int selectedPort();
    static int selectedAddress();
    static int GetUSBDevEndPoint(libusb_device *dev, int interfaceNumber, int &claimInterface,
                                 unsigned char &epIn, unsigned char &epOut);

    // Result::Ok, Result::UsbFailed (no device, no interface, a failed
    // transfer) or Result::UsbOpenFailed (open or claim failed).
    static int PrinterDataIOSwap(unsigned char *data, int length, unsigned char *reply, int &replyLength);
    // Write only: one bulk transfer of up to 5 minutes, the window's events
    // running meanwhile.
    static int PrinterDataIOButton(unsigned char *data, int length, unsigned char *reply, int &replyLength);
    // One chunk of a stream within `budget`: a transfer that ends part-way
    // leaves only the rest to the next attempt (transport/chunk_link.h).
    static int PrinterDataIOChunk(const QByteArray &chunk, const ChunkBudget &budget,
                                  const std::function<bool()> &stop);
    static QByteArray readDebugData();
    // The status word (vendor request 0xFF): 0, or a libusb error code.
    static int ReadFromControlEndpoint(unsigned char *buffer, int &length);

    // Why the last USB operation could not open or claim the printer
    // (None after one that could); asking forgets it. Every operation
    // notes the libusb result of its open and claim (0 when both worked).
    static UsbAccessProblem takeAccessProblem();
    static void noteAccessResult(int libusbError);

    static _PRINTER_HANDLE *printer_handle_usb;

private:
    ScanHost *m_host;
    _PRINTER_HANDLE *m_handle;
};

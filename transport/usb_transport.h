// USB transport over libusb-1.0. The device is never kept open between
// operations: each byte operation opens the selected device, claims its
// printer interface, transfers, releases and closes again. Only the
// selection (in printer_handle_usb) persists.
#pragma once

#include "transport/device_records.h"
#include <QByteArray>
#include <QObject>

class ScanHost;

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
    static int GetUSBDevEndPoint(libusb_device *dev, int interfaceNumber, int &claimInterface,
                                 unsigned char &epIn, unsigned char &epOut);

    // Result::Ok, Result::UsbFailed (no device, no interface, a failed
    // transfer) or Result::UsbOpenFailed (open or claim failed).
    static int PrinterDataIOSwap(unsigned char *data, int length, unsigned char *reply, int &replyLength);
    static int PrinterDataIOButton(unsigned char *data, int length, unsigned char *reply, int &replyLength);
    static QByteArray readDebugData();
    static int ReadFromControlEndpoint(unsigned char *buffer, int &length);

    static _PRINTER_HANDLE *printer_handle_usb;

private:
    ScanHost *m_host;
    _PRINTER_HANDLE *m_handle;
};

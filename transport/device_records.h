// Process-wide printer records: one handle record per transport class, the
// USB discovery records, the frame markers and the network receive state.
// Everything here is touched only on the GUI thread.
#pragma once

#include <QByteArray>
#include <QRandomGenerator64>
#include <cstdint>
#include <vector>

struct libusb_device;
struct libusb_context;
class QTcpSocket;

struct _PRINTER_HANDLE
{
    // USB side
    libusb_device *pHandle = nullptr;   // holds one reference while selected
    libusb_context *pContext = nullptr;
    int32_t vid = 0;
    int32_t pid = 0;
    // Network side
    char *host = nullptr;               // owned, NUL-terminated UTF-8
    QTcpSocket *pSocket = nullptr;      // owned, may be null
    uint16_t port = 0;
};

// One record per printer found by the USB enumeration.
struct _PRINTER_ATTR
{
    char modelname[256];                // "%s [%s] {%s}" display string
};

// Number of records the device-list refresh hands to the USB enumeration.
constexpr int kPrinterAttrCount = 5;

struct PrinterListEntry
{
    char name[256];                     // product string or "Unknown"
    char port[256];                     // "USB%03d"
};
using Printer_Vector = std::vector<PrinterListEntry>;

// Frame markers 1B FF FE and 1B FE FF.
extern const QByteArray head;
extern const QByteArray tail;

// Network receive state shared by the exchange, the debug read and discovery.
extern QByteArray rtBuf;
extern bool readReady_TCP;
extern QByteArray recvBuf_TCP;
extern QByteArray resultBuf_TCP;
extern bool timeoutFlag_TCP;
extern bool scanFlag_TCP;

// Discovery nonce.
extern QRandomGenerator64 *generator;
extern int randomInt;
extern int lastNumber;

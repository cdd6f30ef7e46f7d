// Serial transport: a printer on an RS-232 or USB-serial cable, or paired
// over Bluetooth. A paired Bluetooth printer appears on every desktop
// system as a serial port (Linux /dev/rfcomm*, macOS /dev/cu.*, Windows a
// COM port), so both media share this transport; only the result code of
// a failure and whether line settings mean anything differ.
//
// Unlike USB and TCP, the port stays open from the open to the close:
// opening a Bluetooth port builds the radio link (seconds), and opening a
// cable port may toggle its modem lines. Each exchange first drops what
// the printer sent before the request (a reply that came too late for the
// exchange that asked for it must not answer the next one), writes the
// request, and collects bytes until one whole reply frame is there (the
// stream-cut rule of the network exchange: lead-in, class and code, then a
// tail) or its time-out: the protocol's 3 s plus the time the request and
// the longest reply take on the line.
#pragma once

#include "protocol/serial_line.h"
#include "transport/chunk_link.h"
#include "transport/device_records.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QSerialPort;
class ScanHost;

// What the system tells about a port without opening it.
struct SerialPortFacts
{
    QString portName;        // the key: ttyUSB0, rfcomm0, cu.Printer-SPP, COM5
    QString systemLocation;  // /dev/ttyUSB0, \\.\COM5
    QString description;
    QString manufacturer;
    bool hasVendorId = false;
};

enum class PortSystem { Linux, MacOS, Windows, Other };
PortSystem currentPortSystem();

// Whether a port is a Bluetooth link rather than a cable, from its facts
// alone (nothing is opened: a port may be a modem or a GPS).
bool isBluetoothLink(const SerialPortFacts &port, PortSystem system);
// The ports the system lists, with macOS's dial-in twins (tty.X next to
// cu.X) left out: only the call-out side opens without waiting for a
// carrier.
QList<SerialPortFacts> systemPorts();
// The ports of one medium: Bluetooth links, or every other port.
QList<SerialPortFacts> portsOfMedium(bool bluetooth);
// The device list's "%s [%s] {%s}" item: maker (or the medium's name),
// description (or location), port name.
QString portDisplayText(const SerialPortFacts &port, bool bluetooth);

// The open link, kept by the transport object of the latest refresh.
struct SerialHandle
{
    QSerialPort *port = nullptr;   // owned; null until opened
    QString portName;
    serial::LineSettings settings;
    bool bluetooth = false;
    // When the bytes handed to the line so far will have left it
    // (milliseconds on the transport's monotonic clock).
    qint64 lineFreeAtMs = 0;
};

class DeviceIoContrl_Serial : public QObject
{
    Q_OBJECT
public:
    DeviceIoContrl_Serial(ScanHost *host, bool bluetooth);
    ~DeviceIoContrl_Serial() override;

    // Lists the ports of this medium in the host's device list; sends
    // nothing. 1 when at least one was listed, else 0. Both arguments are
    // ignored.
    int GetPrinterHandle(_PRINTER_ATTR *records, Printer_Vector &list);

    // Opens the port (a name from the list, or a path) with these
    // settings; 0 opened, 1 not. Bluetooth links ignore line settings.
    int Connect_Serial(const QString &portName, const serial::LineSettings &settings);
    void Disconnect_Serial();

    // The open link's speed; false when no link is open or the port
    // refuses the rate.
    static bool setLineSpeed(qint32 baud);
    static serial::LineSettings lineSettings();
    static bool isOpen();
    // Result::SerialFailed, or Result::BluetoothFailed over Bluetooth.
    static int failure();

    // Ok or failure(): no open link, a failed write, no reply in time.
    // The reply frame (at most proto::kReplyAreaSize bytes) goes to the
    // start of reply; replyLength is left unchanged.
    static int PrinterDataIORead(unsigned char *data, int length, unsigned char *reply, int &replyLength);
    // The same exchange with its own reply wait (plus the line time of the
    // longest reply): the speed search's short probes.
    static int PrinterDataIOProbe(const QByteArray &request, unsigned char *reply, int replyWaitMs);
    // Write only, up to 10 s plus the bytes' time on the line.
    static int PrinterDataIOButton(unsigned char *data, int length, unsigned char *reply, int &replyLength);
    // One chunk of a stream within `budget` (transport/chunk_link.h). The
    // writes are paced at the line's speed: a chunk counts as gone once the
    // line has had the time to carry it, so progress and the time left
    // follow the printer, not the system's buffers.
    static int PrinterDataIOChunk(const QByteArray &chunk, const ChunkBudget &budget,
                                  const std::function<bool()> &stop);
    // What the printer sent back after a console write: waits up to 1 s
    // for a first byte, then takes bytes until the line has been quiet for
    // a moment.
    static QByteArray readDebugData();
    // The network's status frame 1B FF FE 00 03 04 1B FE FF; the reply
    // frame (at most 256 bytes) goes to the start of buffer.
    static int ReadFromControlEndpoint(unsigned char *buffer, int &length);

    static SerialHandle *printer_handle_serial;

private:
    ScanHost *m_host;
    SerialHandle *m_handle;
};

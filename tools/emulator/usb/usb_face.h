// The emulated printer's USB face: one or more printers of vendor 0xE51D
// plugged into a umockdev testbed, answering usbfs ioctls the way the Linux
// kernel does for a real device. libusb runs unchanged on top of it, so the
// tool's whole USB path (enumeration by sysfs, string descriptors, claim and
// detach, bulk OUT/IN, the vendor status read, time-outs) is exercised.
//
// Bytes written to a printer's bulk OUT endpoint go to a PrinterModel
// session; whatever the model answers is queued and handed out to the next
// bulk IN transfers. An IN transfer with nothing queued simply stays pending
// until libusb gives up and discards it, exactly like a silent printer.
//
// The ioctls are served in umockdev's own worker thread; the face keeps its
// own small timer thread for held reaps and delayed replies. All public
// calls are thread-safe.
//
// The face shares no code with the tool's transport or protocol layers.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <functional>
#include <memory>

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace emu {

class PrinterModel;

struct UsbEndpoint
{
    quint8 address = 0x01;         // bit 7 set: IN
    quint8 attributes = 0x02;      // transfer type in bits 0-1 (2 = bulk)
    quint16 maxPacket = 512;
};

// One alternate setting of an interface as the configuration descriptor
// lists it.
struct UsbInterface
{
    quint8 number = 0;
    quint8 alternate = 0;
    quint8 stringIndex = 0;        // iInterface; 0 = no interface string
    QString text;                  // the string behind stringIndex, if any
    quint8 interfaceClass = 0x07;  // printer
    quint8 subClass = 0x01;
    quint8 protocol = 0x02;        // bidirectional
    QList<UsbEndpoint> endpoints = {UsbEndpoint{0x01, 0x02, 512}, UsbEndpoint{0x81, 0x02, 512}};
};

struct UsbPrinterConfig
{
    quint16 vendorId = 0xE51D;
    quint16 productId = 0x0618;
    QString product = QStringLiteral("ZD-N480");       // empty: iProduct 0
    QString manufacturer = QStringLiteral("Corvanta"); // empty: iManufacturer 0
    QString serial = QStringLiteral("EMU0001");        // empty: iSerialNumber 0
    int bus = 1;
    int port = 2;                  // sysfs name "<bus>-<port>" unless sysName is set
    QString sysName;               // e.g. "1-1.4" (port 4 behind a hub)
    int address = 0;               // device number on the bus; 0 = next free
    // Empty: one printer interface 0 with bulk OUT 0x01 and bulk IN 0x81.
    QList<UsbInterface> interfaces;
    // The interface whose bulk endpoints carry the printer's byte stream.
    quint8 printerInterface = 0;
    // usblp holds the interfaces until the host detaches it, and takes
    // them back when the host reconnects drivers (without it, a reconnect
    // binds nothing).
    bool kernelDriverBound = false;
};

// What the host did to one emulated printer.
struct UsbStats
{
    int opens = 0;                 // libusb_open (capability queries)
    int claims = 0;                // successful claims
    int claimFailures = 0;
    int releases = 0;
    int detaches = 0;              // kernel driver disconnected
    QList<int> claimedInterfaces;  // every successful claim, in order
    QMap<int, int> outTransfers;   // bulk OUT URBs per endpoint address
    qint64 outBytes = 0;           // bytes on the printer's OUT pipe
    int inCompleted = 0;           // bulk IN URBs answered with data
    int discarded = 0;             // URBs cancelled by the host
    int controlReads = 0;          // vendor status reads answered
    int emptyReaps = 0;            // reaps answered "nothing yet"
    int openHandles = 0;           // device files open now (a close is noticed by the next call)
};

class UsbFace
{
public:
    // With no testbed the face creates its own (and frees it with itself).
    // Create it before the first libusb_init of the process.
    explicit UsbFace(UMockdevTestbed *testbed = nullptr);
    ~UsbFace();
    UsbFace(const UsbFace &) = delete;
    UsbFace &operator=(const UsbFace &) = delete;

    UMockdevTestbed *testbed() const;
    QString rootDir() const;       // the value for UMOCKDEV_DIR

    // Plug in a printer driven by model (not owned; must outlive the face or
    // the device's unplug). Returns an id for the calls below, -1 on failure.
    // When the model restarts after a firmware (PrinterModel::
    // setFirmwareRestart) the printer leaves the bus, and comes back on the
    // same port as a new device (the next device number), which the host
    // must find again; the id stays the printer's.
    int addPrinter(PrinterModel *model, const UsbPrinterConfig &config = {});
    // Pull the cable: open handles fail with ENODEV, the device vanishes
    // from sysfs and /dev.
    void unplug(int id);

    QString sysfsPath(int id) const;
    QString devNode(int id) const;

    UsbStats stats(int id) const;
    bool kernelDriverBound(int id) const;
    // Binding usblp also makes it the driver a later reconnect binds.
    void setKernelDriverBound(int id, bool bound);
    // Another program keeps the interface: every claim fails with EBUSY.
    void setClaimRefused(int id, bool refused);
    // The vendor status read returns only this many of the word's four
    // bytes (a firmware that answers short).
    void setStatusReadLength(int id, int bytes);
    // The printer stalls the nth bulk OUT transfer on its pipe from now on
    // (1 = the next one): the host gets a pipe error for it and its bytes
    // never reach the model. Later transfers go through.
    void stallOutTransfer(int id, int nth);
    // The printer stops reading for `ms`, once, after its pipe has taken
    // `bytes` more bytes from now on (a printer writing its flash): the
    // OUT transfer that crosses the mark delivers the bytes up to it and
    // then waits (NAK) with the rest, as every OUT transfer does during
    // the pause. A transfer the host gives up on meanwhile ends cut short
    // at what it delivered; when the pause is over the waiting transfers
    // are taken whole.
    void pauseOutAfter(int id, qint64 bytes, int ms);
    // The cable is pulled in the middle of a transfer: the printer pipe
    // takes `bytes` more bytes from now on, then the device is gone. The OUT
    // transfer that crosses the limit delivers the bytes up to it and fails
    // with ENODEV, as does every call after it (a later open included); the
    // device leaves sysfs and /dev with unplug(), as udev would remove it a
    // moment later. -1: never.
    void unplugAfter(int id, qint64 bytes);
    // Bytes that the printer will hand to the next bulk IN transfers, as if
    // it had sent them unasked.
    void queueReply(int id, const QByteArray &bytes);
    void clearPendingReplies(int id);
    // Rewrite every reply of the model before it is queued (tests use it to
    // send replies the model would never produce).
    void setReplyFilter(int id, std::function<QByteArray(const QByteArray &)> filter);

    // Held empty reaps are answered "nothing yet" after this long; keeps
    // libusb's event loop from spinning while it waits for a reply.
    static constexpr int kReapHoldMs = 5;

    struct Device;
    struct Shared;

private:
    int plugIn(PrinterModel *model, const UsbPrinterConfig &config, int id);
    void pullOut(int id);
    void restarted(int id, PrinterModel *model, bool up);

    UMockdevTestbed *m_testbed = nullptr;
    bool m_ownsTestbed = false;
    std::shared_ptr<Shared> m_shared;
};

} // namespace emu

// USB transport. Printers of this family enumerate with vendor id 0xE51D;
// the product id tells the brand the printer is sold under. The tool never
// keeps a printer open: a selection is just a referenced libusb_device (and
// the context it lives in), and every byte operation opens, claims,
// transfers, releases and closes again, so the printer stays usable by other
// programs between operations.
#include "transport/usb_transport.h"

#include "protocol/frame.h"
#include "protocol/result.h"
#include "transport/scan_host.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QDebug>
#include <QString>
#include <libusb.h>

#include <atomic>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <vector>

_PRINTER_HANDLE *CDeviceIOOpera::printer_handle_usb = nullptr;

namespace {

constexpr uint16_t kVendorId = 0xE51D;
constexpr int kReplySize = proto::kReplyAreaSize;
constexpr unsigned int kSwapTimeoutMs = 3000;
constexpr unsigned int kButtonTimeoutMs = 300000;  // one write-only frame; file chunks get their own attempts
constexpr unsigned int kControlTimeoutMs = 5000;
// Reading away what an earlier exchange left behind: each read waits this
// long, and at most this many replies' worth are taken.
constexpr unsigned int kDrainTimeoutMs = 20;
constexpr int kDrainReads = 16;
// A write waits for its transfer in slices this long, running the window's
// events in between.
constexpr int kWriteSliceUs = 50000;

// An exchange whose reply did not arrive whole (cut short, or later than the
// time-out) may have left the rest of it in the printer's IN pipe, where the
// next query would take it for its own reply. Then, and only then, the next
// query first reads the pipe empty.
bool staleInputPossible = false;

bool holdsFrameTail(const unsigned char *bytes, int length)
{
    static const unsigned char tail[] = {0x1B, 0xFE, 0xFF};
    return std::search(bytes, bytes + length, std::begin(tail), std::end(tail)) != bytes + length;
}

struct Manufacturer
{
    const char *name;
    std::vector<uint16_t> productIds;
};

// Brand by product id. Built on first use and kept for the process; the
// lists do not overlap, the first row that holds the id wins.
const std::vector<Manufacturer> &manufacturerTable()
{
    static const std::vector<Manufacturer> table = {
        {"Corvanta", {0x0301, 0x0302, 0x0401, 0x0402, 0x0403, 0x0511, 0x0618, 0x1402, 0x1403}},
        {"Label", {0x0311, 0x0322, 0x0411, 0x0412, 0x0413, 0x0504, 0x0507, 0x0508, 0x0509, 0x0510, 0x0513, 0x0514,
                   0x0614, 0x0617, 0x1411, 0x1413}},
        {"VELDOR", {0x1401, 0x1420, 0x4110, 0x4111, 0x4112, 0x4113, 0x4114, 0x4115, 0x4116, 0x0604, 0x0605, 0x0606,
                    0x0607, 0x0608, 0x0609, 0x0610, 0x0611, 0x0612, 0x0613, 0x0616}},
        {"Qestro", {0x0414, 0x0502, 0x0503, 0x0630, 0x0631, 0x0632, 0x0640, 0x0641, 0x0642}},
        {"Vantrel", {0x0601, 0x0602, 0x0603, 0x0615}},
        {"Silver Falcon", {0x0505, 0x0506}},
    };
    return table;
}

const char *manufacturerOf(uint16_t productId)
{
    for (const Manufacturer &m : manufacturerTable())
        for (uint16_t id : m.productIds)
            if (id == productId)
                return m.name;
    return "Unknown";
}

void copyField(char (&field)[256], const char *text)
{
    std::memset(field, 0, sizeof field);
    std::snprintf(field, sizeof field, "%s", text);
}

// Why the last open or claim failed, for the window's advice. Operations
// may run on a worker thread while the window reads it.
std::atomic<UsbAccessProblem> lastAccessProblem{UsbAccessProblem::None};

// One operation's hold on the selected printer: the device is opened and
// its printer interface claimed when the object is made, and released and
// closed when it goes, whichever way the operation ends.
//
// The kernel's printer driver (usblp) binds to these printers on most
// desktops and holds the interface. libusb's automatic detach takes the
// interface from it as the claim is made and binds the driver again when
// the interface is released, so every operation works whether the driver
// is loaded or not, and the printer is left to the driver in between.
class ClaimedPrinter
{
public:
    ClaimedPrinter();
    ~ClaimedPrinter();
    ClaimedPrinter(const ClaimedPrinter &) = delete;
    ClaimedPrinter &operator=(const ClaimedPrinter &) = delete;

    // Result::Ok when claimed; otherwise what the operation returns.
    int result() const { return m_result; }
    // The libusb error behind a failed result (LIBUSB_ERROR_OTHER when no
    // device was selected or it has no printer interface).
    int error() const { return m_error; }
    // The whole request to the bulk OUT endpoint as one background
    // transfer (Ok or UsbFailed), waited for with the thread's events
    // running (user input held back) until it ends, `deadline`
    // passes or `stop` holds; the last two cancel it. `sent` gets the
    // bytes that went out, whatever the result; `gone` is set when the
    // printer is no longer there.
    int writeWaiting(const QByteArray &bytes, const QDeadlineTimer &deadline, const std::function<bool()> &stop,
                     int &sent, bool &gone);
    // One bulk IN transfer of up to `size` bytes: Ok or UsbFailed.
    // `received`, when given, gets the number of bytes read.
    int read(unsigned char *buffer, int size, unsigned int timeoutMs, int *received = nullptr);
    // Reads and drops whatever the printer still has to send.
    void drain();
    // Vendor request 0xFF to the printer interface: the bytes read, or a
    // libusb error.
    int readStatus(unsigned char *buffer, int size, unsigned int timeoutMs);

private:
    void fail(int result, int error);

    libusb_context *m_context = nullptr;
    libusb_device_handle *m_handle = nullptr;
    int m_interface = 0;
    unsigned char m_epIn = 0;
    unsigned char m_epOut = 0;
    bool m_claimed = false;
    int m_result = Result::Ok;
    int m_error = LIBUSB_SUCCESS;
};

void ClaimedPrinter::fail(int result, int error)
{
    m_result = result;
    m_error = error;
    CDeviceIOOpera::noteAccessResult(error);
}

ClaimedPrinter::ClaimedPrinter()
{
    CDeviceIOOpera::noteAccessResult(LIBUSB_SUCCESS);
    _PRINTER_HANDLE *record = CDeviceIOOpera::printer_handle_usb;
    if (!record || !record->pHandle) {
        qDebug("printer_handle_usb == NULL or  printer_handle_usb->pHandle == NULL");
        fail(Result::UsbFailed, LIBUSB_ERROR_OTHER);
        return;
    }
    if (CDeviceIOOpera::GetUSBDevEndPoint(record->pHandle, 0, m_interface, m_epIn, m_epOut) != 0) {
        qDebug("Get Printer EndPoint falied");
        fail(Result::UsbFailed, LIBUSB_ERROR_OTHER);
        return;
    }
    m_context = record->pContext;
    int r = libusb_open(record->pHandle, &m_handle);
    if (r != 0 || !m_handle) {
        qDebug("libusb_open fail (code=%d)(msg=%s).", r, libusb_error_name(r));
        fail(Result::UsbOpenFailed, r != 0 ? r : LIBUSB_ERROR_OTHER);
        return;
    }
    if (const int a = libusb_set_auto_detach_kernel_driver(m_handle, 1); a != 0)
        qDebug("libusb_set_auto_detach_kernel_driver: %s", libusb_error_name(a));
    const bool driverHeld = libusb_kernel_driver_active(m_handle, m_interface) == 1;
    r = libusb_claim_interface(m_handle, m_interface);
    if (r == 0) {
        m_claimed = true;
        return;
    }
    qDebug("libusb_claim_interface failed: ret = %d (%s)", r, libusb_strerror(r));
    fail(Result::UsbOpenFailed, r);
    // The detach happened but another program got the interface: the
    // driver gets it back here, since no release will follow.
    if (driverHeld && libusb_kernel_driver_active(m_handle, m_interface) == 0)
        libusb_attach_kernel_driver(m_handle, m_interface);
}

ClaimedPrinter::~ClaimedPrinter()
{
    if (m_claimed)
        libusb_release_interface(m_handle, m_interface);
    if (m_handle)
        libusb_close(m_handle);
}

int ClaimedPrinter::readStatus(unsigned char *buffer, int size, unsigned int timeoutMs)
{
    return libusb_control_transfer(m_handle, 0xC1, 0xFF, 0, 0, buffer, uint16_t(size), timeoutMs);
}

int ClaimedPrinter::writeWaiting(const QByteArray &bytes, const QDeadlineTimer &deadline,
                                 const std::function<bool()> &stop, int &sent, bool &gone)
{
    sent = 0;
    // libusb wants a writable buffer, even for an OUT transfer.
    QByteArray buffer = bytes;
    libusb_transfer *transfer = libusb_alloc_transfer(0);
    if (!transfer)
        return Result::UsbFailed;
    int completed = 0;
    const auto done = [](libusb_transfer *t) { *static_cast<int *>(t->user_data) = 1; };
    // No time-out of its own: the wait below cancels it at the deadline.
    libusb_fill_bulk_transfer(transfer, m_handle, m_epOut, reinterpret_cast<unsigned char *>(buffer.data()),
                              int(buffer.size()), done, &completed, 0);
    if (const int r = libusb_submit_transfer(transfer); r != 0) {
        qDebug("libusb_bulk_transfer write failed: %s", libusb_strerror(r));
        gone = r == LIBUSB_ERROR_NO_DEVICE;
        libusb_free_transfer(transfer);
        return Result::UsbFailed;
    }
    bool cancelled = false;
    while (!completed) {
        if (!cancelled && (deadline.hasExpired() || (stop && stop()))) {
            libusb_cancel_transfer(transfer);
            cancelled = true;
        }
        timeval slice{0, kWriteSliceUs};
        libusb_handle_events_timeout_completed(m_context, &slice, &completed);
        if (!completed)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    sent = transfer->actual_length;
    const libusb_transfer_status status = transfer->status;
    libusb_free_transfer(transfer);
    qDebug("libusb_bulk_transfer write: %d %d", int(bytes.size()), sent);
    if (status == LIBUSB_TRANSFER_COMPLETED)
        return Result::Ok;
    qDebug("libusb_bulk_transfer write failed: %s", libusb_error_name(status));
    gone = status == LIBUSB_TRANSFER_NO_DEVICE;
    // A stalled endpoint takes nothing until the halt is cleared.
    if (status == LIBUSB_TRANSFER_STALL)
        libusb_clear_halt(m_handle, m_epOut);
    return Result::UsbFailed;
}

int ClaimedPrinter::read(unsigned char *buffer, int size, unsigned int timeoutMs, int *received)
{
    int got = 0;
    const int r = libusb_bulk_transfer(m_handle, m_epIn, buffer, size, &got, timeoutMs);
    if (received)
        *received = got;
    if (r < 0) {
        qDebug("libusb_bulk_transfer read failed: %s", libusb_strerror(r));
        return Result::UsbFailed;
    }
    return Result::Ok;
}

void ClaimedPrinter::drain()
{
    unsigned char buffer[kReplySize];
    int dropped = 0;
    for (int i = 0; i < kDrainReads; ++i) {
        int got = 0;
        if (libusb_bulk_transfer(m_handle, m_epIn, buffer, kReplySize, &got, kDrainTimeoutMs) != 0 || got == 0)
            break;
        dropped += got;
    }
    qDebug("stale bytes read away before the query: %d", dropped);
}

// A chunk over the printer's bulk OUT pipe. A transfer always ends before
// its wait does (at the deadline it is cancelled), so nothing is ever left
// on its way: whatever did not go out is the next attempt's to send.
class UsbChunkLink : public ChunkLink
{
public:
    int result() const { return m_printer.result(); }

    bool start(const QByteArray &bytes) override
    {
        if (m_gone || m_printer.result() != Result::Ok)
            return false;
        m_pending = bytes;
        return true;
    }
    qint64 wait(const QDeadlineTimer &deadline, const std::function<bool()> &stop) override
    {
        int sent = 0;
        m_printer.writeWaiting(std::exchange(m_pending, {}), deadline, stop, sent, m_gone);
        return sent;
    }
    qint64 onTheWay() const override { return 0; }
    bool broken() const override { return m_gone; }

private:
    ClaimedPrinter m_printer;
    QByteArray m_pending;
    bool m_gone = false;
};

int writeChunk(const QByteArray &bytes, const ChunkBudget &budget, const std::function<bool()> &stop)
{
    UsbChunkLink link;
    if (link.result() != Result::Ok)
        return link.result();
    return sendChunk(link, bytes, budget, stop) ? Result::Ok : Result::UsbFailed;
}

} // namespace

CDeviceIOOpera::CDeviceIOOpera(ScanHost *host)
    : m_host(host), m_handle(new _PRINTER_HANDLE{})
{
    printer_handle_usb = m_handle;
}

CDeviceIOOpera::~CDeviceIOOpera()
{
    if (printer_handle_usb == m_handle) {
        ClosePrinterHandle();
        printer_handle_usb = nullptr;
    } else {
        // A later scan replaced this record; drop what it still holds.
        if (m_handle->pHandle)
            libusb_unref_device(m_handle->pHandle);
        if (m_handle->pContext)
            libusb_exit(m_handle->pContext);
    }
    delete m_handle;
}

int CDeviceIOOpera::GetPrinterHandle(_PRINTER_ATTR *records, Printer_Vector &list)
{
    libusb_context *context = nullptr;
    if (libusb_init(&context) != 0) {
        qDebug("Failed to initialize libusb");
        return 0;
    }

    libusb_device **devices = nullptr;
    const ssize_t count = libusb_get_device_list(context, &devices);
    manufacturerTable();

    // The window hands over kPrinterAttrCount records. Printers past that
    // are left out of the list (and only counted) rather than written past
    // the caller's array.
    int n = 0;
    int leftOut = 0;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device *dev = devices[i];
        libusb_device_descriptor desc{};
        if (libusb_get_device_descriptor(dev, &desc) != 0 || desc.idVendor != kVendorId)
            continue;
        if (n >= kPrinterAttrCount) {
            ++leftOut;
            continue;
        }
        libusb_device_handle *handle = nullptr;
        if (libusb_open(dev, &handle) != 0 || !handle)
            continue;

        char product[256] = {};
        if (desc.iProduct == 0) {
            std::snprintf(product, sizeof product, "%s", "Unknown");
        } else if (libusb_get_string_descriptor_ascii(handle, desc.iProduct, reinterpret_cast<unsigned char *>(product),
                                                      sizeof product) < 0) {
            std::memset(product, 0, sizeof product);
        }
        char port[256] = {};
        std::snprintf(port, sizeof port, "USB%03d", libusb_get_port_number(dev));

        PrinterListEntry entry;
        copyField(entry.name, product);
        copyField(entry.port, port);
        list.push_back(entry);

        // The display string is cut to the record's 255 characters.
        const int full = std::snprintf(records[n].modelname, sizeof records[n].modelname, "%s [%s] {%s}",
                                       manufacturerOf(desc.idProduct), product, port);
        if (full >= int(sizeof records[n].modelname))
            qDebug("USB scan: display string cut from %d to %d characters", full,
                   int(sizeof records[n].modelname) - 1);
        qDebug("<< attr[iDevNum].modelname:%s", records[n].modelname);
        libusb_close(handle);
        ++n;
    }
    if (leftOut > 0)
        qDebug("USB scan: %d more printer(s) attached than the device list holds (%d); not listed", leftOut,
               kPrinterAttrCount);

    if (devices)
        libusb_free_device_list(devices, 1);
    libusb_exit(context);

    const auto running = [this] { return !m_host || m_host->scanRunning(); };
    if (!running())
        return 0;
    for (int i = 0; i < n && running(); ++i)
        if (m_host)
            m_host->addScanResult(QString::fromLocal8Bit(records[i].modelname));
    if (m_host)
        m_host->setScanProgress(100);
    QCoreApplication::processEvents();
    return n > 0 ? 1 : 0;
}

int CDeviceIOOpera::GetPrinterHandle(int port)
{
    _PRINTER_HANDLE *record = printer_handle_usb;
    if (!record)
        return -1;
    // Opening twice without a close in between must not leak the first
    // selection.
    ClosePrinterHandle();

    const int r = libusb_init(&record->pContext);
    if (r != 0) {
        record->pContext = nullptr;
        return r;
    }
    libusb_device **devices = nullptr;
    const ssize_t count = libusb_get_device_list(record->pContext, &devices);
    const int found = FindPrinterDevOrder(port, devices, int(count));
    if (devices)
        libusb_free_device_list(devices, 1);
    if (found == 0)
        return 0;

    qDebug("FindPrinterDevOrder失败");
    libusb_exit(record->pContext);
    record->pContext = nullptr;
    return -1;
}

int CDeviceIOOpera::FindPrinterDevOrder(int port, libusb_device **devs, int count)
{
    _PRINTER_HANDLE *record = printer_handle_usb;
    if (count < 1 || !devs || !record)
        return -1;
    int result = -1;
    // Several printers can sit on the same port number behind different
    // hubs or buses; the last one in list order is taken.
    for (int i = 0; i < count; ++i) {
        libusb_device_descriptor desc{};
        if (libusb_get_device_descriptor(devs[i], &desc) != 0) {
            std::fputs("Get Device Descriptor Failed", stderr);
            continue;
        }
        if (desc.idVendor != kVendorId || libusb_get_port_number(devs[i]) != port)
            continue;
        if (record->pHandle)
            libusb_unref_device(record->pHandle);
        record->pHandle = libusb_ref_device(devs[i]);
        record->vid = kVendorId;
        record->pid = desc.idProduct;
        result = 0;
    }
    return result;
}

int CDeviceIOOpera::selectedPort()
{
    const _PRINTER_HANDLE *record = printer_handle_usb;
    return record && record->pHandle ? libusb_get_port_number(record->pHandle) : -1;
}

int CDeviceIOOpera::selectedAddress()
{
    const _PRINTER_HANDLE *record = printer_handle_usb;
    return record && record->pHandle ? libusb_get_device_address(record->pHandle) : -1;
}

void CDeviceIOOpera::ClosePrinterHandle()
{
    _PRINTER_HANDLE *record = printer_handle_usb;
    if (!record)
        return;
    if (record->pHandle)
        libusb_unref_device(record->pHandle);
    record->pHandle = nullptr;
    if (record->pContext)
        libusb_exit(record->pContext);
    record->pContext = nullptr;
}

int CDeviceIOOpera::GetUSBDevEndPoint(libusb_device *dev, int interfaceNumber, int &claimInterface,
                                      unsigned char &epIn, unsigned char &epOut)
{
    libusb_config_descriptor *config = nullptr;
    const int r = libusb_get_config_descriptor(dev, 0, &config);
    if (r != 0) {
        std::fprintf(stderr, "libusb_get_config_descriptor failed: %s\n", libusb_strerror(r));
        return r;
    }
    // The printer interface is found by its string index, not by its
    // number: asking for 0 picks the first alternate setting without an
    // interface string, which on these printers is the printer interface.
    const libusb_interface_descriptor *chosen = nullptr;
    for (int i = 0; i < config->bNumInterfaces && !chosen; ++i) {
        const libusb_interface &iface = config->interface[i];
        for (int a = 0; a < iface.num_altsetting; ++a) {
            const libusb_interface_descriptor &alt = iface.altsetting[a];
            qDebug() << "iInterface:" << alt.iInterface << "interface:" << interfaceNumber;
            if (alt.iInterface == interfaceNumber) {
                chosen = &alt;
                break;
            }
        }
    }
    if (!chosen) {
        std::fprintf(stderr, "Interface %d not found.\n", interfaceNumber);
        libusb_free_config_descriptor(config);
        return -5;
    }
    claimInterface = chosen->bInterfaceNumber;
    for (int e = 0; e < chosen->bNumEndpoints; ++e) {
        const libusb_endpoint_descriptor &ep = chosen->endpoint[e];
        if ((ep.bmAttributes & 3) != LIBUSB_TRANSFER_TYPE_BULK)
            continue;
        if (ep.bEndpointAddress & 0x80)
            epIn = ep.bEndpointAddress;
        else
            epOut = ep.bEndpointAddress;
    }
    libusb_free_config_descriptor(config);
    return 0;
}

int CDeviceIOOpera::PrinterDataIOSwap(unsigned char *data, int length, unsigned char *reply, int &replyLength)
{
    ClaimedPrinter printer;
    if (printer.result() != Result::Ok)
        return printer.result();
    if (reply && staleInputPossible)
        printer.drain();
    int sent = 0;
    bool gone = false;
    if (const int r = printer.writeWaiting(QByteArray(reinterpret_cast<const char *>(data), length),
                                           QDeadlineTimer(kSwapTimeoutMs, Qt::PreciseTimer), {}, sent, gone);
        r != Result::Ok)
        return r;
    if (reply) {
        // The printer's reply is read in one go into a fixed 264-byte area;
        // what is not filled stays zero and callers judge the frame itself.
        unsigned char buffer[kReplySize] = {};
        int received = 0;
        const int r = printer.read(buffer, kReplySize, kSwapTimeoutMs, &received);
        staleInputPossible = r != Result::Ok || !holdsFrameTail(buffer, received);
        if (r != Result::Ok)
            return r;
        std::memcpy(reply, buffer, kReplySize);
        replyLength = kReplySize;
    }
    return Result::Ok;
}

int CDeviceIOOpera::PrinterDataIOButton(unsigned char *data, int length, unsigned char *, int &)
{
    const QByteArray bytes = data && length > 0 ? QByteArray(reinterpret_cast<const char *>(data), length) : QByteArray();
    return writeChunk(bytes, {1, int(kButtonTimeoutMs)}, {});
}

int CDeviceIOOpera::PrinterDataIOChunk(const QByteArray &chunk, const ChunkBudget &budget,
                                       const std::function<bool()> &stop)
{
    return writeChunk(chunk, budget, stop);
}

QByteArray CDeviceIOOpera::readDebugData()
{
    ClaimedPrinter printer;
    if (printer.result() != Result::Ok)
        return {};
    QByteArray buffer(kReplySize, '\0');
    if (printer.read(reinterpret_cast<unsigned char *>(buffer.data()), kReplySize, kSwapTimeoutMs)
        != Result::Ok)
        return {};
    return buffer;
}

int CDeviceIOOpera::ReadFromControlEndpoint(unsigned char *buffer, int &length)
{
    ClaimedPrinter printer;
    if (printer.result() != Result::Ok)
        return printer.error();
    // The 32-bit status word.
    const int r = printer.readStatus(buffer, 4, kControlTimeoutMs);
    if (r < 0) {
        std::fprintf(stderr, "Control transfer failed: %s\n", libusb_error_name(r));
        return r;
    }
    length = r;
    return 0;
}

UsbAccessProblem usbAccessProblemOf(int libusbError)
{
    switch (libusbError) {
    case LIBUSB_ERROR_ACCESS:
        return UsbAccessProblem::Permission;
    case LIBUSB_ERROR_BUSY:
        return UsbAccessProblem::Busy;
    default:
        return UsbAccessProblem::None;
    }
}

void CDeviceIOOpera::noteAccessResult(int libusbError)
{
    lastAccessProblem = usbAccessProblemOf(libusbError);
}

UsbAccessProblem CDeviceIOOpera::takeAccessProblem()
{
    return lastAccessProblem.exchange(UsbAccessProblem::None);
}

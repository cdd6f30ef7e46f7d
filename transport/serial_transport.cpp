#include "transport/serial_transport.h"

#include "protocol/frame.h"
#include "protocol/result.h"
#include "transport/event_wait.h"
#include "transport/scan_host.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QPointer>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QThread>

#include <algorithm>
#include <cstring>

SerialHandle *DeviceIoContrl_Serial::printer_handle_serial = nullptr;

namespace {

constexpr int kReplyTimeoutMs = 3000;
constexpr int kWriteMarginMs = 1000;
constexpr int kButtonWriteTimeoutMs = 10000;
constexpr int kDebugReadTimeoutMs = 1000;
// The printer needs a moment between one answered command and the next.
constexpr int kAfterExchangePauseMs = 10;
// A tail arrived but the length byte promises more: the rest gets the time
// it takes on the line and this much.
constexpr int kTailGraceMs = 20;
// The console's read-back ends once the line has been quiet this long
// (or for the time 16 bytes take, on a slow line).
constexpr int kQuietMs = 20;

// The transport's own clock for pacing writes at the line's speed.
qint64 nowMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

bool portOpen(const SerialHandle *h)
{
    return h && h->port && h->port->isOpen();
}

QSerialPort::Parity qtParity(serial::Parity p)
{
    return p == serial::Parity::Odd ? QSerialPort::OddParity
           : p == serial::Parity::Even ? QSerialPort::EvenParity : QSerialPort::NoParity;
}

QSerialPort::FlowControl qtFlow(serial::Flow f)
{
    return f == serial::Flow::Hardware ? QSerialPort::HardwareControl
           : f == serial::Flow::Software ? QSerialPort::SoftwareControl : QSerialPort::NoFlowControl;
}

bool applySettings(QSerialPort *port, const serial::LineSettings &s)
{
    return port->setBaudRate(s.baud) && port->setDataBits(s.dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8)
           && port->setParity(qtParity(s.parity))
           && port->setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop)
           && port->setFlowControl(qtFlow(s.flow));
}

// Bytes written to a QSerialPort wait in its queue until the system takes
// them, which happens while events run (or at once, when the system has
// room). The system then needs the line's time to send them: a chunk is
// gone once both have happened, so a stream never runs ahead of the line
// by more than one chunk.
class SerialChunkLink : public ChunkLink
{
public:
    explicit SerialChunkLink(SerialHandle *handle)
        : m_handle(handle), m_port(handle ? handle->port : nullptr)
    {
    }

    bool start(const QByteArray &bytes) override
    {
        if (broken())
            return false;
        const qint64 queued = m_port->write(bytes);
        if (queued != bytes.size()) {
            qDebug("Write failed: %s", qPrintable(m_port->errorString()));
            return false;
        }
        m_started += queued;
        m_handle->lineFreeAtMs = std::max(m_handle->lineFreeAtMs, nowMs())
                                 + serial::lineTimeMs(bytes.size(), m_handle->settings);
        return true;
    }

    qint64 wait(const QDeadlineTimer &deadline, const std::function<bool()> &stop) override
    {
        events::runUntil(deadline, [&] {
            return broken() || (m_port->bytesToWrite() == 0 && nowMs() >= m_handle->lineFreeAtMs) || (stop && stop());
        });
        if (onTheWay() > 0)
            qDebug("Wait for bytes written failed: %lld bytes still queued", onTheWay());
        // What the system took is gone; a broken port took nothing more.
        const qint64 gone = broken() ? m_reported : m_started - m_port->bytesToWrite();
        const qint64 now = gone - m_reported;
        m_reported = gone;
        return now;
    }

    qint64 onTheWay() const override { return broken() ? 0 : m_port->bytesToWrite(); }
    bool broken() const override { return !m_port || !m_port->isOpen() || m_port->error() == QSerialPort::ResourceError; }

private:
    SerialHandle *m_handle;
    QPointer<QSerialPort> m_port;
    qint64 m_started = 0;
    qint64 m_reported = 0;
};

bool write(SerialHandle *h, const QByteArray &bytes, int marginMs)
{
    SerialChunkLink link(h);
    return sendChunk(link, bytes, {1, serial::lineTimeMs(bytes.size(), h->settings) + marginMs});
}

// One exchange: stale input dropped, the request written, one reply frame
// collected within replyWaitMs plus the longest reply's time on the line.
int exchange(const QByteArray &request, unsigned char *reply, int replyWaitMs)
{
    SerialHandle *h = DeviceIoContrl_Serial::printer_handle_serial;
    if (!portOpen(h) || request.size() < 5)
        return DeviceIoContrl_Serial::failure();
    QSerialPort *port = h->port;
    port->clear(QSerialPort::Input);
    port->readAll();
    if (!write(h, request, kWriteMarginMs)) {
        qDebug() << "Failed to write data:" << port->errorString();
        return DeviceIoContrl_Serial::failure();
    }
    const quint8 frameClass = quint8(request.at(3)), code = quint8(request.at(4));
    QByteArray received;
    proto::StreamFrame found;
    const auto collect = [&] {
        if (!portOpen(h))
            return true;
        received += port->readAll();
        found = proto::extractReplyFrame(received, frameClass, code, proto::kReplyAreaSize);
        return found.complete;
    };
    const int replyLine = serial::lineTimeMs(proto::kReplyAreaSize, h->settings);
    events::runUntil(QDeadlineTimer(replyWaitMs + replyLine, Qt::PreciseTimer), collect);
    if (found.complete) {
        // A payload may itself hold the tail bytes: what the length byte
        // still promises gets its time on the line before the cut stands.
        const qsizetype whole = std::min<qsizetype>(
            qsizetype(quint8(received.at(found.start + 5))) + proto::kFrameOverhead, proto::kReplyAreaSize);
        const qsizetype missing = whole - found.frame.size();
        if (missing > 0) {
            events::runUntil(QDeadlineTimer(serial::lineTimeMs(missing, h->settings) + kTailGraceMs, Qt::PreciseTimer),
                             [&] { return collect() && found.frame.size() >= whole; });
        }
    }
    if (!found.complete) {
        qDebug() << " timeout " << received.size() << "bytes received";
        QThread::msleep(kAfterExchangePauseMs);
        return DeviceIoContrl_Serial::failure();
    }
    // Only the head: replies may carry a Wi-Fi password or a PIN.
    qDebug() << "Received data:" << found.frame.size() << "bytes, head" << found.frame.left(6).toHex(' ');
    if (reply)
        std::memcpy(reply, found.frame.constData(), size_t(found.frame.size()));
    QThread::msleep(kAfterExchangePauseMs);
    return Result::Ok;
}

} // namespace

PortSystem currentPortSystem()
{
#if defined(Q_OS_LINUX)
    return PortSystem::Linux;
#elif defined(Q_OS_MACOS)
    return PortSystem::MacOS;
#elif defined(Q_OS_WIN)
    return PortSystem::Windows;
#else
    return PortSystem::Other;
#endif
}

bool isBluetoothLink(const SerialPortFacts &port, PortSystem system)
{
    // Windows names a Bluetooth port's driver "Standard Serial over
    // Bluetooth link" (in the system's language, which keeps the word
    // Bluetooth, or says 蓝牙/藍牙); macOS calls its own incoming port
    // Bluetooth-Incoming-Port.
    for (const QString &text : {port.description, port.manufacturer, port.portName}) {
        if (text.contains(QLatin1String("bluetooth"), Qt::CaseInsensitive) || text.contains(QStringLiteral("蓝牙"))
            || text.contains(QStringLiteral("藍牙")))
            return true;
    }
    switch (system) {
    case PortSystem::Linux:
        // The kernel's RFCOMM ports.
        return port.portName.startsWith(QLatin1String("rfcomm"));
    case PortSystem::MacOS:
        // A paired device's serial service is named after the device
        // (Qt reads its BTName), and has no USB vendor behind it; the
        // built-in debug ports have neither a name nor a vendor.
        return !port.hasVendorId && !port.description.isEmpty();
    default:
        return false;
    }
}

QList<SerialPortFacts> systemPorts()
{
    QList<SerialPortFacts> ports;
    QStringList names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        ports << SerialPortFacts{info.portName(), info.systemLocation(), info.description(), info.manufacturer(),
                                 info.hasVendorIdentifier()};
        names << info.portName();
    }
    ports.removeIf([&names](const SerialPortFacts &p) {
        return p.portName.startsWith(QLatin1String("tty.")) && names.contains(QStringLiteral("cu.") + p.portName.mid(4));
    });
    return ports;
}

QList<SerialPortFacts> portsOfMedium(bool bluetooth)
{
    QList<SerialPortFacts> ports = systemPorts();
    const PortSystem system = currentPortSystem();
    ports.removeIf([&](const SerialPortFacts &p) { return isBluetoothLink(p, system) != bluetooth; });
    return ports;
}

QString portDisplayText(const SerialPortFacts &port, bool bluetooth)
{
    const QString maker = !port.manufacturer.isEmpty() ? port.manufacturer
                          : bluetooth                  ? QStringLiteral("Bluetooth")
                                                       : QStringLiteral("Serial");
    const QString detail = !port.description.isEmpty() ? port.description : port.systemLocation;
    return QStringLiteral("%1 [%2] {%3}").arg(maker, detail, port.portName);
}

DeviceIoContrl_Serial::DeviceIoContrl_Serial(ScanHost *host, bool bluetooth)
    : m_host(host), m_handle(new SerialHandle)
{
    m_handle->bluetooth = bluetooth;
    printer_handle_serial = m_handle;
}

DeviceIoContrl_Serial::~DeviceIoContrl_Serial()
{
    Disconnect_Serial();
    if (printer_handle_serial == m_handle)
        printer_handle_serial = nullptr;
    delete m_handle;
}

int DeviceIoContrl_Serial::GetPrinterHandle(_PRINTER_ATTR *records, Printer_Vector &list)
{
    Q_UNUSED(records);
    Q_UNUSED(list);
    int listed = 0;
    const QList<SerialPortFacts> ports = portsOfMedium(m_handle->bluetooth);
    for (const SerialPortFacts &port : ports) {
        if (m_host && !m_host->scanRunning())
            break;
        qDebug() << "serial port" << port.portName << port.systemLocation << port.description << port.manufacturer;
        if (m_host) {
            m_host->addScanResult(portDisplayText(port, m_handle->bluetooth));
            m_host->setScanProgress(int(100 * (listed + 1) / ports.size()));
        }
        ++listed;
    }
    return listed > 0 ? 1 : 0;
}

int DeviceIoContrl_Serial::Connect_Serial(const QString &portName, const serial::LineSettings &settings)
{
    Disconnect_Serial();
    auto *port = new QSerialPort;
    port->setPortName(portName);
    m_handle->port = port;
    m_handle->portName = portName;
    m_handle->settings = settings;
    m_handle->lineFreeAtMs = 0;
    if (!port->open(QIODevice::ReadWrite) || !applySettings(port, settings)) {
        qDebug() << "Serial open failed:" << portName << port->errorString();
        Disconnect_Serial();
        return 1;
    }
    qDebug() << "Serial open:" << portName << settings.baud << serial::framingText(settings)
             << serial::flowText(settings.flow) << (m_handle->bluetooth ? "(Bluetooth)" : "");
    return 0;
}

void DeviceIoContrl_Serial::Disconnect_Serial()
{
    if (m_handle->port) {
        m_handle->port->close();
        delete m_handle->port;
        m_handle->port = nullptr;
    }
}

bool DeviceIoContrl_Serial::setLineSpeed(qint32 baud)
{
    SerialHandle *h = printer_handle_serial;
    if (!portOpen(h) || !h->port->setBaudRate(baud))
        return false;
    h->settings.baud = baud;
    return true;
}

serial::LineSettings DeviceIoContrl_Serial::lineSettings()
{
    return printer_handle_serial ? printer_handle_serial->settings : serial::LineSettings{};
}

bool DeviceIoContrl_Serial::isOpen()
{
    return portOpen(printer_handle_serial);
}

int DeviceIoContrl_Serial::failure()
{
    const SerialHandle *h = printer_handle_serial;
    return h && h->bluetooth ? Result::BluetoothFailed : Result::SerialFailed;
}

int DeviceIoContrl_Serial::PrinterDataIORead(unsigned char *data, int length, unsigned char *reply, int &replyLength)
{
    Q_UNUSED(replyLength);
    if (!data || length < 5)
        return failure();
    return exchange(QByteArray(reinterpret_cast<const char *>(data), length), reply, kReplyTimeoutMs);
}

int DeviceIoContrl_Serial::PrinterDataIOProbe(const QByteArray &request, unsigned char *reply, int replyWaitMs)
{
    return exchange(request, reply, replyWaitMs);
}

int DeviceIoContrl_Serial::PrinterDataIOButton(unsigned char *data, int length, unsigned char *reply, int &replyLength)
{
    Q_UNUSED(reply);
    Q_UNUSED(replyLength);
    SerialHandle *h = printer_handle_serial;
    if (!portOpen(h))
        return failure();
    const QByteArray bytes = data && length > 0 ? QByteArray(reinterpret_cast<const char *>(data), length) : QByteArray();
    return write(h, bytes, kButtonWriteTimeoutMs) ? int(Result::Ok) : failure();
}

int DeviceIoContrl_Serial::PrinterDataIOChunk(const QByteArray &chunk, const ChunkBudget &budget,
                                              const std::function<bool()> &stop)
{
    SerialHandle *h = printer_handle_serial;
    if (!portOpen(h))
        return failure();
    SerialChunkLink link(h);
    return sendChunk(link, chunk, budget, stop) ? int(Result::Ok) : failure();
}

QByteArray DeviceIoContrl_Serial::readDebugData()
{
    SerialHandle *h = printer_handle_serial;
    if (!portOpen(h)) {
        qDebug() << "Serial port not open";
        return {};
    }
    QSerialPort *port = h->port;
    QByteArray data = port->readAll();
    if (data.isEmpty()
        && !events::runUntil(QDeadlineTimer(kDebugReadTimeoutMs, Qt::PreciseTimer),
                             [&] { return !portOpen(h) || port->bytesAvailable() > 0; })) {
        qDebug() << "No data received (timeout or error)";
        return {};
    }
    // The rest of what the printer sends follows at the line's pace.
    const int quiet = std::max(kQuietMs, serial::lineTimeMs(16, h->settings));
    for (;;) {
        if (!portOpen(h))
            break;
        data += port->readAll();
        if (!events::runUntil(QDeadlineTimer(quiet, Qt::PreciseTimer),
                              [&] { return !portOpen(h) || port->bytesAvailable() > 0; }) || !portOpen(h))
            break;
    }
    return data;
}

int DeviceIoContrl_Serial::ReadFromControlEndpoint(unsigned char *buffer, int &length)
{
    QByteArray request = proto::statusWordRequest();
    unsigned char reply[proto::kReplyAreaSize] = {};
    const int ret = PrinterDataIORead(reinterpret_cast<unsigned char *>(request.data()), int(request.size()), reply,
                                      length);
    if (ret == Result::Ok && buffer)
        std::memcpy(buffer, reply, size_t(proto::kMinReplyCapacity));
    return ret;
}

#include "query/printer_session.h"

#include "protocol/frame.h"
#include "protocol/printer_models.h"
#include "protocol/result.h"
#include "query/line_search.h"
#include "query/printer_io.h"
#include "query/settings_read.h"
#include "transport/net_transport.h"
#include "transport/serial_transport.h"
#include "transport/usb_transport.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QRegularExpression>
#include <QThread>

std::optional<PrinterAddress> parsePrinterAddress(const QString &text, QString *error)
{
    PrinterAddress address;
    address.text = text;
    const auto fail = [&](const QString &why) -> std::optional<PrinterAddress> {
        if (error)
            *error = QStringLiteral("%1: %2 (write usb, usb:PORT, tcp:HOST[:PORT] or "
                                    "serial:PATH[:BAUD[:FRAMING[:FLOW]]])")
                         .arg(text, why);
        return std::nullopt;
    };
    if (text == QLatin1String("usb"))
        return address;
    if (text.startsWith(QLatin1String("usb:"))) {
        bool ok = false;
        address.usbPort = text.mid(4).toInt(&ok, 10);
        if (!ok || address.usbPort < 0 || address.usbPort > 255)
            return fail(QStringLiteral("not a USB port number"));
        return address;
    }
    if (text.startsWith(QLatin1String("serial:"))) {
        address.kind = PrinterAddress::Kind::Serial;
        const QStringList parts = text.mid(7).split(QLatin1Char(':'));
        address.path = parts.at(0);
        if (address.path.isEmpty() || parts.size() > 4)
            return fail(QStringLiteral("not a port and its settings"));
        // An empty rate (serial:PATH::7E1) is looked for, as an omitted one.
        if (parts.size() > 1 && !parts.at(1).isEmpty()) {
            bool ok = false;
            address.line.baud = parts.at(1).toInt(&ok, 10);
            if (!ok || address.line.baud <= 0)
                return fail(QStringLiteral("the baud rate must be a positive number"));
            address.baudGiven = true;
        }
        if (parts.size() > 2 && !serial::parseFraming(parts.at(2), address.line))
            return fail(QStringLiteral("the framing must be like 8N1 or 7E2"));
        if (parts.size() > 3 && !serial::parseFlow(parts.at(3), address.line.flow))
            return fail(QStringLiteral("the flow control must be none, hw or sw"));
        return address;
    }
    if (!text.startsWith(QLatin1String("tcp:")))
        return fail(QStringLiteral("unknown kind of printer address"));
    address.kind = PrinterAddress::Kind::Tcp;
    static const QRegularExpression form(QStringLiteral("^tcp:(\\[[^\\]]+\\]|[^:\\[\\]]+)(?::(\\d{1,5}))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return fail(QStringLiteral("not a host and port"));
    address.host = m.captured(1);
    if (address.host.startsWith(QLatin1Char('[')))
        address.host = address.host.mid(1, address.host.size() - 2);
    if (!m.captured(2).isEmpty()) {
        const uint port = m.captured(2).toUInt();
        if (port == 0 || port > 65535)
            return fail(QStringLiteral("the port must be 1 ~ 65535"));
        address.port = quint16(port);
    }
    return address;
}

QString PrinterAddress::canonical() const
{
    if (kind == Kind::Usb)
        return usbPort < 0 ? QStringLiteral("usb") : QStringLiteral("usb:%1").arg(usbPort);
    if (kind == Kind::Serial)
        return QStringLiteral("serial:") + path;
    const QString name = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host.toLower() + QLatin1Char(']')
                                                         : host.toLower();
    return QStringLiteral("tcp:%1:%2").arg(name).arg(port);
}

PrinterSession::PrinterSession()
    : pause([](int ms) { QThread::msleep(ulong(ms)); })
{
}

PrinterSession::~PrinterSession()
{
    close();
}

void PrinterSession::addScanResult(const QString &displayText)
{
    m_found << displayText;
}

QList<FoundPrinter> PrinterSession::list(const QString &udpInterface, int udpPort)
{
    QList<FoundPrinter> lines;
    CDeviceIOOpera usb(this);
    _PRINTER_ATTR records[kPrinterAttrCount] = {};
    Printer_Vector printers;
    usb.GetPrinterHandle(records, printers);
    for (const PrinterListEntry &entry : printers) {
        const QString port = QString::fromLatin1(entry.port);
        lines << FoundPrinter{QString::fromUtf8(entry.name), QStringLiteral("usb:%1").arg(port.mid(3).toInt())};
    }
    // Ports are listed, never probed: one may be a modem or a GPS.
    for (const bool bluetooth : {false, true})
        for (const SerialPortFacts &port : portsOfMedium(bluetooth))
            lines << FoundPrinter{portDisplayText(port, bluetooth).section(QLatin1String(" {"), 0, 0),
                                  QStringLiteral("serial:") + port.systemLocation};
    if (!udpInterface.isEmpty()) {
        m_found.clear();
        m_udpInterface = udpInterface;
        m_udpPort = udpPort;
        DeviceIoContrl_Net net(this);
        net.GetPrinterHandle(nullptr, printers);
        // "MANUFACTURER MODEL [ADDRESS] {ADDRESS}" lines name the printer by
        // the address between the braces.
        static const QRegularExpression braces(QStringLiteral("\\{([^{}]+)\\}"));
        for (const QString &found : std::as_const(m_found)) {
            const QString address = braces.match(found).captured(1);
            QString name = found;
            name.truncate(found.indexOf(QLatin1Char('[')));
            lines << FoundPrinter{name.trimmed(), QStringLiteral("tcp:%1").arg(address)};
        }
    }
    return lines;
}

int PrinterSession::open(const PrinterAddress &address, QString *error)
{
    close();
    m_address = address;
    if (address.kind == PrinterAddress::Kind::Tcp) {
        m_medium = MediumNet;
        m_net.reset(new DeviceIoContrl_Net(this));
        if (m_net->Connect_Server(address.host, address.port) != 0) {
            if (error)
                *error = QStringLiteral("%1: no connection").arg(address.text);
            m_medium = 0;
            return Result::NetworkFailed;
        }
        // The exchanges reconnect by themselves when the printer drops the
        // connection (after a network setting, a restart).
        DeviceIoContrl_Net::connectSocket();
    } else if (address.kind == PrinterAddress::Kind::Serial) {
        return openSerial(address, error);
    } else {
        m_medium = MediumUsb;
        // The selection lives in the transport's handle record, which only
        // exists while a CDeviceIOOpera does: a printer named by its port
        // needs one as much as a listed one.
        m_usb.reset(new CDeviceIOOpera(this));
        int port = address.usbPort;
        if (port < 0) {
            _PRINTER_ATTR records[kPrinterAttrCount] = {};
            Printer_Vector printers;
            m_usb->GetPrinterHandle(records, printers);
            if (!printers.empty())
                port = QString::fromLatin1(printers.front().port).mid(3).toInt();
        }
        if (port < 0 || CDeviceIOOpera::GetPrinterHandle(port) != 0) {
            if (error)
                *error = QStringLiteral("%1: no printer found").arg(address.text);
            m_medium = 0;
            return Result::UsbFailed;
        }
    }
    return identify(error);
}

int PrinterSession::openSerial(const PrinterAddress &address, QString *error)
{
    // A path the system lists as a Bluetooth link is one: its failures are
    // Bluetooth's, and a link has no speed to look for.
    bool bluetooth = false;
    const PortSystem system = currentPortSystem();
    for (const SerialPortFacts &port : systemPorts())
        if (port.systemLocation == address.path || port.portName == address.path)
            bluetooth = isBluetoothLink(port, system);
    m_medium = bluetooth ? MediumBle : MediumSerial;
    m_serial.reset(new DeviceIoContrl_Serial(this, bluetooth));
    if (m_serial->Connect_Serial(address.path, address.line) != 0) {
        if (error)
            *error = QStringLiteral("%1: the port could not be opened").arg(address.text);
        m_medium = 0;
        return DeviceIoContrl_Serial::failure();
    }
    unsigned char buf[proto::kResultBufferSize];
    qint32 baud = address.line.baud;
    const bool search = !bluetooth && !address.baudGiven;
    const int result = IdentifyOnLine(search, {}, baud, buf);
    if (result != Result::Ok) {
        if (error)
            *error = search ? QStringLiteral("%1: no printer answered at any baud rate").arg(address.text)
                            : QStringLiteral("%1: the printer did not answer its identity query at %2 baud %3")
                                  .arg(address.text).arg(baud).arg(serial::framingText(address.line));
        return result;
    }
    if (search)
        qDebug("%s: the printer answers at %d baud", qPrintable(address.text), baud);
    return identify(error);
}

int PrinterSession::identify(QString *error)
{
    unsigned char buf[proto::kResultBufferSize];
    const int result = GetPrinterInfo(DEVICE_IDENTITY, buf, m_medium);
    if (result != Result::Ok) {
        // A printer that answered, but not with a reply the tool can read,
        // did answer: saying otherwise sends the operator after the cable.
        if (error && result == Result::MalformedReply)
            *error = QStringLiteral("%1: the printer's reply to its identity query was malformed").arg(m_address.text);
        else if (error)
            *error = QStringLiteral("%1: the printer did not answer its identity query").arg(m_address.text);
        return result;
    }
    if (const auto identity = proto::splitDeviceIdentity(buf)) {
        m_modelName = identity->model();
        m_deviceId = identity->deviceId();
    }
    m_model = models::settingsModel(m_modelName);
    return Result::Ok;
}

void PrinterSession::close()
{
    if (m_medium == MediumNet && m_net) {
        DeviceIoContrl_Net::disconnectSocket();
        m_net->Disconnect_Server();
    } else if (m_medium == MediumUsb) {
        CDeviceIOOpera::ClosePrinterHandle();
    }
    m_net.reset();
    m_usb.reset();
    m_serial.reset();
    m_medium = 0;
}

int PrinterSession::read(const QStringList &keys, settings::Values &values, QMap<QString, int> *failed)
{
    return ReadSettings(keys, m_model, m_medium, values, failed);
}

int PrinterSession::send(SetInfoType code, const settings::Values &values)
{
    const int result = SendSettingFrame(settings::frame(code, values, m_model), code, values, m_medium);
    if (const int ms = settings::pauseAfterMs(code))
        pause(ms);
    return result;
}

int PrinterSession::printSettingsDone()
{
    return SetPrinterStatusButton(PRINT_SETTINGS_DONE, m_medium);
}

int PrinterSession::function(POWER_InFo code)
{
    return SetPrinterStatusButton(code, m_medium);
}

int PrinterSession::frame(const QByteArray &bytes)
{
    return SendFrame(bytes, m_medium);
}

int PrinterSession::statusWord(quint32 &word)
{
    return ReadStatusWord(m_medium, m_net.get(), word);
}

int PrinterSession::statusInfo(POWER_InFo code, QByteArray &payload)
{
    unsigned char buf[proto::kResultBufferSize];
    const int result = GetPrinterStatusInfo(code, buf, m_medium);
    payload = result == Result::Ok ? QByteArray(reinterpret_cast<const char *>(buf), sizeof buf) : QByteArray();
    return result;
}

int PrinterSession::stream(const QByteArray &data, const std::function<void(qint64)> &progress)
{
    const bool net = m_medium == MediumNet;
    QString why;
    if (net && !DeviceIoContrl_Net::openStream(5000, &why)) {
        DeviceIoContrl_Net::closeStream();
        return Result::NetworkFailed;
    }
    const qsizetype chunkSize = StreamChunkSize(m_medium);
    int result = Result::Ok;
    for (qsizetype at = 0; at < data.size() && result == Result::Ok; at += chunkSize) {
        const QByteArray chunk = data.mid(at, chunkSize);
        result = SendChunk(chunk, m_medium);
        if (net)
            QThread::msleep(kNetChunkPauseMs);
        if (result == Result::Ok && progress)
            progress(at + chunk.size());
    }
    if (net)
        DeviceIoContrl_Net::closeStream();
    return result;
}

bool PrinterSession::waitUntilBack(int timeoutMs)
{
    // At least one attempt, and none begun after the deadline (one under
    // way when it passes takes its own time-out to end).
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (m_medium == MediumNet)
            DeviceIoContrl_Net::connectSocket();
        unsigned char buf[proto::kResultBufferSize];
        if (GetPrinterInfo(DEVICE_IDENTITY, buf, m_medium) == Result::Ok)
            return true;
        if (deadline.hasExpired())
            return false;
        pause(int(std::min<qint64>(500, deadline.remainingTime())));
        if (deadline.hasExpired())
            return false;
    }
}

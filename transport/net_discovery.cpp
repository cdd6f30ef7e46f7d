// Finding network printers.
//
// Wired printers answer a UDP broadcast of the identity query (0x0C) with
// one datagram: a byte, then a reply frame whose payload holds the five
// identity texts. The scan broadcasts on every wired interface, lists the
// printers whose answers arrive, and ends after the first event pass in
// which one was listed, after 1500 ms without a usable answer, or when
// the user stops it. Printers reached over Wi-Fi are not found by
// broadcast; for them the user types the address and the scan asks that
// one printer over TCP.
//
// The request starts with a nonce (0..99, never the previous scan's), so
// a printer can tell a new scan from a retransmission of the last one.
#include "transport/net_transport.h"

#include "protocol/conversions.h"
#include "protocol/frame.h"
#include "protocol/result.h"
#include "transport/scan_host.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEventLoop>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QTimer>
#include <QUdpSocket>

namespace {

constexpr int kScanTimeoutMs = 1500;
constexpr int kSendAttempts = 3;
constexpr int kRequestSize = 10;
constexpr quint16 kDefaultUdpPort = 38400;

QString listEntry(const QString &manufacturer, const QString &model, const QString &address)
{
    return manufacturer + QStringLiteral(" [") + model + QStringLiteral("] {") + address
        + QStringLiteral("}");
}

} // namespace

int DeviceIoContrl_Net::GetPrinterHandle(_PRINTER_ATTR *records, Printer_Vector &list)
{
    Q_UNUSED(records);
    Q_UNUSED(list);

    if (m_host && m_host->wifiDirectChecked())
        return probeDirectly();

    // Broadcast discovery.
    m_NetData.clear();
    do {
        randomInt = int(generator->bounded(100));
    } while (randomInt == lastNumber);
    lastNumber = randomInt;

    QByteArray request;
    request.reserve(kRequestSize);
    request.append(char(randomInt));
    request.append(proto::queryFrame(DEVICE_IDENTITY));
    timeoutFlag_TCP = false;
    scanFlag_TCP = false;

    const quint16 udpPort =
        m_host ? proto::parsePort(m_host->connectUdpPortText()) : kDefaultUdpPort;
    qDebug() << "[GetPrinterHandle] udpPort: " << udpPort;
    qDebug() << "[GetPrinterHandle] message: " << request.toHex(' ');

    if (!scanRunning())
        return 1;

    if (!m_udp->bind(QHostAddress::AnyIPv4, udpPort,
                     QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        qDebug() << "UDP bind failed:" << m_udp->errorString();
        return 0;
    }

    auto *timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    // Also kept locally: an exchange started by a handler during the wait
    // clears the shared flag when it starts.
    bool expired = false;
    connect(timer, &QTimer::timeout, this, [timer, &expired] {
        expired = true;
        qDebug() << "超时！";
        timer->stop();
        recvBuf_TCP.clear();
        resultBuf_TCP.clear();
        timeoutFlag_TCP = true;
    });
    timer->start(kScanTimeoutMs);

    // Only wired interfaces: printers on Wi-Fi are reached by the direct
    // probe, and broadcasting into every virtual interface would only
    // reach things that are not printers.
    const QString chosen = m_host->discoveryInterface();
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        if (interface.type() != QNetworkInterface::Ethernet
            || interface.flags().testFlag(QNetworkInterface::IsLoopBack)
            || (!chosen.isEmpty() && chosen != QLatin1String("*") && interface.name() != chosen))
            continue;
        qDebug() << "[GetPrinterHandle] Found Ethernet interface:" << interface.name();
        const auto entries = interface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            const QHostAddress broadcast = entry.broadcast();
            if (broadcast.isNull() || broadcast == QHostAddress(QHostAddress::AnyIPv4)
                || broadcast == QHostAddress(QHostAddress::Any))
                continue;
            for (int attempt = 0; attempt < kSendAttempts; ++attempt) {
                qDebug() << "[GetPrinterHandle] Sending broadcast via Ethernet:" << broadcast;
                const qint64 sent = m_udp->writeDatagram(request, broadcast, udpPort);
                if (sent == -1) {
                    qDebug() << "Failed to send datagram to" << broadcast << "Error:"
                             << m_udp->errorString() << "error code" << m_udp->error();
                    continue;
                }
                if (sent == kRequestSize) {
                    qDebug() << "Successfully sent datagram to" << broadcast;
                    break;
                }
                qDebug() << "Partial datagram sent to" << broadcast << "Sent:" << sent << "/"
                         << kRequestSize;
            }
        }
    }

    auto finish = [this, timer](int result) {
        m_udp->close();
        timer->stop();
        delete timer;
        return result;
    };
    for (;;) {
        // One pass: sleep until something happens (a datagram, the timer,
        // a click on the stop button), then handle all that is ready.
        // readPendingDatagrams runs here.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!scanRunning())
            return finish(1);
        if (timeoutFlag_TCP || expired)
            return finish(0);
        if (scanFlag_TCP)
            return finish(1);
    }
}

bool DeviceIoContrl_Net::scanRunning() const
{
    return !m_host || m_host->scanRunning();
}

// A printer on Wi-Fi does not hear the broadcast: the user types its
// address and the scan asks that one printer for its identity over TCP.
int DeviceIoContrl_Net::probeDirectly()
{
    m_NetData.clear();
    if (!scanRunning())
        return 1;
    const QString address = m_host->connectAddressText();
    if (Connect_Server(address, proto::parsePort(m_host->connectTcpPortText())) != 0) {
        qDebug() << "[GetPrinterHandle] connect fail";
        return 0;
    }
    if (!scanRunning()) {
        Disconnect_Server();
        return 1;
    }
    QByteArray request = proto::queryFrame(DEVICE_IDENTITY);
    unsigned char reply[proto::kReplyAreaSize] = {};
    unsigned char payload[proto::kResultBufferSize] = {};
    int replyLength = 0;
    const int ret = PrinterDataIORead(reinterpret_cast<unsigned char *>(request.data()),
                                      int(request.size()), reply, replyLength);
    qDebug("GetPrinterInfo ret:%d", ret);
    if (ret != Result::Ok
        || proto::judgeReply(reply, proto::kReplyAreaSize, DEVICE_IDENTITY, payload,
                             proto::kResultBufferSize) < 0) {
        Disconnect_Server();
        return 0;
    }
    // The result buffer is zero-filled far beyond the longest payload, so
    // it always splits into the five texts.
    const auto identity = proto::splitDeviceIdentity(payload, proto::kResultBufferSize);
    for (size_t f = 0; f < identity->fields.size(); ++f)
        qDebug() << proto::kIdentityFieldLabels[f] << identity->fields[f];
    const QString manufacturer = proto::identityManufacturer(identity->deviceId());
    if (manufacturer.isNull()) {
        Disconnect_Server();
        return 1;
    }
    m_NetData[address.toStdString()] = identity->model().toStdString();
    m_host->addScanResult(listEntry(manufacturer, identity->model(), address));
    Disconnect_Server();
    return 1;
}

void DeviceIoContrl_Net::readPendingDatagrams()
{
    qDebug() << "[DeviceIoContrl_Net]readPendingDatagrams";
    static const QRegularExpression dottedQuad(
        QStringLiteral("(\\d{1,3}\\.\\d{1,3}\\.\\d{1,3}\\.\\d{1,3})"));

    while (m_udp->hasPendingDatagrams()) {
        // Our own broadcast comes back on the wired interfaces; it and
        // anything else no longer than a request is not an answer.
        const qint64 pendingSize = m_udp->pendingDatagramSize();
        if (pendingSize <= kRequestSize) {
            qDebug() << "datagram size:" << pendingSize;
            m_udp->receiveDatagram();
            return;
        }

        const QNetworkDatagram datagram = m_udp->receiveDatagram();
        unsigned char work[proto::kIdentityBufferSize];
        proto::copyDiscoveryPayload(datagram.data(), work, proto::kIdentityBufferSize);
        const auto identity = proto::splitDeviceIdentity(work, proto::kIdentityBufferSize);
        if (identity) {
            const QHostAddress sender = datagram.senderAddress();
            qDebug() << "host: " << sender;
            const QRegularExpressionMatch match = dottedQuad.match(sender.toString());
            const QString address = match.captured(1);
            qDebug() << "Extracted IP Address (captured(1)):" << address;
            qDebug() << "Entire Match (captured(0)):" << match.captured(0);
            qDebug() << "vidPtring:" << identity->deviceId();
            qDebug() << "Receiveed message from:" << address << ":" << datagram.senderPort();

            const std::string key = address.toStdString();
            // A printer answers every copy of the broadcast (one per
            // interface and attempt); once it is listed, the rest of what
            // is pending now is left for the next notification.
            if (m_NetData.count(key))
                return;
            const QString manufacturer = proto::identityManufacturer(identity->deviceId());
            if (!manufacturer.isNull()) {
                m_NetData[key] = identity->model().toStdString();
                if (m_host)
                    m_host->addScanResult(listEntry(manufacturer, identity->model(), address));
                scanFlag_TCP = true;
            }
        }
        qDebug() << "DeviceIoContrl_Net::readPendingDatagrams";
    }
}

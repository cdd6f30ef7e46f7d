// TCP side of the network transport.
//
// A network printer is reached over short-lived TCP connections: the open
// only proves the printer reachable, every user operation connects before
// its exchanges and disconnects after them, and each exchange reconnects
// on its own when it finds the socket idle. The printer answers a query
// with one frame that repeats the request's class and code; it may arrive
// in pieces, after unrelated bytes (debug text the printer echoes), or not
// at all, so the exchange collects bytes until lead-in + class + code and
// a tail are present, or until its 3000 ms time-out.
//
// Everything runs on the GUI thread. The waits that can take seconds
// (the reply wait here, the discovery wait) keep the window alive by
// running its events, and sleep in the event dispatcher between events
// rather than spinning: a socket notification or the time-out timer is
// what wakes them.
#include "transport/net_transport.h"

#include "protocol/frame.h"
#include "protocol/result.h"
#include "transport/event_wait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDebug>
#include <QEventLoop>
#include <QPointer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <cstring>

_PRINTER_HANDLE *DeviceIoContrl_Net::printer_handle_net = nullptr;
std::map<std::string, std::string> DeviceIoContrl_Net::m_NetData;
bool DeviceIoContrl_Net::s_streaming = false;

namespace {

constexpr int kConnectTimeoutMs = 3000;
constexpr int kDisconnectTimeoutMs = 500;
constexpr int kAbortPauseMs = 500;
constexpr int kReconnectPauseMs = 100;
constexpr int kReplyTimeoutMs = 3000;
constexpr int kWriteTimeoutMs = 1000;
constexpr int kButtonWriteTimeoutMs = 10000;
constexpr int kDebugReadTimeoutMs = 1000;
// The printer needs a moment between one answered command and the next.
constexpr int kAfterExchangePauseMs = 10;
// rtBuf is a staging area, not a history: when nobody has collected it
// for this long, it is stale debug output and is dropped.
constexpr qsizetype kStaleStagingBytes = 255;

bool isLive(const QTcpSocket *socket)
{
    const auto state = socket->state();
    return state == QAbstractSocket::ConnectedState || state == QAbstractSocket::ConnectingState;
}

char *copyText(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    char *copy = new char[size_t(utf8.size()) + 1];
    std::memcpy(copy, utf8.constData(), size_t(utf8.size()));
    copy[utf8.size()] = '\0';
    return copy;
}

QString hostText(const _PRINTER_HANDLE *handle)
{
    return handle->host ? QString::fromUtf8(handle->host) : QString();
}

// Close the record's socket and hand it to the event loop for deletion.
// A peer that does not finish the TCP close within 500 ms gets a reset,
// followed by a pause so that the printer's single connection slot is free
// again before anyone reconnects.
void closeRecord(_PRINTER_HANDLE *handle)
{
    if (handle && handle->pSocket) {
        QTcpSocket *socket = handle->pSocket;
        if (socket->state() != QAbstractSocket::UnconnectedState) {
            qDebug() << "Disconnect_Server的tcpSocket->state：" << socket->state();
            socket->close();
            // close() finishes at once when nothing is left to send; only a
            // socket still closing needs the wait.
            if (socket->state() != QAbstractSocket::UnconnectedState
                && !socket->waitForDisconnected(kDisconnectTimeoutMs)) {
                qDebug() << "Disconnect timed out, forcing abort.";
                socket->abort();
                QThread::msleep(kAbortPauseMs);
            }
        }
        socket->deleteLater();
        handle->pSocket = nullptr;
    }
    qDebug() << "Disconnect_Server";
}

// Shared start of the two byte operations: a socket must exist, and an idle
// one is reconnected to the address of the last open.
int prologue(bool buttonCall)
{
    _PRINTER_HANDLE *handle = DeviceIoContrl_Net::printer_handle_net;
    if (!handle || !handle->pSocket)
        return Result::NetworkFailed;
    QTcpSocket *socket = handle->pSocket;
    if (isLive(socket))
        return Result::Ok;
    if (DeviceIoContrl_Net::streaming()) {
        qDebug("The printer closed the connection during a file transfer");
        return Result::NetworkFailed;
    }

    qDebug("Socket is not connected! Current state: %d", int(socket->state()));
    if (socket->state() != QAbstractSocket::UnconnectedState) {
        if (buttonCall)
            qDebug("-------------DeviceIoContrl_Net::PrinterDataIOButton:  socket->abort();");
        socket->abort();
        QThread::msleep(kReconnectPauseMs);
    }
    socket->connectToHost(hostText(handle), handle->port, QIODevice::ReadWrite,
                          QAbstractSocket::AnyIPProtocol);
    if (!socket->waitForConnected(kConnectTimeoutMs)) {
        qDebug("Connection failed: %s", qPrintable(socket->errorString()));
        return Result::NetworkFailed;
    }
    return Result::Ok;
}

// Bytes written to a QTcpSocket wait in its queue until the connection
// takes them, which happens while events run; bytesWritten() reports what
// went. A connection that closes drops its queue: those bytes never went.
class NetChunkLink : public ChunkLink
{
public:
    explicit NetChunkLink(QTcpSocket *socket)
        : m_socket(socket)
    {
        if (socket)
            m_counter = QObject::connect(socket, &QTcpSocket::bytesWritten, [this](qint64 n) { m_written += n; });
    }
    ~NetChunkLink() override { QObject::disconnect(m_counter); }

    bool start(const QByteArray &bytes) override
    {
        if (broken())
            return false;
        const qint64 queued = m_socket->write(bytes);
        qDebug("written bytes: %d", int(queued));
        if (queued != bytes.size()) {
            qDebug("Write failed: %s", qPrintable(m_socket->errorString()));
            return false;
        }
        return true;
    }

    qint64 wait(const QDeadlineTimer &deadline, const std::function<bool()> &stop) override
    {
        const qint64 before = m_written;
        events::runUntil(deadline, [&] { return broken() || m_socket->bytesToWrite() == 0 || (stop && stop()); });
        if (onTheWay() > 0)
            qDebug("Wait for bytes written failed: %lld bytes still queued", onTheWay());
        else if (broken())
            qDebug("Wait for bytes written failed: %s", m_socket ? qPrintable(m_socket->errorString()) : "no socket");
        return m_written - before;
    }

    qint64 onTheWay() const override { return broken() ? 0 : m_socket->bytesToWrite(); }
    bool broken() const override { return !m_socket || !isLive(m_socket); }

private:
    QPointer<QTcpSocket> m_socket;
    qint64 m_written = 0;
    QMetaObject::Connection m_counter;
};

} // namespace

DeviceIoContrl_Net::DeviceIoContrl_Net(ScanHost *host)
    : m_host(host), m_handle(new _PRINTER_HANDLE{}), m_udp(new QUdpSocket(this))
{
    printer_handle_net = m_handle;
    m_udp->setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
    connect(m_udp, &QUdpSocket::readyRead, this, &DeviceIoContrl_Net::readPendingDatagrams);
}

DeviceIoContrl_Net::~DeviceIoContrl_Net()
{
    // A newer refresh may already have made its own record current; only
    // this object's record is closed and freed.
    closeRecord(m_handle);
    delete[] m_handle->host;
    if (printer_handle_net == m_handle)
        printer_handle_net = nullptr;
    delete m_handle;
}

int DeviceIoContrl_Net::Connect_Server(const QString &address, unsigned short port)
{
    _PRINTER_HANDLE *handle = m_handle;
    // A second open on the same object replaces the old socket instead of
    // leaking it.
    if (handle->pSocket)
        closeRecord(handle);

    auto *socket = new QTcpSocket;
    handle->pSocket = socket;
    delete[] handle->host;
    handle->host = copyText(address);
    handle->port = port;

    socket->setSocketOption(QAbstractSocket::KeepAliveOption, true);
    socket->connectToHost(hostText(handle), port, QIODevice::ReadWrite,
                          QAbstractSocket::AnyIPProtocol);
    if (socket->waitForConnected(kConnectTimeoutMs)) {
        qDebug() << "Connect_Server的printer_handle_net" << static_cast<void *>(handle);
        socket->disconnectFromHost();
        return 0;
    }
    qDebug() << "连接失败: " << socket->errorString();
    Disconnect_Server();
    return 1;
}

void DeviceIoContrl_Net::Disconnect_Server()
{
    closeRecord(m_handle);
}

int DeviceIoContrl_Net::PrinterDataIORead(unsigned char *data, int length, unsigned char *reply,
                                          int &replyLength)
{
    Q_UNUSED(replyLength);
    // The reply is recognised by the request's class and code (bytes 3
    // and 4); a shorter request cannot be answered.
    if (!data || length < 5)
        return Result::NetworkFailed;
    const int ready = prologue(false);
    if (ready != Result::Ok)
        return ready;
    QTcpSocket *socket = printer_handle_net->pSocket;

    QTimer timer;
    timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the printer is given its
    // full three seconds.
    timer.setTimerType(Qt::PreciseTimer);
    // The global flag is shared with any exchange that a handler starts
    // while this one waits (and which clears it when it starts); this
    // exchange's own time-out must end it all the same.
    bool expired = false;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&timer, &expired] {
        expired = true;
        timer.stop();
        recvBuf_TCP.clear();
        resultBuf_TCP.clear();
        timeoutFlag_TCP = true;
        qDebug() << " timeout ";
    });

    readReady_TCP = false;
    timeoutFlag_TCP = false;
    timer.start(kReplyTimeoutMs);
    NetChunkLink link(socket);
    if (!sendChunk(link, QByteArray(reinterpret_cast<const char *>(data), length), {1, kWriteTimeoutMs})) {
        qDebug() << "Failed to write data:" << socket->errorString();
        return Result::NetworkFailed;
    }

    recvBuf_TCP.clear();
    const quint8 frameClass = data[3];
    const quint8 code = data[4];

    while (!timeoutFlag_TCP && !expired) {
        if (rtBuf.size() > kStaleStagingBytes)
            rtBuf.clear();
        // The socket pointer is re-read on every pass: an event handled
        // below may have closed the connection and disposed of it.
        socket = printer_handle_net ? printer_handle_net->pSocket : nullptr;
        // A printer that answers and hangs up at once leaves its answer
        // buffered in a socket that is already unconnected; it counts.
        if (socket && (isLive(socket) || socket->bytesAvailable() > 0)) {
            const QByteArray arrived = socket->readAll();
            if (!arrived.isEmpty()) {
                rtBuf.append(arrived);
                readReady_TCP = true;
            }
        }
        if (readReady_TCP) {
            readReady_TCP = false;
            recvBuf_TCP.append(rtBuf);
            rtBuf.clear();
            // Only the head: replies may carry a Wi-Fi password or a PIN.
            qDebug() << "Received data:" << recvBuf_TCP.size() << "bytes, head" << recvBuf_TCP.left(6).toHex(' ');
            const proto::StreamFrame found =
                proto::extractReplyFrame(recvBuf_TCP, frameClass, code, proto::kReplyAreaSize);
            if (found.complete) {
                resultBuf_TCP = found.frame;
                recvBuf_TCP.clear();
                if (reply)
                    std::memcpy(reply, resultBuf_TCP.constData(), size_t(resultBuf_TCP.size()));
                timer.stop();
                QThread::msleep(kAfterExchangePauseMs);
                return Result::Ok;
            }
        }
        // Sleeps until a socket notification, the time-out or any other
        // event of the window arrives, and handles it.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QThread::msleep(kAfterExchangePauseMs);
    return Result::NetworkFailed;
}

namespace {

int writeChunk(const QByteArray &bytes, const ChunkBudget &budget, const std::function<bool()> &stop)
{
    const int ready = prologue(true);
    if (ready != Result::Ok)
        return ready;
    QTcpSocket *socket = DeviceIoContrl_Net::printer_handle_net->pSocket;
    // Function frames are tiny; without low delay Nagle would hold one
    // back until the printer acknowledged the previous one.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    NetChunkLink link(socket);
    return sendChunk(link, bytes, budget, stop) ? Result::Ok : Result::NetworkFailed;
}

} // namespace

int DeviceIoContrl_Net::PrinterDataIOButton(unsigned char *data, int length, unsigned char *reply,
                                            int &replyLength)
{
    Q_UNUSED(reply);
    Q_UNUSED(replyLength);
    const QByteArray bytes = data && length > 0 ? QByteArray(reinterpret_cast<const char *>(data), length) : QByteArray();
    return writeChunk(bytes, {1, kButtonWriteTimeoutMs}, {});
}

int DeviceIoContrl_Net::PrinterDataIOChunk(const QByteArray &chunk, const ChunkBudget &budget,
                                           const std::function<bool()> &stop)
{
    return writeChunk(chunk, budget, stop);
}

QByteArray DeviceIoContrl_Net::readDebugData()
{
    _PRINTER_HANDLE *handle = printer_handle_net;
    if (!handle || !handle->pSocket) {
        qDebug() << "Invalid socket or handle";
        return {};
    }
    QTcpSocket *socket = handle->pSocket;
    if (!isLive(socket)) {
        qDebug() << "Socket not connected";
        return {};
    }
    if (socket->bytesAvailable() == 0 && !socket->waitForReadyRead(kDebugReadTimeoutMs)) {
        qDebug() << "No data received (timeout or error)";
        return {};
    }
    const QByteArray data = socket->readAll();
    if (!data.isEmpty()) {
        // Whatever the console read may be the start of a reply the next
        // exchange is waiting for.
        rtBuf.append(data);
        readReady_TCP = true;
    }
    return data;
}

int DeviceIoContrl_Net::ReadFromControlEndpoint(int frameLength, unsigned char *buffer,
                                                int &length)
{
    Q_UNUSED(frameLength);
    QByteArray request = proto::statusWordRequest();
    unsigned char reply[proto::kReplyAreaSize] = {};
    const int ret = PrinterDataIORead(reinterpret_cast<unsigned char *>(request.data()),
                                      int(request.size()), reply, length);
    // The status button hands over a 256-byte buffer, smaller than the
    // exchange's reply area.
    if (ret == Result::Ok && buffer) {
        const qsizetype count =
            std::min<qsizetype>(resultBuf_TCP.size(), proto::kMinReplyCapacity);
        std::memcpy(buffer, reply, size_t(count));
    }
    return ret;
}

bool DeviceIoContrl_Net::connectSocket()
{
    _PRINTER_HANDLE *handle = printer_handle_net;
    if (!handle || !handle->pSocket)
        return false;
    QTcpSocket *socket = handle->pSocket;
    if (isLive(socket))
        return true;
    if (socket->state() != QAbstractSocket::UnconnectedState)
        socket->abort();
    // No wait: the first exchange waits for the connection (or reconnects
    // when this attempt has failed by then).
    socket->connectToHost(hostText(handle), handle->port, QIODevice::ReadWrite,
                          QAbstractSocket::AnyIPProtocol);
    return true;
}

bool DeviceIoContrl_Net::openStream(int timeoutMs, QString *error)
{
    // Held from here on, connected or not: a stream that could not be
    // connected fails its writes instead of connecting later.
    s_streaming = true;
    _PRINTER_HANDLE *handle = printer_handle_net;
    if (!handle || !handle->pSocket) {
        if (error)
            *error = QStringLiteral("Socket is not connected");
        return false;
    }
    QTcpSocket *socket = handle->pSocket;
    if (isLive(socket)) {
        socket->close();
        if (socket->state() != QAbstractSocket::UnconnectedState)
            socket->abort();
    }
    socket->connectToHost(hostText(handle), handle->port, QIODevice::ReadWrite,
                          QAbstractSocket::AnyIPProtocol);
    if (!socket->waitForConnected(timeoutMs)) {
        if (error)
            *error = socket->errorString();
        socket->abort();
        return false;
    }
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 1048576);
    return true;
}

void DeviceIoContrl_Net::closeStream()
{
    s_streaming = false;
    disconnectSocket();
}

void DeviceIoContrl_Net::disconnectSocket()
{
    _PRINTER_HANDLE *handle = printer_handle_net;
    if (!handle || !handle->pSocket)
        return;
    QTcpSocket *socket = handle->pSocket;
    if (socket->state() == QAbstractSocket::UnconnectedState)
        return;
    socket->disconnectFromHost();
    if (socket->state() != QAbstractSocket::UnconnectedState
        && !socket->waitForDisconnected(kDisconnectTimeoutMs))
        socket->abort();
}

#include "tools/emulator/net/net_faces.h"

#include <QMetaObject>
#include <QNetworkDatagram>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>

#include <sys/socket.h>

namespace emu {

namespace {

// Pause between the bytes of a split reply: long enough that each byte
// is a read of its own on the other side, short enough that a 136-byte
// reply still arrives well within the tool's 3 s time-out.
constexpr int kSplitByteIntervalMs = 1;
// A printer's receive buffer is small: a printer that stops reading makes
// the sender wait after a few dozen kilobytes, not megabytes.
constexpr int kReceiveBufferBytes = 32 * 1024;

QString peerText(const QHostAddress &address, quint16 port)
{
    return address.toString() + QLatin1Char(':') + QString::number(port);
}

} // namespace

// ---------------------------------------------------------------- TcpFace

struct TcpFace::Connection
{
    std::unique_ptr<PrinterModel::Session> session;
    QString peer;
    qint64 received = 0;
    QByteArray splitQueue;          // reply bytes still to write one by one
    QTimer *splitTimer = nullptr;   // child of the socket
    bool paused = false;            // not reading (Faults::pauseAfterBytes)
    bool pauseDone = false;
};

TcpFace::TcpFace(PrinterModel *model, QObject *parent)
    : QObject(parent), m_model(model), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &TcpFace::accept);
    // Heard in the model's thread, acted on in this one.
    m_listener = m_model->addLinkListener([this](bool up) {
        QMetaObject::invokeMethod(this, [this, up] { linkChanged(up); }, Qt::QueuedConnection);
    });
}

void TcpFace::linkChanged(bool up)
{
    if (up) {
        if (!m_server->isListening() && !listen(m_address, m_port))
            qWarning("emu tcp: cannot listen again on %u: %s", m_port, qPrintable(m_server->errorString()));
        return;
    }
    m_server->close();
    // Each abort forgets its connection.
    QList<QTcpSocket *> sockets;
    for (const auto &entry : m_connections)
        sockets << entry.first;
    for (QTcpSocket *socket : sockets)
        socket->abort();
}

TcpFace::~TcpFace()
{
    m_model->removeLinkListener(m_listener);
    // Sessions go before their sockets; the sockets are children of this
    // object and go with it. abort() would report the disconnection back
    // into forget() while the map is being walked, so the sockets are cut
    // off from this object first.
    for (auto &entry : m_connections) {
        entry.first->disconnect(this);
        entry.first->abort();
    }
    m_connections.clear();
}

bool TcpFace::listen(const QHostAddress &address, quint16 port)
{
    if (!m_server->listen(address, port))
        return false;
    m_address = m_server->serverAddress();
    m_port = m_server->serverPort();
    // Accepted connections inherit the listener's buffer size.
    const int size = kReceiveBufferBytes;
    ::setsockopt(int(m_server->socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    return true;
}

QHostAddress TcpFace::address() const
{
    return m_server->serverAddress();
}

quint16 TcpFace::port() const
{
    return m_server->serverPort();
}

QString TcpFace::errorString() const
{
    return m_server->errorString();
}

void TcpFace::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        const QString peer = peerText(socket->peerAddress(), socket->peerPort());
        emit connectionAccepted(peer);
        if (m_model->faults().refuseConnections) {
            // The listener accepts (the kernel already completed the
            // handshake) and hangs up at once, as a printer does whose
            // single connection slot is taken.
            socket->close();
            socket->deleteLater();
            emit connectionClosed(peer);
            continue;
        }
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto connection = std::make_unique<Connection>();
        connection->session = m_model->openSession(Medium::Tcp);
        connection->peer = peer;
        m_connections.emplace(socket, std::move(connection));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { receive(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { forget(socket); });
        // Bytes may have arrived together with the connection.
        if (socket->bytesAvailable() > 0)
            receive(socket);
    }
}

void TcpFace::receive(QTcpSocket *socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    Connection &connection = *it->second;
    if (connection.paused)
        return;
    const Faults faults = m_model->faults();
    const bool pauseDue = faults.pauseAfterBytes >= 0 && !connection.pauseDone;
    QByteArray bytes = pauseDue ? socket->read(std::max<qint64>(0, faults.pauseAfterBytes - connection.received))
                                : socket->readAll();
    if (pauseDue && connection.received + bytes.size() >= faults.pauseAfterBytes) {
        // The socket takes no more from the system while its buffer is
        // full; the rest waits in the small receive buffer, then with the
        // sender.
        connection.paused = connection.pauseDone = true;
        socket->setReadBufferSize(1);
        QTimer::singleShot(faults.pauseMs, socket, [this, socket] {
            auto found = m_connections.find(socket);
            if (found == m_connections.end())
                return;
            found->second->paused = false;
            socket->setReadBufferSize(0);
            receive(socket);
        });
    }
    if (bytes.isEmpty())
        return;

    bool drop = false;
    if (faults.dropAfterBytes >= 0) {
        const qint64 room = std::max<qint64>(0, faults.dropAfterBytes - connection.received);
        if (bytes.size() >= room) {
            bytes.truncate(room);
            drop = true;
        }
    }
    connection.received += bytes.size();
    // Fed before it is announced, so that whoever hears of the bytes finds
    // their frames in the model's log.
    const QByteArray reply = bytes.isEmpty() ? QByteArray() : connection.session->feed(bytes);
    if (!bytes.isEmpty())
        emit bytesReceived(connection.peer, bytes);

    if (drop) {
        // The connection dies before anything is answered; the frames that
        // did arrive complete are in the model's log.
        socket->close();
        return;
    }
    if (reply.isEmpty() || faults.silent)
        return;
    if (faults.delayMs > 0) {
        QTimer::singleShot(faults.delayMs, socket, [this, socket, reply] { deliver(socket, reply); });
        return;
    }
    deliver(socket, reply);
}

void TcpFace::deliver(QTcpSocket *socket, const QByteArray &reply)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end() || socket->state() != QAbstractSocket::ConnectedState)
        return;
    Connection &connection = *it->second;
    emit replySent(connection.peer, reply);
    if (!m_model->faults().splitBytes) {
        socket->write(reply);
        socket->flush();
        return;
    }
    connection.splitQueue.append(reply);
    if (!connection.splitTimer) {
        connection.splitTimer = new QTimer(socket);
        connection.splitTimer->setInterval(kSplitByteIntervalMs);
        connect(connection.splitTimer, &QTimer::timeout, this,
                [this, socket] { writeNextSplitByte(socket); });
    }
    if (!connection.splitTimer->isActive()) {
        writeNextSplitByte(socket);
        if (!connection.splitQueue.isEmpty())
            connection.splitTimer->start();
    }
}

void TcpFace::writeNextSplitByte(QTcpSocket *socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    Connection &connection = *it->second;
    if (!connection.splitQueue.isEmpty()) {
        socket->write(connection.splitQueue.left(1));
        socket->flush();
        connection.splitQueue.remove(0, 1);
    }
    if (connection.splitQueue.isEmpty() && connection.splitTimer)
        connection.splitTimer->stop();
}

void TcpFace::forget(QTcpSocket *socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    const QString peer = it->second->peer;
    m_connections.erase(it);
    socket->deleteLater();
    emit connectionClosed(peer);
}

// ---------------------------------------------------------------- UdpFace

UdpFace::UdpFace(PrinterModel *model, QObject *parent)
    : QObject(parent), m_model(model), m_socket(new QUdpSocket(this))
{
    connect(m_socket, &QUdpSocket::readyRead, this, &UdpFace::receive);
}

UdpFace::~UdpFace() = default;

bool UdpFace::bind(const QHostAddress &address, quint16 port)
{
    return m_socket->bind(address, port,
                          QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
}

quint16 UdpFace::port() const
{
    return m_socket->localPort();
}

QString UdpFace::errorString() const
{
    return m_socket->errorString();
}

void UdpFace::receive()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        const QHostAddress sender = datagram.senderAddress();
        const quint16 senderPort = quint16(datagram.senderPort());
        const QString peer = peerText(sender, senderPort);
        const QByteArray reply = m_model->discoveryReply(datagram.data());
        emit datagramReceived(peer, datagram.data());
        const Faults faults = m_model->faults();
        if (reply.isEmpty() || faults.silent)
            continue;
        auto send = [this, reply, sender, senderPort, peer] {
            m_socket->writeDatagram(reply, sender, senderPort);
            emit replySent(peer, reply);
        };
        if (faults.delayMs > 0)
            QTimer::singleShot(faults.delayMs, this, send);
        else
            send();
    }
}

// ---------------------------------------------------------------- NetPrinter

NetPrinter::NetPrinter(PrinterModel *model, QObject *parent)
    : QObject(parent),
      m_ownModel(model ? nullptr : std::make_unique<PrinterModel>()),
      m_model(model ? model : m_ownModel.get())
{
}

NetPrinter::~NetPrinter()
{
    stop();
}

bool NetPrinter::start(const Config &config)
{
    stop();
    m_error.clear();
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("emu-net"));
    m_context = new QObject;
    m_context->moveToThread(m_thread);
    m_thread->start();

    bool ok = true;
    QMetaObject::invokeMethod(
        m_context,
        [&] {
            if (config.tcp) {
                auto *tcp = new TcpFace(m_model, m_context);
                if (!tcp->listen(config.tcpAddress, config.tcpPort)) {
                    m_error = QStringLiteral("TCP %1:%2: %3")
                                  .arg(config.tcpAddress.toString())
                                  .arg(config.tcpPort)
                                  .arg(tcp->errorString());
                    ok = false;
                    return;
                }
                m_tcpPort = tcp->port();
                connect(tcp, &TcpFace::connectionAccepted, this, [this] { ++m_accepted; ++m_open; },
                        Qt::DirectConnection);
                connect(tcp, &TcpFace::connectionClosed, this, [this] { --m_open; },
                        Qt::DirectConnection);
                connect(tcp, &TcpFace::replySent, this, [this] { ++m_replies; },
                        Qt::DirectConnection);
                connect(tcp, &TcpFace::connectionAccepted, this, &NetPrinter::tcpConnectionAccepted);
                connect(tcp, &TcpFace::connectionClosed, this, &NetPrinter::tcpConnectionClosed);
                connect(tcp, &TcpFace::bytesReceived, this, &NetPrinter::tcpBytesReceived);
                connect(tcp, &TcpFace::replySent, this, &NetPrinter::tcpReplySent);
            }
            if (config.udp) {
                auto *udp = new UdpFace(m_model, m_context);
                if (!udp->bind(config.udpAddress, config.udpPort)) {
                    m_error = QStringLiteral("UDP %1:%2: %3")
                                  .arg(config.udpAddress.toString())
                                  .arg(config.udpPort)
                                  .arg(udp->errorString());
                    ok = false;
                    return;
                }
                m_udpPort = udp->port();
                connect(udp, &UdpFace::datagramReceived, this, [this] { ++m_datagrams; },
                        Qt::DirectConnection);
                connect(udp, &UdpFace::replySent, this, [this] { ++m_replies; },
                        Qt::DirectConnection);
                connect(udp, &UdpFace::datagramReceived, this, &NetPrinter::udpDatagramReceived);
                connect(udp, &UdpFace::replySent, this, &NetPrinter::udpReplySent);
            }
        },
        Qt::BlockingQueuedConnection);

    if (!ok)
        stop();
    return ok;
}

void NetPrinter::stop()
{
    if (!m_thread)
        return;
    // The faces (and their sockets) are deleted in their own thread.
    QMetaObject::invokeMethod(
        m_context, [this] { qDeleteAll(m_context->children()); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_context;
    m_context = nullptr;
    delete m_thread;
    m_thread = nullptr;
    m_open = 0;
}

bool NetPrinter::isRunning() const
{
    return m_thread && m_thread->isRunning();
}

} // namespace emu

// The emulated printer's network faces: the TCP port the tool exchanges
// frames on (9100 by default) and the UDP port that answers discovery
// broadcasts (38400 by default). Both feed an emu::PrinterModel and apply
// the timing and connection faults that only a carrier can apply (reply
// delay, byte-by-byte delivery, dropped and refused connections); the
// model applies the content faults.
//
// The tool's network transport blocks its own (GUI) thread while it waits
// for a reply, so in-process tests cannot serve the printer from that
// thread: NetPrinter runs both faces in a thread of their own. The model
// is thread-safe, so tests read its frame log and change its settings and
// faults directly while the faces run.
//
// Nothing here uses the tool's transport or protocol code: a mistake there
// must not be able to hide itself on this side of the wire.
#pragma once

#include "tools/emulator/core/printer_model.h"

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <atomic>
#include <map>
#include <memory>

class QTcpServer;
class QTcpSocket;
class QThread;
class QUdpSocket;

namespace emu {

constexpr quint16 kDefaultTcpPort = 9100;
constexpr quint16 kDefaultUdpPort = 38400;

// One TCP listener; every accepted connection is one PrinterModel::Session.
// Lives in (and must be used from) the thread that created it. While the
// printer restarts after a firmware it closes every connection and stops
// listening; it listens again on the same port when the printer is back.
class TcpFace : public QObject
{
    Q_OBJECT
public:
    explicit TcpFace(PrinterModel *model, QObject *parent = nullptr);
    ~TcpFace() override;

    // Port 0 picks a free port; port() tells which.
    bool listen(const QHostAddress &address = QHostAddress(QHostAddress::LocalHost),
                quint16 port = kDefaultTcpPort);
    QHostAddress address() const;
    quint16 port() const;
    QString errorString() const;

signals:
    void connectionAccepted(const QString &peer);
    void connectionClosed(const QString &peer);
    void bytesReceived(const QString &peer, const QByteArray &bytes);
    // Emitted when a reply is handed to the connection (after any delay;
    // a split reply is then written one byte at a time).
    void replySent(const QString &peer, const QByteArray &reply);

private:
    struct Connection;
    void accept();
    void receive(QTcpSocket *socket);
    void deliver(QTcpSocket *socket, const QByteArray &reply);
    void writeNextSplitByte(QTcpSocket *socket);
    void forget(QTcpSocket *socket);
    void linkChanged(bool up);

    PrinterModel *m_model;
    QTcpServer *m_server;
    int m_listener = -1;
    QHostAddress m_address;
    quint16 m_port = 0;
    std::map<QTcpSocket *, std::unique_ptr<Connection>> m_connections;
};

// One UDP socket answering discovery datagrams with the model's reply,
// sent back to the datagram's sender.
class UdpFace : public QObject
{
    Q_OBJECT
public:
    explicit UdpFace(PrinterModel *model, QObject *parent = nullptr);
    ~UdpFace() override;

    // To hear broadcasts the face must be bound to the any-address (or the
    // broadcast address) of a network it is on; a unicast address only
    // hears datagrams sent to that address.
    bool bind(const QHostAddress &address = QHostAddress(QHostAddress::LocalHost),
              quint16 port = kDefaultUdpPort);
    quint16 port() const;
    QString errorString() const;

signals:
    void datagramReceived(const QString &peer, const QByteArray &datagram);
    void replySent(const QString &peer, const QByteArray &reply);

private:
    void receive();

    PrinterModel *m_model;
    QUdpSocket *m_socket;
};

// A printer on the network: a model, optionally a TCP face and a UDP face,
// all served by one thread of its own. The signals are delivered in the
// thread that owns the NetPrinter (queued).
class NetPrinter : public QObject
{
    Q_OBJECT
public:
    struct Config
    {
        bool tcp = true;
        QHostAddress tcpAddress = QHostAddress(QHostAddress::LocalHost);
        quint16 tcpPort = kDefaultTcpPort;   // 0: any free port
        bool udp = false;
        QHostAddress udpAddress = QHostAddress(QHostAddress::LocalHost);
        quint16 udpPort = kDefaultUdpPort;   // 0: any free port
    };

    // Uses `model` when given (not owned; it must outlive this object),
    // otherwise a model of its own.
    explicit NetPrinter(PrinterModel *model = nullptr, QObject *parent = nullptr);
    ~NetPrinter() override;

    // Starts the thread and binds the faces; returns once they listen.
    // False (and errorString()) when a face could not bind; nothing then
    // runs.
    bool start(const Config &config);
    // Closes every connection and ends the thread. Called by the destructor.
    void stop();
    bool isRunning() const;

    PrinterModel &model() { return *m_model; }
    quint16 tcpPort() const { return m_tcpPort; }
    quint16 udpPort() const { return m_udpPort; }
    QString errorString() const { return m_error; }

    // Counters for tests, readable from any thread.
    int acceptedConnections() const { return m_accepted.load(); }
    int openConnections() const { return m_open.load(); }
    int repliesSent() const { return m_replies.load(); }
    int datagramsReceived() const { return m_datagrams.load(); }

signals:
    void tcpConnectionAccepted(const QString &peer);
    void tcpConnectionClosed(const QString &peer);
    void tcpBytesReceived(const QString &peer, const QByteArray &bytes);
    void tcpReplySent(const QString &peer, const QByteArray &reply);
    void udpDatagramReceived(const QString &peer, const QByteArray &datagram);
    void udpReplySent(const QString &peer, const QByteArray &reply);

private:
    std::unique_ptr<PrinterModel> m_ownModel;
    PrinterModel *m_model;
    QThread *m_thread = nullptr;
    QObject *m_context = nullptr;   // lives in m_thread; parent of the faces
    quint16 m_tcpPort = 0;
    quint16 m_udpPort = 0;
    QString m_error;
    std::atomic<int> m_accepted{0};
    std::atomic<int> m_open{0};
    std::atomic<int> m_replies{0};
    std::atomic<int> m_datagrams{0};
};

} // namespace emu

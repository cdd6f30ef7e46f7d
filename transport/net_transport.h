// Network transport: short TCP connections to port 9100 (by default) and
// the UDP discovery of printers on the wired interfaces.
#pragma once

#include "transport/chunk_link.h"
#include "transport/device_records.h"
#include <QByteArray>
#include <QObject>
#include <QString>
#include <map>
#include <string>

class QUdpSocket;
class ScanHost;

class DeviceIoContrl_Net : public QObject
{
    Q_OBJECT
public:
    explicit DeviceIoContrl_Net(ScanHost *host);
    ~DeviceIoContrl_Net() override;

    // Record address and port, prove the printer reachable, disconnect again.
    // 0 connected, 1 no connection. Both act on this object's own handle
    // record (the current one, unless a newer scan has replaced it).
    int Connect_Server(const QString &address, unsigned short port);
    void Disconnect_Server();

    // Discovery (broadcast, or direct probe on the Wi-Fi medium). Both
    // arguments are ignored. 1 scan ended normally, 0 failed.
    int GetPrinterHandle(_PRINTER_ATTR *records, Printer_Vector &list);

    // Result::Ok, or Result::NetworkFailed: no connection, a failed write,
    // no reply in time. PrinterDataIORead copies the reply frame (at most
    // proto::kReplyAreaSize = 264 bytes) to the start of reply;
    // replyLength is left unchanged.
    static int PrinterDataIORead(unsigned char *data, int length, unsigned char *reply, int &replyLength);
    // Write only: the bytes are queued once and waited for up to 10 s, the
    // window's events running meanwhile.
    static int PrinterDataIOButton(unsigned char *data, int length, unsigned char *reply, int &replyLength);
    // One chunk of a stream within `budget`: queued once, every attempt
    // waits for what is still queued (transport/chunk_link.h).
    static int PrinterDataIOChunk(const QByteArray &chunk, const ChunkBudget &budget,
                                  const std::function<bool()> &stop);
    static QByteArray readDebugData();
    // Sends the status frame 1B FF FE 00 03 04 1B FE FF and places the reply
    // frame (at most 256 bytes) at the start of buffer.
    int ReadFromControlEndpoint(int frameLength, unsigned char *buffer, int &length);

    static _PRINTER_HANDLE *getHandle() { return printer_handle_net; }
    std::map<std::string, std::string> getmData() const { return m_NetData; }

    // UI helpers around every operation on the network medium. connectSocket
    // starts connecting the current handle record's socket to the stored
    // address and port without waiting (the first exchange waits, or
    // reconnects itself); false when there is no socket (nothing opened).
    // disconnectSocket closes the connection, waiting up to 500 ms.
    static bool connectSocket();
    static void disconnectSocket();

    // File transfers (a firmware or font download, a file from the debug
    // console) stream one file over one connection. openStream closes any
    // live connection, connects afresh and waits up to timeoutMs; on
    // success it tunes the socket for bulk data (low delay, keep-alive, a
    // 1 MiB send buffer) and holds the connection for the stream: until
    // closeStream, a write that finds the connection closed fails instead
    // of reconnecting, so a printer that dropped the link mid-file never
    // receives the rest of it as the start of a new stream. False, with the
    // socket's error text, when there is no socket or no connection (the
    // stream is held all the same: its writes fail).
    static bool openStream(int timeoutMs, QString *error);
    static void closeStream();
    static bool streaming() { return s_streaming; }

    static _PRINTER_HANDLE *printer_handle_net;
    static std::map<std::string, std::string> m_NetData;

public slots:
    void readPendingDatagrams();

private:
    int probeDirectly();
    bool scanRunning() const;

    static bool s_streaming;

    ScanHost *m_host;
    _PRINTER_HANDLE *m_handle;
    QUdpSocket *m_udp;
};

// The emulated printer's brain, shared by its TCP, UDP and USB faces.
// It keeps every setting the real firmware keeps, answers queries, applies
// set frames, records function frames and counts raw bytes. It deliberately
// shares no code with the tool's own protocol or transport layers, so a
// mistake there cannot hide itself here.
//
// Thread-safe: the USB face runs in umockdev's worker thread, the network
// faces in a Qt thread, tests read the log from the GUI thread.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace emu {

enum class Medium { Usb, Tcp, Udp };

// Behaviour faults. Content faults are applied by the model; timing and
// connection faults by the face that carries the reply.
struct Faults
{
    bool silent = false;           // never answer queries
    int delayMs = 0;               // answer this late
    bool splitBytes = false;       // deliver replies one byte per write
    QByteArray garbageBefore;      // sent ahead of every reply
    bool wrongCode = false;        // reply carries code+1
    bool negativeLength = false;   // reply length byte >= 0x80
    int dropAfterBytes = -1;       // TCP: close the connection after N received bytes
    bool refuseConnections = false;// TCP: close every connection at once
};

struct LoggedFrame
{
    Medium medium;
    QByteArray bytes;              // the whole frame, lead-in to tail
    quint8 cls = 0;
    quint8 code = 0;
    QByteArray payload;
};

class PrinterModel
{
public:
    PrinterModel();

    // One stream of bytes from the host (a TCP connection, the USB bulk OUT
    // pipe). Frames may arrive split or glued together; bytes that are not
    // part of a frame are counted as raw data (debug text, file streams).
    class Session
    {
    public:
        // Returns the bytes to send back (replies to complete query/status
        // frames, garbage and fault changes applied), possibly empty.
        QByteArray feed(const QByteArray &bytes);
    private:
        friend class PrinterModel;
        Session(PrinterModel *model, Medium medium) : m_model(model), m_medium(medium) {}
        PrinterModel *m_model;
        Medium m_medium;
        QByteArray m_pending;
    };
    std::unique_ptr<Session> openSession(Medium medium);

    // Answer one discovery datagram (nonce + 0x0C query); empty = no answer.
    QByteArray discoveryReply(const QByteArray &datagram);

    // Identity, shown in discovery and in query 0x0C.
    void setIdentity(const QString &vendor, const QString &model, const QString &deviceId,
                     const QString &field3 = {}, const QString &field4 = {});
    QByteArray identityPayload() const;

    // Stored settings, keyed by the setting code (payload as the printer
    // would answer it).
    QByteArray setting(quint8 code) const;
    void setSetting(quint8 code, const QByteArray &payload);

    quint32 statusWord() const;
    void setStatusWord(quint32 word);
    void setFirmwareVersion(const QString &version);
    void setResolution(quint16 dpi, quint16 maxWidthDots);

    Faults faults() const;
    void setFaults(const Faults &faults);

    QList<LoggedFrame> frames() const;
    void clearLog();
    qint64 rawByteCount() const;
    // Wait until at least n frames are logged (true) or the deadline passes.
    bool waitForFrames(int n, int timeoutMs) const;

private:
    QByteArray handleFrame(Medium medium, const QByteArray &frame);

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    QMap<quint8, QByteArray> m_settings;
    QList<LoggedFrame> m_log;
    qint64 m_raw = 0;
    quint32 m_status = 0;
    QByteArray m_identity;
    QByteArray m_version;
    QByteArray m_resolution;
    Faults m_faults;
};

} // namespace emu

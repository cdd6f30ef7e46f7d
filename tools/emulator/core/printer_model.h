// The emulated printer's brain, shared by its TCP, UDP and USB faces.
// It keeps every setting the real firmware keeps, answers queries, applies
// set frames, records function frames and counts raw bytes. It deliberately
// shares no code with the tool's own protocol or transport layers, so a
// mistake there cannot hide itself here.
//
// Wire behaviour, as the firmware does it:
//   class 02 query  1B FF FE 02 code 00 1B FE FF
//       -> 1B FF FE 02 code n <stored payload> 1B FE FF (n = 0 for a code
//          the printer does not know)
//   class 01 set    1B FF FE 01 code n payload 1B FE FF
//       -> payload stored as the setting, no reply
//   class 00        1B FF FE 00 code 00 1B FE FF
//       03 status word (request carries length 4 but no payload)
//          -> 1B FF FE 00 03 04 <word, little-endian> 1B FE FF
//       04 firmware version -> text + 00
//       0B resolution       -> dpi LE16, maximum width in dots LE16
//       02 reboot: logged; the printer answers again at once (unless a
//          reboot fault says otherwise)
//       anything else (self-test, learning, ...) is logged only.
// Bytes outside frames (debug console text, firmware and font files) are
// counted as raw data and dropped.
//
// Thread-safe: the USB face runs in umockdev's worker thread, the network
// faces in a Qt thread, tests read the log from the GUI thread. A Session
// belongs to one stream and is fed from one thread at a time.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace emu {

enum class Medium { Usb, Tcp, Udp, Serial };

// Behaviour faults. Content faults are applied by the model; timing and
// connection faults by the face that carries the reply.
struct Faults
{
    bool silent = false;           // never answer queries (TCP, USB, discovery)
    int delayMs = 0;               // answer this late
    bool splitBytes = false;       // deliver replies one byte per write
    QByteArray garbageBefore;      // sent ahead of every stream reply (not UDP)
    bool wrongCode = false;        // reply carries code+1
    bool negativeLength = false;   // reply length byte >= 0x80 (n | 0x80, payload unchanged)
    int lengthBeyond = 0;          // reply length byte this much above the payload sent (n + k)
    int dropAfterBytes = -1;       // TCP: close the connection after N received bytes
    int pauseAfterBytes = -1;      // TCP: stop reading a connection for pauseMs once it has brought N bytes
    int pauseMs = 0;               //   (once per connection; the emulator's small receive buffer soon
                                   //   makes the sender wait, as a printer writing its flash does)
    bool refuseConnections = false;// TCP: close every connection at once
    int ignoreSetCode = -1;        // set frames of this code are taken but not kept
    int answerLimit = -1;          // answer this many queries (any class), then fall silent
    int statusWordBytes = 4;       // the status word's reply frame carries this many of its 4 bytes
    // A reboot frame (00 02) takes the printer away for good, or brings it
    // back with this setting code at its factory value.
    bool goneAfterReboot = false;
    int forgetOnReboot = -1;
};

// A printer restarts by itself after it took a firmware: once raw data
// has stopped for `quietMs` it drops its links (its faces close their
// connections and stop listening, leave the USB bus) for `downMs` (-1:
// for good), then comes back running `version` (unless empty) and, with
// `factoryReset`, with every setting at its factory value (what
// identifies the unit stays: identity, serial number, MAC addresses).
struct FirmwareRestart
{
    bool enabled = false;
    int quietMs = 1000;
    int downMs = 3000;
    QString version;
    bool factoryReset = false;
};

// "MS[:VERSION[:reset]]" as the emulator's command lines take it: down
// for MS milliseconds (-1: for good), back with VERSION, with "reset" at
// factory settings. Nothing for a text that says otherwise.
std::optional<FirmwareRestart> parseFirmwareRestart(const QString &text);

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
    ~PrinterModel();
    PrinterModel(const PrinterModel &) = delete;
    PrinterModel &operator=(const PrinterModel &) = delete;

    // One stream of bytes from the host (a TCP connection, the USB bulk OUT
    // pipe). Frames may arrive split or glued together; bytes that are not
    // part of a frame are counted as raw data (debug text, file streams).
    // At most one partial frame (264 bytes) is held back between calls.
    class Session
    {
    public:
        // Returns the bytes to send back (replies to complete query/status
        // frames, garbage and fault changes applied), possibly empty.
        QByteArray feed(const QByteArray &bytes);
        // Bytes held back as the possible start of a frame (at most 264).
        qsizetype pendingBytes() const { return m_pending.size(); }
        // Bytes still held back as the possible start of a frame count as
        // raw data when the stream ends.
        ~Session();

        Session(const Session &) = delete;
        Session &operator=(const Session &) = delete;

    private:
        friend class PrinterModel;
        Session(PrinterModel *model, Medium medium) : m_model(model), m_medium(medium) {}
        PrinterModel *m_model;
        Medium m_medium;
        QByteArray m_pending;
    };
    std::unique_ptr<Session> openSession(Medium medium);

    // Answer one discovery datagram: exactly the 10 bytes nonce + 1B FF FE
    // 02 0C 00 1B FE FF. The answer is the nonce followed by the reply
    // frame of query 0x0C, so its length byte sits at offset 6 and the
    // identity from offset 7. Anything else (or the silent fault): empty.
    QByteArray discoveryReply(const QByteArray &datagram);

    // Identity, shown in discovery and in query 0x0C: five texts, each
    // stored with its 00 (vendor id text, model, device id "MFG:...;",
    // product id text, fifth text).
    void setIdentity(const QString &vendor, const QString &model, const QString &deviceId,
                     const QString &field3 = {}, const QString &field4 = {});
    QByteArray identityPayload() const;

    // Stored settings, keyed by the setting code (payload as the printer
    // would answer it). The identity is setting 0x0C.
    QByteArray setting(quint8 code) const;
    void setSetting(quint8 code, const QByteArray &payload);
    // Every setting back to the factory defaults (identity, version,
    // resolution and status word included); the log and faults stay.
    void resetToDefaults();

    quint32 statusWord() const;
    void setStatusWord(quint32 word);
    QString firmwareVersion() const;
    void setFirmwareVersion(const QString &version);
    void setResolution(quint16 dpi, quint16 maxWidthDots);

    Faults faults() const;
    void setFaults(const Faults &faults);

    // Restarts after a firmware stream (see FirmwareRestart); the raw data
    // counted from now on decides when.
    void setFirmwareRestart(const FirmwareRestart &restart);
    // True while the printer restarts: it answers nothing.
    bool restarting() const;
    // How many restarts it has been through.
    int restarts() const;
    // A face hears here when the printer goes down (false) and comes back
    // (true), from the model's own thread; the id removes it again. Once
    // removeLinkListener() has returned, the listener is never called.
    int addLinkListener(std::function<void(bool up)> listener);
    void removeLinkListener(int id);

    QList<LoggedFrame> frames() const;
    // Frames of one class and code, in arrival order.
    QList<LoggedFrame> framesOf(quint8 cls, quint8 code) const;
    // Every byte the host sent over its streams (TCP connections, the USB
    // pipe), frames included, in arrival order: what a firmware or console
    // file transfer delivered.
    QByteArray received() const;
    // Clears the frame log, the received bytes and the raw byte count.
    void clearLog();
    qint64 rawByteCount() const;
    // Wait until at least n frames are logged (true) or the deadline passes.
    bool waitForFrames(int n, int timeoutMs) const;
    // Wait until a frame of this class and code is logged.
    bool waitForFrame(quint8 cls, quint8 code, int timeoutMs) const;
    // Wait until at least `bytes` raw bytes have been counted.
    bool waitForRawBytes(qint64 bytes, int timeoutMs) const;

private:
    QByteArray handleFrame(Medium medium, const QByteArray &frame);
    void addRaw(qint64 count);
    void record(const QByteArray &bytes);
    // Reply frame with the content faults applied (caller holds the lock).
    QByteArray replyLocked(quint8 cls, quint8 code, const QByteArray &payload) const;
    void loadDefaultsLocked();

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    QMap<quint8, QByteArray> m_settings;
    QList<LoggedFrame> m_log;
    qint64 m_raw = 0;
    QByteArray m_received;
    quint32 m_status = 0;
    QByteArray m_version;
    QByteArray m_resolution;
    Faults m_faults;
    QMap<quint8, QByteArray> m_factory;  // the defaults, for a reboot that forgets
    int m_answered = 0;                  // replies since the faults were set
    bool m_gone = false;                 // rebooted never to return

    void restartLoop();
    void tellLinks(bool up);
    FirmwareRestart m_restart;
    bool m_down = false;                 // restarting after a firmware
    int m_restarts = 0;
    qint64 m_rawSinceRestart = 0;
    std::chrono::steady_clock::time_point m_lastRaw;
    bool m_stopping = false;
    std::thread m_restartThread;
    std::mutex m_listenersMutex;         // held while listeners are called
    std::map<int, std::function<void(bool)>> m_listeners;
    int m_nextListener = 0;
};

} // namespace emu

#include "printer_model.h"

#include <QLoggingCategory>
#include <chrono>

// Off by default; QT_LOGGING_RULES="emu.model.debug=true" shows every frame.
Q_LOGGING_CATEGORY(lcEmuModel, "emu.model", QtInfoMsg)

namespace emu {

namespace {

const QByteArray kLeadIn("\x1B\xFF\xFE", 3);
const QByteArray kTail("\x1B\xFE\xFF", 3);

constexpr quint8 kClassFunction = 0x00;
constexpr quint8 kClassSet = 0x01;
constexpr quint8 kClassQuery = 0x02;

constexpr quint8 kIdentity = 0x0C;
constexpr quint8 kStatusWord = 0x03;
constexpr quint8 kFirmwareVersion = 0x04;
constexpr quint8 kResolution = 0x0B;
constexpr quint8 kReboot = 0x02;
constexpr quint8 kSerialNumber = 0x10;
constexpr quint8 kMacAddresses = 0x3C;

QByteArray le16(int value)
{
    QByteArray out;
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
    return out;
}

QByteArray le32(quint32 value)
{
    QByteArray out;
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((value >> shift) & 0xFF));
    return out;
}

QByteArray texts(std::initializer_list<const char *> parts)
{
    QByteArray out;
    for (const char *part : parts) {
        out.append(part);
        out.append('\0');
    }
    return out;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int value : values)
        out.append(char(value));
    return out;
}

const char *mediumName(Medium medium)
{
    switch (medium) {
    case Medium::Usb: return "usb";
    case Medium::Tcp: return "tcp";
    case Medium::Udp: return "udp";
    case Medium::Serial: return "serial";
    }
    return "?";
}

// How much of a buffer that starts with the lead-in is one frame.
enum class Cut { NeedMore, NotAFrame, Frame };
struct CutResult
{
    Cut kind;
    qsizetype length = 0;
};

bool tailAt(const QByteArray &buffer, qsizetype pos)
{
    return pos + 3 <= buffer.size() && buffer.mid(pos, 3) == kTail;
}

// The bytes present from `pos` could still become a tail.
bool tailPrefixAt(const QByteArray &buffer, qsizetype pos)
{
    const qsizetype present = std::min<qsizetype>(3, buffer.size() - pos);
    return present <= 0 || buffer.mid(pos, present) == kTail.left(present);
}

CutResult cutFrame(const QByteArray &buffer)
{
    if (buffer.size() < 6)
        return {Cut::NeedMore};
    const auto cls = quint8(buffer.at(3));
    if (cls > kClassQuery)
        return {Cut::NotAFrame};

    // Queries and function/status commands from the host carry no payload,
    // but the status-word request says length 4 all the same: for those
    // classes a tail right after the length byte ends the frame.
    if (cls != kClassSet) {
        if (tailAt(buffer, 6))
            return {Cut::Frame, 9};
        if (buffer.size() < 9 && tailPrefixAt(buffer, 6))
            return {Cut::NeedMore};
    }

    const qsizetype total = 9 + quint8(buffer.at(5));
    if (buffer.size() < total)
        return {Cut::NeedMore};
    if (tailAt(buffer, total - 3))
        return {Cut::Frame, total};
    return {Cut::NotAFrame};
}

} // namespace

std::optional<FirmwareRestart> parseFirmwareRestart(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    bool ok = false;
    FirmwareRestart restart;
    restart.enabled = true;
    restart.downMs = parts.value(0).toInt(&ok);
    restart.version = parts.value(1);
    restart.factoryReset = parts.value(2) == QLatin1String("reset");
    if (!ok || restart.downMs < -1 || parts.size() > 3 || (parts.size() == 3 && !restart.factoryReset))
        return std::nullopt;
    return restart;
}

// ---- Session ---------------------------------------------------------------

QByteArray PrinterModel::Session::feed(const QByteArray &input)
{
    m_model->record(input);
    m_pending.append(input);
    QByteArray out;
    qint64 raw = 0;
    for (;;) {
        const qsizetype at = m_pending.indexOf(kLeadIn);
        if (at < 0) {
            // Hold back only what could still grow into a lead-in, so a
            // long file stream is counted and dropped as it passes.
            qsizetype keep = 0;
            if (m_pending.endsWith(kLeadIn.left(2)))
                keep = 2;
            else if (m_pending.endsWith(kLeadIn.left(1)))
                keep = 1;
            raw += m_pending.size() - keep;
            m_pending.remove(0, m_pending.size() - keep);
            break;
        }
        if (at > 0) {
            raw += at;
            m_pending.remove(0, at);
        }
        const CutResult cut = cutFrame(m_pending);
        if (cut.kind == Cut::NeedMore)
            break;
        if (cut.kind == Cut::NotAFrame) {
            // A lead-in inside a data stream: its first byte is data, the
            // search goes on from the next one.
            raw += 1;
            m_pending.remove(0, 1);
            continue;
        }
        const QByteArray frame = m_pending.left(cut.length);
        m_pending.remove(0, cut.length);
        out.append(m_model->handleFrame(m_medium, frame));
    }
    if (raw > 0)
        m_model->addRaw(raw);
    return out;
}

PrinterModel::Session::~Session()
{
    if (!m_pending.isEmpty())
        m_model->addRaw(m_pending.size());
}

// ---- PrinterModel ----------------------------------------------------------

PrinterModel::PrinterModel()
{
    std::lock_guard lock(m_mutex);
    loadDefaultsLocked();
}

void PrinterModel::loadDefaultsLocked()
{
    m_settings.clear();
    m_settings[0x00] = bytes({2});                      // speed index
    m_settings[0x01] = bytes({0});                      // code page PC437
    m_settings[0x02] = bytes({2});                      // TSPL
    m_settings[kIdentity] = texts({"VID:E51D", "ZD-N480",
                                   "MFG:Label;CMD:TSPL,ZPL;MDL:ZD-N480;CLS:PRINTER;",
                                   "PID:0618", "V1.0"});
    // Ethernet: static (flag non-zero = DHCP off), address, mask, gateway.
    m_settings[0x0D] = bytes({1, 192, 168, 1, 100, 255, 255, 255, 0, 192, 168, 1, 1});
    m_settings[0x0E] = bytes({7, 0, 0, 0});             // 115200, parity 0, 8 bit, 1 bit
    m_settings[0x0F] = le16(9100) + le16(38400);        // TCP, UDP (discovery) ports
    m_settings[0x10] = texts({"SN20261206001"});
    m_settings[0x13] = bytes({8});                      // density
    m_settings[0x16] = bytes({0});                      // label paper
    m_settings[0x18] = le16(400) + le16(800);           // height, width in dots
    m_settings[0x19] = le16(24);                        // label gap, 3 mm at 8 dots/mm
    m_settings[0x1A] = le16(24);                        // black-mark gap
    m_settings[0x1C] = bytes({0, 0});                   // 0°, not mirrored
    m_settings[0x1D] = le16(0);                         // print offset
    m_settings[0x1E] = le16(0);                         // vertical offset
    m_settings[0x22] = bytes({0});                      // keys on
    m_settings[0x23] = bytes({0});                      // buzzer on
    m_settings[0x25] = bytes({0});                      // cutter off
    m_settings[0x26] = texts({"Office-WiFi", "secret123"});
    m_settings[0x27] = texts({"ZD-N480-AP", "12345678", "192.168.4.1"});
    // Wi-Fi addressing: DHCP on (flag non-zero), address, mask, gateway, DNS.
    m_settings[0x28] = bytes({1, 192, 168, 1, 120, 255, 255, 255, 0, 192, 168, 1, 1, 8, 8, 8, 8});
    m_settings[0x29] = le16(9100);                      // Wi-Fi TCP service port
    m_settings[0x2B] = texts({"ZD-N480"});              // classic Bluetooth name
    m_settings[0x2C] = texts({"ZD-N480-BLE"});          // BLE name
    m_settings[0x2E] = texts({"0000"});                 // SPP PIN
    m_settings[0x2F] = bytes({0});                      // simple pairing
    m_settings[0x30] = bytes({1});                      // station mode
    m_settings[0x33] = le16(120);                       // paper exit to head, dots
    m_settings[0x34] = le16(48);                        // gap sensor to head, dots
    m_settings[0x35] = le16(48);                        // black-mark sensor to head, dots
    m_settings[0x36] = le16(96);                        // head to tear bar, dots
    // Wi-Fi MAC then Bluetooth MAC.
    m_settings[0x3C] = bytes({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E,
                              0x11, 0x22, 0x33, 0xAA, 0xBB, 0xCC});
    m_settings[0x3E] = bytes({1});                      // Simplified Chinese
    m_settings[0x41] = bytes({0});                      // thermal
    m_settings[0x54] = bytes({0});                      // automatic feed off
    m_settings[0x58] = le16(5000);                      // stripper take time, ms
    m_status = 0;
    m_version = QByteArray("V2.4.1");
    m_resolution = le16(203) + le16(832);
    m_factory = m_settings;
    m_answered = 0;
    m_gone = false;
}

PrinterModel::~PrinterModel()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_restartThread.joinable())
        m_restartThread.join();
}

void PrinterModel::setFirmwareRestart(const FirmwareRestart &restart)
{
    {
        std::lock_guard lock(m_mutex);
        m_restart = restart;
        m_rawSinceRestart = 0;
    }
    m_changed.notify_all();
    if (restart.enabled && !m_restartThread.joinable())
        m_restartThread = std::thread([this] { restartLoop(); });
}

bool PrinterModel::restarting() const
{
    std::lock_guard lock(m_mutex);
    return m_down;
}

int PrinterModel::restarts() const
{
    std::lock_guard lock(m_mutex);
    return m_restarts;
}

int PrinterModel::addLinkListener(std::function<void(bool)> listener)
{
    std::lock_guard lock(m_listenersMutex);
    m_listeners.emplace(m_nextListener, std::move(listener));
    return m_nextListener++;
}

void PrinterModel::removeLinkListener(int id)
{
    std::lock_guard lock(m_listenersMutex);
    m_listeners.erase(id);
}

void PrinterModel::tellLinks(bool up)
{
    std::lock_guard lock(m_listenersMutex);
    for (const auto &[id, listener] : m_listeners)
        listener(up);
}

void PrinterModel::restartLoop()
{
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (!m_restart.enabled || m_rawSinceRestart == 0) {
            m_changed.wait(lock);
            continue;
        }
        // The firmware is in once raw data has stopped for a while.
        const Clock::time_point due = m_lastRaw + std::chrono::milliseconds(m_restart.quietMs);
        if (Clock::now() < due) {
            m_changed.wait_until(lock, due);
            continue;
        }
        const FirmwareRestart restart = m_restart;
        m_down = true;
        m_rawSinceRestart = 0;
        qCInfo(lcEmuModel) << "restarting into the new firmware";
        lock.unlock();
        tellLinks(false);
        lock.lock();
        const auto stop = [this] { return m_stopping; };
        if (restart.downMs < 0)
            m_changed.wait(lock, stop);
        else
            m_changed.wait_for(lock, std::chrono::milliseconds(restart.downMs), stop);
        if (m_stopping)
            break;
        if (!restart.version.isEmpty())
            m_version = restart.version.toUtf8();
        if (restart.factoryReset) {
            // The unit keeps what identifies it.
            const QMap<quint8, QByteArray> kept = {{kIdentity, m_settings.value(kIdentity)},
                                                   {kSerialNumber, m_settings.value(kSerialNumber)},
                                                   {kMacAddresses, m_settings.value(kMacAddresses)}};
            m_settings = m_factory;
            for (auto it = kept.cbegin(); it != kept.cend(); ++it)
                m_settings[it.key()] = it.value();
        }
        m_down = false;
        ++m_restarts;
        m_rawSinceRestart = 0;
        qCInfo(lcEmuModel) << "back, firmware" << m_version;
        lock.unlock();
        tellLinks(true);
        lock.lock();
        m_changed.notify_all();
    }
}

void PrinterModel::resetToDefaults()
{
    std::lock_guard lock(m_mutex);
    loadDefaultsLocked();
}

std::unique_ptr<PrinterModel::Session> PrinterModel::openSession(Medium medium)
{
    return std::unique_ptr<Session>(new Session(this, medium));
}

QByteArray PrinterModel::replyLocked(quint8 cls, quint8 code, const QByteArray &payload) const
{
    // A firmware that counts bytes it never sends promises more than the
    // reply carries: the tail follows the real payload all the same.
    quint8 length = quint8((payload.size() + m_faults.lengthBeyond) & 0xFF);
    if (m_faults.negativeLength)
        length |= 0x80;
    QByteArray reply = kLeadIn;
    reply.append(char(cls));
    reply.append(char(m_faults.wrongCode ? quint8(code + 1) : code));
    reply.append(char(length));
    reply.append(payload);
    reply.append(kTail);
    return reply;
}

QByteArray PrinterModel::handleFrame(Medium medium, const QByteArray &frame)
{
    std::lock_guard lock(m_mutex);
    LoggedFrame logged;
    logged.medium = medium;
    logged.bytes = frame;
    logged.cls = quint8(frame.at(3));
    logged.code = quint8(frame.at(4));
    // The payload is what lies between the length byte and the tail (the
    // status request's length byte 4 has no payload behind it).
    logged.payload = frame.mid(6, frame.size() - 9);
    m_log.append(logged);
    qCDebug(lcEmuModel).noquote() << mediumName(medium) << "frame" << frame.toHex(' ');

    QByteArray reply;
    bool answered = false;
    switch (logged.cls) {
    case kClassSet:
        // A firmware that silently ignores one setting keeps its old value.
        if (logged.code != m_faults.ignoreSetCode)
            m_settings[logged.code] = logged.payload;
        break;
    case kClassQuery:
        reply = replyLocked(kClassQuery, logged.code, m_settings.value(logged.code));
        answered = true;
        break;
    case kClassFunction:
        if (logged.code == kStatusWord) {
            reply = replyLocked(kClassFunction, logged.code, le32(m_status).left(m_faults.statusWordBytes));
            answered = true;
        } else if (logged.code == kFirmwareVersion) {
            reply = replyLocked(kClassFunction, logged.code, m_version + QByteArray(1, '\0'));
            answered = true;
        } else if (logged.code == kResolution) {
            reply = replyLocked(kClassFunction, logged.code, m_resolution);
            answered = true;
        } else if (logged.code == kReboot) {
            m_gone = m_faults.goneAfterReboot;
            if (m_faults.forgetOnReboot >= 0)
                m_settings[quint8(m_faults.forgetOnReboot)] = m_factory.value(quint8(m_faults.forgetOnReboot));
        }
        break;
    default:
        break;
    }
    m_changed.notify_all();

    if (!answered || m_faults.silent || m_gone || m_down)
        return {};
    if (m_faults.answerLimit >= 0 && m_answered++ >= m_faults.answerLimit)
        return {};
    return m_faults.garbageBefore + reply;
}

void PrinterModel::record(const QByteArray &bytes)
{
    std::lock_guard lock(m_mutex);
    m_received.append(bytes);
}

QByteArray PrinterModel::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

void PrinterModel::addRaw(qint64 count)
{
    std::lock_guard lock(m_mutex);
    m_raw += count;
    if (!m_down) {
        m_rawSinceRestart += count;
        m_lastRaw = std::chrono::steady_clock::now();
    }
    m_changed.notify_all();
}

QByteArray PrinterModel::discoveryReply(const QByteArray &datagram)
{
    const QByteArray query = kLeadIn + bytes({kClassQuery, kIdentity, 0}) + kTail;
    if (datagram.size() != 10 || datagram.mid(1) != query)
        return {};
    std::lock_guard lock(m_mutex);
    LoggedFrame logged;
    logged.medium = Medium::Udp;
    logged.bytes = query;
    logged.cls = kClassQuery;
    logged.code = kIdentity;
    m_log.append(logged);
    m_changed.notify_all();
    qCDebug(lcEmuModel).noquote() << "udp discovery nonce" << int(quint8(datagram.at(0)));
    if (m_faults.silent || m_gone || m_down)
        return {};
    return datagram.left(1) + replyLocked(kClassQuery, kIdentity, m_settings.value(kIdentity));
}

void PrinterModel::setIdentity(const QString &vendor, const QString &model, const QString &deviceId,
                               const QString &field3, const QString &field4)
{
    QByteArray payload;
    for (const QString &field : {vendor, model, deviceId, field3, field4}) {
        payload.append(field.toUtf8());
        payload.append('\0');
    }
    std::lock_guard lock(m_mutex);
    m_settings[kIdentity] = payload;
}

QByteArray PrinterModel::identityPayload() const
{
    std::lock_guard lock(m_mutex);
    return m_settings.value(kIdentity);
}

QByteArray PrinterModel::setting(quint8 code) const
{
    std::lock_guard lock(m_mutex);
    return m_settings.value(code);
}

void PrinterModel::setSetting(quint8 code, const QByteArray &payload)
{
    std::lock_guard lock(m_mutex);
    m_settings[code] = payload;
}

quint32 PrinterModel::statusWord() const
{
    std::lock_guard lock(m_mutex);
    return m_status;
}

void PrinterModel::setStatusWord(quint32 word)
{
    std::lock_guard lock(m_mutex);
    m_status = word;
}

QString PrinterModel::firmwareVersion() const
{
    std::lock_guard lock(m_mutex);
    return QString::fromUtf8(m_version);
}

void PrinterModel::setFirmwareVersion(const QString &version)
{
    std::lock_guard lock(m_mutex);
    m_version = version.toUtf8();
}

void PrinterModel::setResolution(quint16 dpi, quint16 maxWidthDots)
{
    std::lock_guard lock(m_mutex);
    m_resolution = le16(dpi) + le16(maxWidthDots);
}

Faults PrinterModel::faults() const
{
    std::lock_guard lock(m_mutex);
    return m_faults;
}

void PrinterModel::setFaults(const Faults &faults)
{
    std::lock_guard lock(m_mutex);
    m_faults = faults;
    m_answered = 0;
    m_gone = false;
}

QList<LoggedFrame> PrinterModel::frames() const
{
    std::lock_guard lock(m_mutex);
    return m_log;
}

QList<LoggedFrame> PrinterModel::framesOf(quint8 cls, quint8 code) const
{
    std::lock_guard lock(m_mutex);
    QList<LoggedFrame> matching;
    for (const LoggedFrame &frame : m_log) {
        if (frame.cls == cls && frame.code == code)
            matching.append(frame);
    }
    return matching;
}

void PrinterModel::clearLog()
{
    std::lock_guard lock(m_mutex);
    m_log.clear();
    m_raw = 0;
    m_received.clear();
}

qint64 PrinterModel::rawByteCount() const
{
    std::lock_guard lock(m_mutex);
    return m_raw;
}

bool PrinterModel::waitForFrames(int n, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_log.size() >= n; });
}

bool PrinterModel::waitForFrame(quint8 cls, quint8 code, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        for (const LoggedFrame &frame : m_log) {
            if (frame.cls == cls && frame.code == code)
                return true;
        }
        return false;
    });
}

bool PrinterModel::waitForRawBytes(qint64 count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_raw >= count; });
}

} // namespace emu

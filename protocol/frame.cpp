#include "protocol/frame.h"

#include <QRegularExpression>
#include <algorithm>
#include <cstring>

namespace proto {

namespace {

constexpr unsigned char kLeadIn[3] = {0x1B, 0xFF, 0xFE};
constexpr unsigned char kTail[3] = {0x1B, 0xFE, 0xFF};

QByteArray leadIn() { return QByteArray(reinterpret_cast<const char *>(kLeadIn), 3); }
QByteArray tailBytes() { return QByteArray(reinterpret_cast<const char *>(kTail), 3); }

} // namespace

const std::array<const char *, 5> kIdentityFieldLabels = {
    "vidSString:", "pidSString:", "vidPtring:", "pidPtring:", "messagetring:"};

QByteArray buildFrame(quint8 frameClass, quint8 code, const QByteArray &payload)
{
    QByteArray frame;
    frame.reserve(payload.size() + kFrameOverhead);
    frame.append(leadIn());
    frame.append(char(frameClass));
    frame.append(char(code));
    frame.append(char(payload.size() % 256));
    frame.append(payload);
    frame.append(tailBytes());
    return frame;
}

QByteArray queryFrame(SetInfoType type)
{
    return buildFrame(ClassQuery, type);
}

QByteArray statusQueryFrame(POWER_InFo code)
{
    return buildFrame(ClassFunction, code);
}

QByteArray functionFrame(POWER_InFo code)
{
    return buildFrame(ClassFunction, code);
}

QByteArray statusWordRequest()
{
    QByteArray frame = buildFrame(ClassFunction, STATUS_WORD);
    frame[5] = 0x04;
    return frame;
}

int judgeReply(const unsigned char *reply, int replySize, quint8 code, unsigned char *out,
               int outSize)
{
    if (out && outSize > 0)
        std::memset(out, 0, size_t(outSize));
    if (!reply || replySize < 6)
        return -1;
    if (reply[0] != kLeadIn[0] || reply[1] != kLeadIn[1] || reply[2] != kLeadIn[2]
        || reply[4] != code)
        return -1;
    const int n = reply[5];
    const int present = replySize - 6;
    const int count = std::max(0, std::min({n, present, out ? outSize : 0}));
    if (count > 0)
        std::memcpy(out, reply + 6, size_t(count));
    return count;
}

StreamFrame extractReplyFrame(const QByteArray &received, quint8 frameClass, quint8 code,
                              qsizetype capacity)
{
    StreamFrame result;
    QByteArray start = leadIn();
    start.append(char(frameClass));
    start.append(char(code));
    const qsizetype i = received.indexOf(start);
    result.start = i;
    // The length byte itself has not arrived yet: nothing to cut by.
    if (i < 0 || i + 5 >= received.size())
        return result;
    // Only a tail behind the reply's header says that enough has arrived: a
    // stray tail from earlier bytes (say, what the debug console left) must
    // not cut a reply that is still arriving.
    if (received.indexOf(tailBytes(), i + 6) < 0)
        return result;

    // The length byte is a count (0..255): read as a signed value, replies
    // with 247..255 payload bytes (long serial numbers and names) would be
    // cut to a few bytes.
    const qsizetype available = received.size() - i;
    const qsizetype total = qsizetype(static_cast<unsigned char>(received.at(i + 5))) + kFrameOverhead;
    qsizetype length = std::min(total, available);
    length = std::clamp<qsizetype>(length, 0, std::max<qsizetype>(capacity, 0));
    result.frame = received.mid(i, length);
    result.complete = true;
    return result;
}

int copyDiscoveryPayload(const QByteArray &datagram, unsigned char *work, int workSize)
{
    if (!work || workSize <= 0)
        return 0;
    std::memset(work, 0, size_t(workSize));
    if (datagram.size() <= 7)
        return 0;
    const qsizetype declared = static_cast<unsigned char>(datagram.at(6));
    const qsizetype count = std::min({declared, datagram.size() - 7, qsizetype(workSize)});
    std::memcpy(work, datagram.constData() + 7, size_t(count));
    return int(count);
}

std::optional<DeviceIdentity> splitDeviceIdentity(const unsigned char *buffer, int size)
{
    if (!buffer || size <= 0)
        return std::nullopt;
    std::array<int, 5> starts{0, -1, -1, -1, -1};
    int next = 1;
    for (int pos = 0; pos < size && next < 5; ++pos) {
        if (buffer[pos] == 0)
            starts[size_t(next++)] = pos + 1;
    }
    if (next < 5)
        return std::nullopt;

    DeviceIdentity identity;
    for (size_t f = 0; f < 5; ++f) {
        const int from = starts[f];
        int to = from;
        while (to < size && buffer[to] != 0)
            ++to;
        identity.fields[f] =
            QString::fromUtf8(reinterpret_cast<const char *>(buffer) + from, to - from);
    }
    return identity;
}

std::optional<DeviceIdentity> splitDeviceIdentity(const QByteArray &payload)
{
    std::array<unsigned char, kIdentityBufferSize> buffer{};
    const qsizetype count = std::min<qsizetype>(payload.size(), kIdentityBufferSize);
    if (count > 0)
        std::memcpy(buffer.data(), payload.constData(), size_t(count));
    return splitDeviceIdentity(buffer.data(), kIdentityBufferSize);
}

QString identityManufacturer(const QString &deviceId)
{
    static const QRegularExpression mfg(QStringLiteral("MFG:(\\s*[^;]+)"));
    const QRegularExpressionMatch match = mfg.match(deviceId);
    if (!match.hasMatch())
        return QString();
    return match.captured(1).trimmed();
}

QString payloadText(const unsigned char *payload, int size)
{
    if (!payload || size <= 0)
        return QString();
    const void *nul = std::memchr(payload, 0, size_t(size));
    const int length = nul ? int(static_cast<const unsigned char *>(nul) - payload) : size;
    return QString::fromUtf8(reinterpret_cast<const char *>(payload), length);
}

QStringList payloadTexts(const unsigned char *payload, int size, int count)
{
    QStringList texts;
    int offset = 0;
    for (int i = 0; i < count; ++i) {
        if (!payload || offset >= size) {
            texts.append(QString());
            continue;
        }
        texts.append(payloadText(payload + offset, size - offset));
        const void *nul = std::memchr(payload + offset, 0, size_t(size - offset));
        offset = nul ? int(static_cast<const unsigned char *>(nul) - payload) + 1 : size;
    }
    return texts;
}

QList<QByteArray> payloadTextBytes(const unsigned char *payload, int size, int count)
{
    QList<QByteArray> texts;
    const char *at = reinterpret_cast<const char *>(payload);
    const char *const end = payload && size > 0 ? at + size : at;
    for (int i = 0; i < count; ++i) {
        const char *nul = at == end ? nullptr : static_cast<const char *>(std::memchr(at, 0, size_t(end - at)));
        texts.append(QByteArray(at, (nul ? nul : end) - at));
        at = nul ? nul + 1 : end;
    }
    return texts;
}

ResolutionInfo decodeResolution(const unsigned char *payload, int mmToDot)
{
    ResolutionInfo info;
    if (!payload)
        return info;
    info.dpi = payload[0] + 256 * payload[1];
    info.maxWidthDots = payload[2] + 256 * payload[3];
    info.maxWidthMm = mmToDot >= 1 ? info.maxWidthDots / mmToDot : 0;
    return info;
}

} // namespace proto

// Command frames as bytes, with no I/O: building requests, judging replies,
// cutting a reply out of a TCP byte stream, the discovery datagram and the
// device identity. Everything here works on plain buffers so that the
// transports, the pages and the tests share one set of rules.
//
// Frame layout (all classes, both directions):
//
//   offset  size  content
//   0       3     lead-in 1B FF FE
//   3       1     class: 00 function/status, 01 set, 02 query
//   4       1     code (SetInfoType for 01/02, POWER_InFo for 00)
//   5       1     payload length n
//   6       n     payload
//   6+n     3     tail 1B FE FF
//
// There is no checksum and no escaping; lead-in and tail bytes may occur
// inside a payload, which is why nothing here hunts for the tail to find
// the end of a frame: the length byte decides.
#pragma once

#include "protocol/codes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace proto {

// Lead-in, class, code, length and tail.
constexpr int kFrameOverhead = 9;
// The largest payload the one-byte length can describe.
constexpr int kMaxPayload = 255;
// Smallest reply buffer any caller hands to the network exchange.
constexpr int kMinReplyCapacity = 256;
// Reply area handed to the transports: a whole frame with a 255-byte payload.
constexpr int kReplyAreaSize = kMaxPayload + kFrameOverhead;
// The query helpers' result buffer; they zero all of it before copying a
// payload in.
constexpr int kResultBufferSize = 1024;
// Work buffer of the identity split and the discovery reply copy.
constexpr int kIdentityBufferSize = 1024;

// Whole frame: lead-in, class, code, payload length modulo 256, payload,
// tail. A payload longer than 255 bytes cannot be described by the length
// byte; it is still copied whole (the frame is what the builders always
// sent), so callers that care refuse such input first (see instructions.h).
QByteArray buildFrame(quint8 frameClass, quint8 code, const QByteArray &payload = {});

// 1B FF FE 02 type 00 1B FE FF.
QByteArray queryFrame(SetInfoType type);
// 1B FF FE 00 code 00 1B FE FF: the status query and the function command
// are the same nine bytes; only whether a reply is read differs.
QByteArray statusQueryFrame(POWER_InFo code);
QByteArray functionFrame(POWER_InFo code);
// The status-word request 1B FF FE 00 03 04 1B FE FF. Its length byte says
// 4 although no payload follows; the printer answers with the 4-byte word.
QByteArray statusWordRequest();

// Judges a reply the way the query helpers do and copies its payload.
//
// The reply passes when bytes 0..2 are 1B FF FE and byte 4 equals `code`.
// Byte 3 (class), the tail and the length byte against the bytes received
// are deliberately not checked: the USB transport always hands over its
// whole 264-byte reply area, so the received count says nothing.
//
// `out` (outSize bytes) is zeroed first, whatever the verdict. On a pass,
// n = byte 5 read as an unsigned count (so 0x80..0xFF mean 128..255, not a
// negative length) and reply bytes 6 .. 6+n-1 are copied to the start of
// `out`, clipped so that neither the reply area (replySize bytes) nor
// `out` is overrun. Returns the number of payload bytes copied, or -1 when
// the reply failed the checks (out then stays all zero).
int judgeReply(const unsigned char *reply, int replySize, quint8 code, unsigned char *out,
               int outSize);

// Cutting one reply out of the bytes received so far on a TCP connection.
//
// The exchange looks for the lead-in followed by the request's class and
// code at some position i, and for a tail somewhere behind that reply's
// header (from i+6 on; a tail that arrived before the reply says nothing
// about it). Once both are there, the frame is the bytes from i, (byte
// i+5 as a count 0..255) + 9 long, fewer if fewer have arrived (a payload
// may itself hold the tail bytes), and never longer than `capacity`, the
// caller's reply buffer (a 255-byte payload makes a 264-byte frame).
struct StreamFrame
{
    bool complete = false;  // a frame was cut; otherwise keep receiving
    qsizetype start = -1;   // i, or -1 when the lead-in+class+code is absent
    QByteArray frame;       // the cut frame (empty when incomplete)
};
StreamFrame extractReplyFrame(const QByteArray &received, quint8 frameClass, quint8 code,
                              qsizetype capacity = kMinReplyCapacity);

// Discovery reply datagram: one byte precedes a reply frame, so the
// payload length sits at offset 6 and the payload starts at offset 7.
// Zeroes `work` (workSize bytes) and copies the payload into it. The
// length byte is read as an unsigned count and clipped both to the bytes
// the datagram really holds after offset 7 and to workSize. Returns the
// number of bytes copied (0 for a datagram of 7 bytes or fewer).
int copyDiscoveryPayload(const QByteArray &datagram, unsigned char *work,
                         int workSize = kIdentityBufferSize);

// The device identity (reply to query 0x0C): five texts, each ended by a
// 00 byte, one after the other.
struct DeviceIdentity
{
    // 0 first text, 1 product/model, 2 device id ("MFG:...;"), 3, 4.
    std::array<QString, 5> fields;

    const QString &model() const { return fields[1]; }
    const QString &deviceId() const { return fields[2]; }
};
// Diagnostic labels of the five fields, in order.
extern const std::array<const char *, 5> kIdentityFieldLabels;

// Splits a zero-filled result buffer: field 0 starts at byte 0; each of
// the first four 00 bytes found starts the next field. nullopt when fewer
// than four 00 bytes occur in the buffer (the identity is incomplete).
// Each field runs to its own 00 byte (or the buffer's end) and is decoded
// as UTF-8.
std::optional<DeviceIdentity> splitDeviceIdentity(const unsigned char *buffer,
                                                  int size = kIdentityBufferSize);
// Same rule for a payload as it would lie in the 1024-byte result buffer:
// at most 1024 bytes are used and the rest counts as zero-filled, so a
// payload without any 00 byte yields field 0 = the payload and four empty
// fields.
std::optional<DeviceIdentity> splitDeviceIdentity(const QByteArray &payload);

// The manufacturer named by the "MFG:" item of a device id text: the first
// capture of "MFG:(\s*[^;]+)", trimmed. A null string when there is none.
QString identityManufacturer(const QString &deviceId);

// Payload text up to its first 00 byte (or `size`), decoded as UTF-8:
// firmware version (0x04), serial number (0x10), Bluetooth names.
QString payloadText(const unsigned char *payload, int size);
// The first `count` texts of a payload of several, each ended by its 00
// byte (station network: SSID, password; access point: name, password,
// address). Texts the payload does not hold come back empty.
QStringList payloadTexts(const unsigned char *payload, int size, int count);
// The same texts as the bytes the printer sent, undecoded: a name that is
// not UTF-8 (GBK is common) goes back to the printer exactly so.
QList<QByteArray> payloadTextBytes(const unsigned char *payload, int size, int count);

// Status code 0x0B: resolution in dots per inch, then maximum paper width
// in dots, both unsigned 16-bit little-endian. The width in millimetres is
// the integer quotient by mmToDot (0 when mmToDot is below 1).
struct ResolutionInfo
{
    int dpi = 0;
    int maxWidthDots = 0;
    int maxWidthMm = 0;
};
ResolutionInfo decodeResolution(const unsigned char *payload, int mmToDot);

} // namespace proto

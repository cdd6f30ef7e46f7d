// The debug console's texts and bytes: what the send area puts on the wire,
// its hexadecimal form, the message-area lines and the trimming of USB
// replies. The console sends raw bytes; it neither builds nor checks
// frames, except that a USB reply (a fixed 264-byte read, zero-filled) is
// cut to the frame it carries.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTime>
#include <optional>

namespace console {

// Bytes per write; longer sends go out in chunks of this size.
constexpr int kChunkSize = 1024;

// The message shown in place of a hexadecimal text that cannot be decoded
// (the send area itself shows it untranslated).
inline constexpr char kInvalidHex[] = "此十六进制字符串格式无效。";

// The send area's text as sent: every line feed becomes CR LF, UTF-8.
QByteArray sendBytes(const QString &text);

// Upper-case hexadecimal pairs, one blank between pairs: "1B FF FE".
QString hexText(const QByteArray &bytes);

// The send area in hexadecimal mode: pairs of hexadecimal digits with
// exactly one white-space character between pairs, nothing else (a line
// end counts as two characters, so "1B FF" followed by a new line is
// refused). nullopt when the text is not of that form.
std::optional<QByteArray> parseHex(const QString &text);

// Turning hexadecimal sending off: the digits (blanks removed; anything
// that is not a digit skipped) decoded as UTF-8 text, or kInvalidHex when
// the text without blanks has an odd length.
QString textFromHex(const QString &hex);

enum class Direction { Send, Receive };

// One message-area line: "[HH:mm:ss]SEND->payload" or "...RECV<-payload",
// the payload as hexadecimal pairs or as UTF-8 text.
QString line(const QTime &time, Direction direction, const QByteArray &payload, bool hex);

// A USB reply cut to the bytes from the first frame head (1B FF FE) to the
// end of the first tail (1B FE FF), when the head comes first; otherwise
// unchanged.
QByteArray trimUsbReply(const QByteArray &reply);

} // namespace console

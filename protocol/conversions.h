// Value conversions between what the operator types or sees and what the
// printer keeps: integers read from text, 16-bit little-endian fields,
// printer dots versus millimetres, dotted IPv4 addresses.
#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace proto {

// A port field read as a decimal number. Above 65535, negative or not a
// number gives 0.
quint16 parsePort(const QString &text);

// A numeric field read as a base-10 integer. Empty, not a number or
// outside the 32-bit range gives 0 (the printer then receives 0).
int parseInteger(const QString &text);

// 16-bit little-endian fields. The writer takes the low 16 bits of the
// value, so negative values go out in two's complement.
void appendLe16(QByteArray &out, qint64 value);
quint16 readLeU16(const unsigned char *bytes);
qint16 readLeS16(const unsigned char *bytes);
quint32 readLeU32(const unsigned char *bytes);

// Label-size display: dots / mmToDot in single precision, times 10,
// truncated toward zero, divided by 10, fixed notation with one decimal
// (400 dots at 8 dots/mm -> "50.0", 1 dot -> "0.1"). "0.0" when mmToDot is
// below 1.
QString dotsToMmText(int dots, int mmToDot);

// Dots to whole millimetres for the offsets and distances: integer
// division truncated toward zero (-12 / 8 = -1, -3 / 8 = 0). 0 when the
// divisor is 0.
int divideTowardZero(int value, int divisor);

// Dotted quads. Bytes to text: four unsigned decimals joined with ".".
QString dottedQuadText(const unsigned char *bytes);
// Text to values: split at "."; each piece read as a base-10 integer,
// an empty or non-numeric piece giving 0. The printer takes the low 8 bits
// of each value ("10.0..1" -> 10, 0, 0, 1; "300" -> 300, sent as 2C).
QList<int> dottedQuadValues(const QString &text);

// The two address blocks disagree on their DHCP flag byte. The Wi-Fi block
// (0x28) says 0 = DHCP off (static), anything else = on; the Ethernet
// block (0x0D) says 0 = DHCP on, anything else = off. Each page lists the
// two modes in the order of its block, so in both the combo index is the
// flag (0 or 1) that a set sends back.
enum class IpBlock { Wifi, Ethernet };
bool dhcpOn(IpBlock block, quint8 flag);
int ipModeIndex(IpBlock block, bool dhcp);

// A MAC address as the pages show it: six bytes, first byte first, two
// upper-case hexadecimal digits each, joined with ":" (00:1A:2B:3C:4D:5E).
QString macText(const unsigned char *bytes);

// Printer texts (network names, passwords, Bluetooth names, the serial
// number) are bytes, usually UTF-8, sometimes another encoding (a GBK
// network name). losslessText() decodes the valid UTF-8 and keeps every
// byte of an invalid sequence as the lone surrogate U+DC80 + (byte - 0x80),
// which no valid UTF-8 decodes to; textBytes() turns such a text back into
// exactly the bytes it came from (and any other text into UTF-8), so a
// text read from one printer goes into another byte for byte.
QString losslessText(QByteArrayView bytes);
QByteArray textBytes(const QString &text);
// The text holds bytes that are not UTF-8 (kept as above).
bool holdsRawBytes(const QString &text);

} // namespace proto

// Tolerant reading of a millimetre value: the system locale's number
// format, then the locale-independent one, then a normalised form
// (full-width comma/stops folded, blanks, U+00A0, U+202F, apostrophes and
// underscores removed; with both "." and "," present the commas are
// grouping and removed, a lone "," is the decimal point). "12.5", "12，5",
// "12。5" all read 12.5 and "1 234.5" reads 1234.5; "abc" and "" fail.
bool parseFlexibleDouble(const QString &text, double &value);
// Same, with the first attempt made in `locale` instead of the system
// locale (for tests and for callers that know the operator's locale).
bool parseFlexibleDouble(const QString &text, double &value, const QLocale &locale);

// Set instructions (class 01) from plain values to whole frames, and the
// range checks a page applies before it sends.
//
// Every setting has one frame: 1B FF FE 01 code n payload 1B FE FF. The
// MainWindow builders (Set_Send_..._Instruction) read their widget, call
// the encoder here and hand the frame to SendFrame; they hold no encoding
// rules of their own.
//
// Conventions shared by all encoders:
// - One-byte settings take the combo index (low 8 bits).
// - Integer fields take the widget text read as a base-10 integer (empty,
//   not a number or outside 32 bits -> 0), converted to the printer's unit
//   (mm x mmToDot, seconds x 1000, or unchanged) with plain integer
//   arithmetic, and send the low 16 bits little-endian, so negative values
//   go out in two's complement and out-of-range values wrap. Use
//   fieldRange() first to refuse what would wrap.
// - Texts go out as UTF-8 followed by one 00 byte (bytes a printer sent
//   that are not UTF-8 go back as they came, see proto::textBytes()); the length byte is the
//   payload length modulo 256. Use textsPayloadFit() first to refuse what
//   the length byte cannot describe.
#pragma once

#include "protocol/codes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace proto {

// ---- generic encoders ----------------------------------------------------

// 1B FF FE 01 code 01 <low 8 bits of value> 1B FE FF.
QByteArray byteSettingFrame(SetInfoType code, int value);
// 1B FF FE 01 code 02 <low 16 bits of value, little-endian> 1B FE FF.
QByteArray wordSettingFrame(SetInfoType code, qint64 value);
// One text: UTF-8 bytes + 00.
QByteArray textSettingFrame(SetInfoType code, const QString &text);
// Several texts one after the other, each with its own 00.
QByteArray textsSettingFrame(SetInfoType code, const QStringList &texts);
// The same from bytes as they are to go out (texts kept as the printer
// sent them).
QByteArray textBytesSettingFrame(SetInfoType code, const QList<QByteArray> &texts);

// How an integer field's screen value becomes the printer's value.
enum class FieldUnit {
    Millimetres,  // x mmToDot (dots on the printer)
    Dots,         // unchanged
    Seconds,      // x 1000 (milliseconds on the printer)
    Number,       // unchanged (ports)
};
struct IntegerField
{
    SetInfoType code;
    FieldUnit unit;
    bool isSigned;  // the printer's 16-bit field is signed
};
// The integer (16-bit) settings: label gap 0x19, black-mark gap 0x1A,
// offsets 0x1D/0x1E, distances 0x33..0x36, TCP service port 0x29 and the
// stripper time 0x58. The ports block 0x0F has two such values and counts
// as Number/unsigned. nullopt for any other code.
std::optional<IntegerField> integerField(SetInfoType code);
// Screen value to printer value (before taking the low 16 bits).
qint64 printerValue(SetInfoType code, qint64 screenValue, int mmToDot);
// Frame of a one-value integer setting from its widget text.
QByteArray integerSettingFrame(SetInfoType code, const QString &text, int mmToDot);

// ---- one encoder per instruction ------------------------------------------

QByteArray speedFrame(int index);                                     // 0x00
QByteArray defaultCodePageFrame(int index);                           // 0x01
// Instruction-set code of a name in instructionSetNames: the first key, in
// key order, whose name equals `name` exactly (case-sensitive); 0 for none.
int simulationCode(const QString &name);
QByteArray simulationFrame(const QString &name);                      // 0x02
// Ethernet IP block: combo index (0 DHCP on, 1 DHCP off), then IP, mask,
// gateway by the dotted-quad text rule (12 bytes).
QByteArray ethernetIpFrame(int ipModeIndex, const QString &ip, const QString &mask,
                           const QString &gateway);                   // 0x0D
QByteArray serialPortFrame(int baudIndex, int parityIndex, int dataBitsIndex,
                           int stopBitsIndex);                        // 0x0E
QByteArray portMessageFrame(const QString &tcpText, const QString &udpText); // 0x0F
// The serial number as raw bytes (sent back exactly as the printer gave it).
QByteArray serialNumberFrame(const QByteArray &sn);                   // 0x10
QByteArray densityFrame(int index);                                   // 0x13
QByteArray paperTypeFrame(int index);                                 // 0x16

// Label size: height first, then width, each mm x mmToDot as a double,
// rounded half away from zero and clamped to 0..65535.
enum class LabelSizeError { None, InvalidText, InvalidFactor };
struct LabelSizeFrame
{
    LabelSizeError error = LabelSizeError::None;
    QByteArray frame;    // empty unless error is None
    int heightDots = 0;
    int widthDots = 0;
    bool ok() const { return error == LabelSizeError::None; }
};
// The texts are trimmed and read with parseFlexibleDouble; a text that
// does not read gives InvalidText, mmToDot < 1 gives InvalidFactor (the
// text check comes first).
LabelSizeFrame labelSizeFrame(const QString &heightText, const QString &widthText,
                              int mmToDot);                           // 0x18

QByteArray labelGapFrame(const QString &mmText, int mmToDot);         // 0x19
QByteArray blackMarkGapFrame(const QString &mmText, int mmToDot);     // 0x1A
// Byte 0 rotation (0 = 0°, 1 = 180°), byte 1 mirroring (0 normal, 1 mirrored).
QByteArray printDirectionFrame(int rotationIndex, int mirrorIndex);   // 0x1C
QByteArray printOffsetFrame(const QString &mmText, int mmToDot);      // 0x1D
QByteArray verticalOffsetFrame(const QString &mmText, int mmToDot);   // 0x1E

// Keys and buzzer: 00 switches on, 01 switches off.
QByteArray keyLockFrame(bool keysEnabled);                            // 0x22
QByteArray buzzerFrame(bool buzzerEnabled);                           // 0x23
enum class CutterMode : quint8 { Off = 0, FullCut = 1, Strip = 2, Tear = 3 };
QByteArray cutterModeFrame(CutterMode mode);                          // 0x25

// Station network: SSID 00 password 00.
QByteArray stationFrame(const QString &ssid, const QString &password); // 0x26
// Access point: name 00 password 00 IP 00, the IP from
// accessPointAddress().
QByteArray accessPointFrame(const QString &name, const QString &password,
                            const QString &ipText);                   // 0x27
// The access point's own address as the AP network sends it: an address
// field left empty (its input mask reads "...", or the text is empty)
// sends the printer's usual "192.168.1.1".
QString accessPointAddress(const QString &ipText);
// Wi-Fi IP block: combo index (0 DHCP off, 1 DHCP on), then IP, mask,
// gateway, DNS by the dotted-quad text rule (16 bytes).
QByteArray wifiIpFrame(int ipModeIndex, const QString &ip, const QString &mask,
                       const QString &gateway, const QString &dns);   // 0x28
QByteArray tcpServicePortFrame(const QString &portText);              // 0x29
QByteArray brEdrNameFrame(const QString &name);                       // 0x2B
QByteArray bleNameFrame(const QString &name);                         // 0x2C
QByteArray pinFrame(const QString &pin);                              // 0x2E
QByteArray sppModeFrame(int index);                                   // 0x2F
// The combo shows STA at index 0 and AP at 1; the printer counts from 1.
QByteArray wifiModeFrame(int comboIndex);                             // 0x30
QByteArray paperEdgeDistanceFrame(const QString &dotsText);           // 0x33
QByteArray seamDistanceFrame(const QString &mmText, int mmToDot);     // 0x34
QByteArray blackMarkDistanceFrame(const QString &mmText, int mmToDot); // 0x35
QByteArray tearDistanceFrame(const QString &dotsText);                // 0x36
QByteArray languageFrame(int index);                                  // 0x3E
QByteArray printerModeFrame(int index);                               // 0x41
QByteArray autoPaperFrame(int index);                                 // 0x54
QByteArray paperTakeTimeFrame(const QString &secondsText);            // 0x58

// ---- refusing input that would not survive the encoding -----------------

struct ValueRange
{
    qint64 min = 0;
    qint64 max = 0;
    bool contains(qint64 value) const { return value >= min && value <= max; }
};

// The values an integer field may hold, in the unit it shows, so that the
// printer's value fits its 16-bit field without wrapping: signed fields
// -32768..32767 and unsigned ones 0..65535 after the unit conversion
// (gaps at 8 dots/mm: 0..8191 mm; offsets at 8 dots/mm: -4096..4095 mm;
// at 12 dots/mm: -2730..2730 mm; stripper time 0..65 s; ports 0..65535).
// mmToDot below 1 counts as 1. nullopt for codes without integer field.
std::optional<ValueRange> fieldRange(SetInfoType code, int mmToDot);
bool fieldValueFits(SetInfoType code, qint64 screenValue, int mmToDot);

// Texts: the payload (UTF-8 bytes plus one 00 per text) must not exceed
// 255 bytes, or the length byte would wrap. A single text may therefore
// hold at most 254 UTF-8 bytes.
constexpr int kMaxTextBytes = 254;
int textsPayloadSize(const QStringList &texts);
bool textsPayloadFit(const QStringList &texts);
bool textPayloadFits(const QString &text);

// Each "."-separated piece of an address text reads 0..255 (empty pieces
// count as 0). False when a piece would be sent as its low 8 bits only.
bool dottedQuadFits(const QString &text);

} // namespace proto

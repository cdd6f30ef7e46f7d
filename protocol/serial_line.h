// A serial line to the printer, as plain values: its settings (speed and
// framing, as the window's connection group and the command line name
// them), how long bytes take on it, the order in which the open looks for
// a printer whose speed nobody knows, and how a stream is cut into chunks
// that each take a moment on the line.
//
// Every character on an asynchronous line is framed: one start bit, the
// data bits, an optional parity bit and one or two stop bits, so 8N1 sends
// ten bits per byte. Times here are whole milliseconds, rounded up.
#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace serial {

enum class Parity { None, Odd, Even };
enum class Flow { None, Hardware, Software };

struct LineSettings
{
    qint32 baud = 115200;
    int dataBits = 8;            // 8 or 7
    Parity parity = Parity::None;
    int stopBits = 1;            // 1 or 2
    Flow flow = Flow::None;

    bool operator==(const LineSettings &) const = default;
};

// The rates of the window's baud combo boxes, in their order.
const QList<qint32> &comboRates();

// Settings from the window's serial connection combo boxes: the baud
// rate's text, parity index (0 none, 1 odd, 2 even), data-bits index
// (0 8 bits, 1 7 bits), stop-bits index (0 one, 1 two) and flow-control
// index (0 none, 1 hardware, 2 software). nullopt for a rate that is not
// a positive number.
std::optional<LineSettings> fromComboIndexes(const QString &baudText, int parityIndex, int dataBitsIndex,
                                             int stopBitsIndex, int flowIndex);

// Framing as the command line writes it: data bits, parity letter (N, O,
// E; either case), stop bits, e.g. "8N1", "7E2". False for anything else.
bool parseFraming(const QString &text, LineSettings &settings);
QString framingText(const LineSettings &settings);
// Flow control as the command line writes it: "none", "hw", "sw".
bool parseFlow(const QString &text, Flow &flow);
QString flowText(Flow flow);

// Bits one byte takes on the line: start, data, parity, stop.
int bitsPerByte(const LineSettings &settings);
// Milliseconds `bytes` bytes take on the line, rounded up (0 for none).
int lineTimeMs(qint64 bytes, const LineSettings &settings);

// The rates the open tries, in order, when it does not know the
// printer's: the chosen one first, then 9600, 115200, 19200, 38400 and
// 57600 (the rates printers ship with), then the rest of `rates` in
// their order; each once.
QList<qint32> searchOrder(qint32 chosen, const QList<qint32> &rates = comboRates());

// Bytes of a stream per chunk, so that one chunk takes at most about
// 100 ms on the line (at least one byte, at most `ceiling`).
int chunkBytes(const LineSettings &settings, int ceiling);

// Seconds a stream still needs, from what went in `elapsedMs`: -1 while
// too little has gone to tell.
qint64 secondsLeft(qint64 sentBytes, qint64 totalBytes, qint64 elapsedMs);
// "H:MM:SS" (or "M:SS" under an hour).
QString durationText(qint64 seconds);

} // namespace serial

#include "protocol/serial_line.h"

#include <QRegularExpression>

#include <algorithm>

namespace serial {

namespace {

// One chunk of a stream takes about this long on the line: short enough
// that the progress moves and a stop is heard soon, long enough that the
// hand-over of a chunk costs nothing next to it.
constexpr int kChunkLineMs = 100;
// The time left is guessed only once this much of a stream has gone.
constexpr qint64 kMinSentForEstimate = 1;
constexpr qint64 kMinElapsedForEstimateMs = 500;

} // namespace

const QList<qint32> &comboRates()
{
    static const QList<qint32> rates = {4800,   9600,   14400,  19200,  38400,  56000,  57600,  115200, 128000,
                                        230400, 256000, 460800, 500000, 512000, 600000, 750000, 921600};
    return rates;
}

std::optional<LineSettings> fromComboIndexes(const QString &baudText, int parityIndex, int dataBitsIndex,
                                             int stopBitsIndex, int flowIndex)
{
    bool ok = false;
    const qint32 baud = baudText.trimmed().toInt(&ok);
    if (!ok || baud <= 0)
        return std::nullopt;
    LineSettings s;
    s.baud = baud;
    s.parity = parityIndex == 1 ? Parity::Odd : parityIndex == 2 ? Parity::Even : Parity::None;
    s.dataBits = dataBitsIndex == 1 ? 7 : 8;
    s.stopBits = stopBitsIndex == 1 ? 2 : 1;
    s.flow = flowIndex == 1 ? Flow::Hardware : flowIndex == 2 ? Flow::Software : Flow::None;
    return s;
}

bool parseFraming(const QString &text, LineSettings &settings)
{
    static const QRegularExpression form(QStringLiteral("^([78])([NOEnoe])([12])$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return false;
    settings.dataBits = m.captured(1).toInt();
    const QChar p = m.captured(2).at(0).toUpper();
    settings.parity = p == QLatin1Char('O') ? Parity::Odd : p == QLatin1Char('E') ? Parity::Even : Parity::None;
    settings.stopBits = m.captured(3).toInt();
    return true;
}

QString framingText(const LineSettings &settings)
{
    const char parity = settings.parity == Parity::Odd ? 'O' : settings.parity == Parity::Even ? 'E' : 'N';
    return QStringLiteral("%1%2%3").arg(settings.dataBits).arg(QLatin1Char(parity)).arg(settings.stopBits);
}

bool parseFlow(const QString &text, Flow &flow)
{
    if (text == QLatin1String("none"))
        flow = Flow::None;
    else if (text == QLatin1String("hw"))
        flow = Flow::Hardware;
    else if (text == QLatin1String("sw"))
        flow = Flow::Software;
    else
        return false;
    return true;
}

QString flowText(Flow flow)
{
    return flow == Flow::Hardware ? QStringLiteral("hw") : flow == Flow::Software ? QStringLiteral("sw")
                                                                                   : QStringLiteral("none");
}

int bitsPerByte(const LineSettings &settings)
{
    return 1 + settings.dataBits + (settings.parity == Parity::None ? 0 : 1) + settings.stopBits;
}

int lineTimeMs(qint64 bytes, const LineSettings &settings)
{
    if (bytes <= 0 || settings.baud <= 0)
        return 0;
    const qint64 bits = bytes * bitsPerByte(settings);
    return int((bits * 1000 + settings.baud - 1) / settings.baud);
}

QList<qint32> searchOrder(qint32 chosen, const QList<qint32> &rates)
{
    QList<qint32> order{chosen};
    for (const qint32 rate : {9600, 115200, 19200, 38400, 57600})
        if (!order.contains(rate))
            order << rate;
    for (const qint32 rate : rates)
        if (!order.contains(rate))
            order << rate;
    return order;
}

int chunkBytes(const LineSettings &settings, int ceiling)
{
    const qint64 bytes = qint64(settings.baud) * kChunkLineMs / (1000LL * bitsPerByte(settings));
    return int(std::clamp<qint64>(bytes, 1, std::max(1, ceiling)));
}

qint64 secondsLeft(qint64 sentBytes, qint64 totalBytes, qint64 elapsedMs)
{
    if (sentBytes < kMinSentForEstimate || elapsedMs < kMinElapsedForEstimateMs || totalBytes < sentBytes)
        return -1;
    const qint64 leftBytes = totalBytes - sentBytes;
    // Rounded up: "0:00" only once nothing is left.
    return (leftBytes * elapsedMs + sentBytes * 1000 - 1) / (sentBytes * 1000);
}

QString durationText(qint64 seconds)
{
    seconds = std::max<qint64>(seconds, 0);
    const qint64 h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

} // namespace serial

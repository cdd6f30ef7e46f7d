#include "protocol/conversions.h"

#include <QStringList>
#include <climits>
#include <cmath>

namespace proto {

quint16 parsePort(const QString &text)
{
    bool ok = false;
    const uint value = text.toUInt(&ok, 10);
    return ok && value <= 65535 ? quint16(value) : 0;
}

int parseInteger(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

void appendLe16(QByteArray &out, qint64 value)
{
    const auto word = quint16(quint64(value) & 0xFFFF);
    out.append(char(word & 0xFF));
    out.append(char(word >> 8));
}

quint16 readLeU16(const unsigned char *bytes)
{
    return quint16(bytes[0] | (bytes[1] << 8));
}

qint16 readLeS16(const unsigned char *bytes)
{
    return qint16(readLeU16(bytes));
}

quint32 readLeU32(const unsigned char *bytes)
{
    return quint32(bytes[0]) | (quint32(bytes[1]) << 8) | (quint32(bytes[2]) << 16)
           | (quint32(bytes[3]) << 24);
}

QString dotsToMmText(int dots, int mmToDot)
{
    if (mmToDot < 1)
        return QStringLiteral("0.0");
    const float mm = float(dots) / float(mmToDot);
    const int tenths = int(mm * 10.0f);  // truncates toward zero
    return QString::number(tenths / 10.0, 'f', 1);
}

int divideTowardZero(int value, int divisor)
{
    if (divisor == 0)
        return 0;
    if (value == INT_MIN && divisor == -1)
        return INT_MAX;
    return value / divisor;
}

QString dottedQuadText(const unsigned char *bytes)
{
    return QStringLiteral("%1.%2.%3.%4").arg(bytes[0]).arg(bytes[1]).arg(bytes[2]).arg(bytes[3]);
}

bool dhcpOn(IpBlock block, quint8 flag)
{
    return block == IpBlock::Wifi ? flag != 0 : flag == 0;
}

int ipModeIndex(IpBlock block, bool dhcp)
{
    return block == IpBlock::Wifi ? (dhcp ? 1 : 0) : (dhcp ? 0 : 1);
}

QString macText(const unsigned char *bytes)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(bytes), 6).toHex(':').toUpper());
}

namespace {

constexpr char16_t kRawByteBase = 0xDC00; // + byte: U+DC80..U+DCFF

bool isRawByte(QChar c)
{
    return c.unicode() >= kRawByteBase + 0x80 && c.unicode() <= kRawByteBase + 0xFF;
}

} // namespace

QString losslessText(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    QString text;
    text.reserve(n);
    for (qsizetype i = 0; i < n;) {
        const uchar lead = p[i];
        int length = 0;
        char32_t cp = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            text.append(QChar(lead));
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0)
            length = 2, cp = lead & 0x1F, smallest = 0x80;
        else if ((lead & 0xF0) == 0xE0)
            length = 3, cp = lead & 0x0F, smallest = 0x800;
        else if ((lead & 0xF8) == 0xF0)
            length = 4, cp = lead & 0x07, smallest = 0x10000;
        bool valid = length > 0 && i + length <= n;
        for (int k = 1; valid && k < length; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, UTF-16 surrogates and code points beyond Unicode
        // are not UTF-8 either.
        valid = valid && cp >= smallest && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        if (!valid) {
            text.append(QChar(char16_t(kRawByteBase + lead)));
            ++i;
            continue;
        }
        if (QChar::requiresSurrogates(cp)) {
            text.append(QChar(QChar::highSurrogate(cp)));
            text.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            text.append(QChar(char16_t(cp)));
        }
        i += length;
    }
    return text;
}

QByteArray textBytes(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype start = 0;
    // Runs of ordinary text go through Qt's encoder, raw bytes as they are.
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const bool raw = !end && isRawByte(text.at(i))
                         && !(i > 0 && text.at(i - 1).isHighSurrogate());
        if (!end && !raw)
            continue;
        bytes.append(QStringView(text).mid(start, i - start).toUtf8());
        if (raw)
            bytes.append(char(text.at(i).unicode() - kRawByteBase));
        start = i + 1;
    }
    return bytes;
}

bool holdsRawBytes(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isRawByte(text.at(i)) && !(i > 0 && text.at(i - 1).isHighSurrogate()))
            return true;
    }
    return false;
}

QList<int> dottedQuadValues(const QString &text)
{
    QList<int> values;
    const QStringList pieces = text.split(QLatin1Char('.'));
    for (const QString &piece : pieces)
        values.append(parseInteger(piece));
    return values;
}

} // namespace proto

bool parseFlexibleDouble(const QString &text, double &value, const QLocale &locale)
{
    // Qt reads "inf" and "nan" as numbers; a length never is one.
    bool ok = false;
    value = locale.toDouble(text, &ok);
    if (ok && std::isfinite(value))
        return true;
    value = text.toDouble(&ok);
    if (ok && std::isfinite(value))
        return true;

    QString s = text.trimmed();
    s.replace(QChar(0xFF0C), QLatin1Char(','));
    s.replace(QChar(0x3002), QLatin1Char('.'));
    s.replace(QChar(0xFF0E), QLatin1Char('.'));
    for (const QChar c : {QChar(' '), QChar(0x00A0), QChar(0x202F), QChar('\''), QChar('_')})
        s.remove(c);
    const bool hasDot = s.contains(QLatin1Char('.'));
    const bool hasComma = s.contains(QLatin1Char(','));
    if (hasDot && hasComma)
        s.remove(QLatin1Char(','));
    else if (hasComma)
        s.replace(QLatin1Char(','), QLatin1Char('.'));
    value = s.toDouble(&ok);
    return ok && std::isfinite(value);
}

bool parseFlexibleDouble(const QString &text, double &value)
{
    return parseFlexibleDouble(text, value, QLocale::system());
}

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

#include "ui/console_text.h"

#include "transport/device_records.h"

#include <QRegularExpression>

namespace console {

QByteArray sendBytes(const QString &text)
{
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return crlf.toUtf8();
}

QString hexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

std::optional<QByteArray> parseHex(const QString &text)
{
    static const QRegularExpression pairs(QStringLiteral("^[0-9A-Fa-f]{2}(\\s[0-9A-Fa-f]{2})*$"));
    // PCRE's $ also matches before a final line feed: that line end would
    // slip through, so the whole text must be the match.
    const QRegularExpressionMatch match = pairs.match(text);
    if (!match.hasMatch() || match.capturedLength() != text.size())
        return std::nullopt;
    QString digits = text;
    digits.remove(QRegularExpression(QStringLiteral("\\s")));
    return QByteArray::fromHex(digits.toLatin1());
}

QString textFromHex(const QString &hex)
{
    QString digits = hex.toUpper();
    digits.remove(QLatin1Char(' '));
    if (digits.size() % 2 != 0)
        return QString::fromUtf8(kInvalidHex);
    return QString::fromUtf8(QByteArray::fromHex(digits.toLatin1()));
}

QString line(const QTime &time, Direction direction, const QByteArray &payload, bool hex)
{
    const QString text = hex ? hexText(payload) : QString::fromUtf8(payload);
    return QLatin1Char('[') + time.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char(']')
        + (direction == Direction::Send ? QLatin1String("SEND->") : QLatin1String("RECV<-")) + text;
}

QByteArray trimUsbReply(const QByteArray &reply)
{
    const qsizetype first = reply.indexOf(head);
    const qsizetype last = reply.indexOf(tail);
    if (first < 0 || last < 0 || first >= last)
        return reply;
    return reply.mid(first, last + tail.size() - first);
}

} // namespace console

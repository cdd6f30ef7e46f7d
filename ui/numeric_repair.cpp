#include "ui/numeric_repair.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace repair {

namespace {

// Whether the last character of s (a whole code point, also outside the
// basic plane) ends a number: a digit of any script, "." or ",".
bool endsLikeNumber(const QString &s)
{
    const QChar last = s.back();
    if (last == QLatin1Char('.') || last == QLatin1Char(','))
        return true;
    char32_t codePoint = last.unicode();
    if (last.isLowSurrogate() && s.size() >= 2 && s.at(s.size() - 2).isHighSurrogate())
        codePoint = QChar::surrogateToUcs4(s.at(s.size() - 2), last);
    return QChar::category(codePoint) == QChar::Number_DecimalDigit;
}

// Length in UTF-16 units of the last code point of s.
qsizetype lastCodePointLength(const QString &s)
{
    return s.size() >= 2 && s.back().isLowSurrogate() && s.at(s.size() - 2).isHighSurrogate()
               ? 2
               : 1;
}

bool hasAsciiDigit(const QString &s)
{
    return std::any_of(s.cbegin(), s.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

} // namespace

QString oneDecimal(double value)
{
    return QString::number(value, 'f', 1);
}

DecimalResult repairDecimal(const QString &trimmedText, double min, double max, double lastValid)
{
    QString s = trimmedText;
    s.replace(QChar(0xFF0C), QLatin1Char(','));
    s.replace(QChar(0x3002), QLatin1Char('.'));
    s.replace(QChar(0xFF0E), QLatin1Char('.'));
    s.replace(QChar(0xFF0D), QLatin1Char('-'));
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char('\''));
    s.remove(QLatin1Char('_'));
    while (!s.isEmpty() && !endsLikeNumber(s))
        s.chop(lastCodePointLength(s));

    bool ok = false;
    double value = 0;
    if (hasAsciiDigit(s)) {
        const qsizetype dot = s.indexOf(QLatin1Char('.'));
        const qsizetype comma = s.indexOf(QLatin1Char(','));
        bool commaIsDecimal = false;
        if (dot >= 0 && comma >= 0) {
            commaIsDecimal = dot < comma;
        } else if (comma >= 0) {
            const qsizetype following = s.size() - comma - 1;
            commaIsDecimal = following == 1 || following == 2;
        }
        if (commaIsDecimal) {
            s.remove(QLatin1Char('.'));
            s.replace(QLatin1Char(','), QLatin1Char('.'));
        } else {
            s.remove(QLatin1Char(','));
        }
        value = QLocale::c().toDouble(s, &ok);
        // A length is never infinite or NaN; treat such a reading as refused.
        ok = ok && std::isfinite(value);
    }

    DecimalResult result;
    if (!ok) {
        result.valid = false;
        result.value = lastValid;
        result.text = oneDecimal(lastValid);
        result.textChanged = true;
        result.showTip = true;
        return result;
    }

    const double clamped = std::clamp(value, min, max);
    const bool moved = clamped != value;
    const double rounded = std::floor(std::fma(clamped, 10.0, 0.5)) / 10.0;
    const QString text = rounded == std::floor(rounded) ? QString::number(rounded, 'f', 0)
                                                        : oneDecimal(rounded);
    result.valid = true;
    result.value = rounded;
    result.text = text;
    result.textChanged = text != trimmedText;
    result.showTip = moved;
    return result;
}

IntegerResult repairInteger(const QString &trimmedText, int lastValid)
{
    static const QRegularExpression notDigitOrMinus(QStringLiteral("[^-0-9]"));
    QString s = trimmedText;
    s.remove(notDigitOrMinus);
    const qsizetype minus = s.indexOf(QLatin1Char('-'));
    if (minus > 0)
        s.remove(minus, 1);

    IntegerResult result;
    bool ok = false;
    int value = 0;
    if (!s.isEmpty() && s != QLatin1String("-"))
        value = s.toInt(&ok, 10);
    if (ok) {
        result.valid = true;
        result.value = value;
        result.text = QString::number(value);
        result.textChanged = result.text != trimmedText;
    } else {
        result.valid = false;
        result.value = lastValid;
        result.text = QString::number(lastValid);
        result.textChanged = true;
    }
    return result;
}

} // namespace repair

#include "cli/output.h"

#include "protocol/conversions.h"
#include "protocol/result.h"
#include "protocol/settings_profile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

namespace cli {

namespace {

// A value from its JSON form, as the operator reads it.
QString shownJson(const QJsonValue &v)
{
    if (v.isNull() || v.isUndefined())
        return QStringLiteral("nothing readable");
    if (v.isObject() && v.toObject().value(QLatin1String("hidden")).toBool())
        return QStringLiteral("(hidden)");
    if (v.isObject())
        return terminalText(proto::losslessText(QByteArray::fromHex(v.toObject().value(QLatin1String("hex")).toString().toLatin1())));
    if (v.isDouble())
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    const QString text = v.toString();
    return text.isEmpty() ? QStringLiteral("\"\"") : terminalText(text);
}

} // namespace

QString terminalText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (pair) {
            shown.append(text.mid(i, 2));
            ++i;
        } else if (c == '\n') {
            shown.append(QLatin1String("\\n"));
        } else if (c == '\r') {
            shown.append(QLatin1String("\\r"));
        } else if (c == '\t') {
            shown.append(QLatin1String("\\t"));
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029) {
            shown.append(QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0')));
        } else if (text.at(i).isSurrogate()) {
            // A byte that is not UTF-8, as proto::losslessText keeps it.
            const QByteArray bytes = proto::textBytes(text.mid(i, 1));
            for (const char b : bytes)
                shown.append(QStringLiteral("\\x%1").arg(int(uchar(b)), 2, 16, QLatin1Char('0')));
        } else {
            shown.append(text.at(i));
        }
    }
    return shown;
}

QString resultText(int result)
{
    switch (result) {
    case Result::Ok: return QStringLiteral("ok");
    case Result::MalformedReply: return QStringLiteral("the printer's reply was malformed");
    case Result::UsbFailed: return QStringLiteral("USB communication failed");
    case Result::UsbOpenFailed: return QStringLiteral("the USB printer could not be opened");
    case Result::NetworkFailed: return QStringLiteral("no answer on the network (time-out)");
    case Result::BluetoothFailed: return QStringLiteral("no answer over the Bluetooth link (time-out)");
    case Result::SerialFailed: return QStringLiteral("no answer on the serial line (time-out)");
    default: return QStringLiteral("error %1").arg(result);
    }
}

QString shownValue(const settings::Setting &s, const QString &value)
{
    if (s.secret)
        return QStringLiteral("(hidden, %1 characters)").arg(value.size());
    return value.isEmpty() && s.kind == settings::Kind::Text ? QStringLiteral("\"\"") : terminalText(value);
}

QJsonValue jsonValue(const settings::Setting &s, const QString &value)
{
    if (s.secret)
        return QJsonObject{{QStringLiteral("hidden"), true}, {QStringLiteral("length"), value.size()}};
    return profile::jsonValue(s, value);
}

QJsonValue jsonText(const QString &text)
{
    if (proto::holdsRawBytes(text))
        return QJsonObject{{QStringLiteral("hex"), QString::fromLatin1(proto::textBytes(text).toHex().toUpper())}};
    return text;
}

void printJson(QTextStream &out, const QJsonObject &object)
{
    out << QJsonDocument(object).toJson(QJsonDocument::Compact) << '\n' << Qt::flush;
}

ReportText reportText(const QJsonObject &r, bool diff)
{
    ReportText text;
    const QJsonArray changes = r.value(QLatin1String("changes")).toArray();
    for (const QJsonValue &c : changes) {
        const QJsonObject change = c.toObject();
        text.out << QStringLiteral("%1: %2 -> %3")
                        .arg(change.value(QLatin1String("key")).toString(), shownJson(change.value(QLatin1String("old"))),
                             shownJson(change.value(QLatin1String("new"))));
    }
    const bool read = !r.contains(QLatin1String("unread")) || r.value(QLatin1String("unread")).toObject().isEmpty();
    if (changes.isEmpty() && read && r.contains(QLatin1String("changes")))
        text.out << (diff ? QStringLiteral("no difference") : QStringLiteral("nothing to change"));
    for (const QJsonValue &s : r.value(QLatin1String("skipped")).toArray()) {
        text.out << QStringLiteral("skipped %1: %2")
                        .arg(s.toObject().value(QLatin1String("key")).toString(),
                             terminalText(s.toObject().value(QLatin1String("reason")).toString()));
    }
    for (const QJsonValue &f : r.value(QLatin1String("frames")).toArray())
        text.out << QStringLiteral("would send: %1").arg(f.toString());
    if (r.value(QLatin1String("restart_needed")).toBool()) {
        text.out << (r.value(QLatin1String("dry_run")).toBool()
                         ? QStringLiteral("these settings would take effect only after the printer restarts")
                         : QStringLiteral("restart the printer for these settings to take effect (or apply them with --restart)"));
    }
    if (r.value(QLatin1String("restarted")).toBool())
        text.out << QStringLiteral("restarted: the printer answered again");
    if (r.value(QLatin1String("verified")).toBool())
        text.out << QStringLiteral("verified: %1 values hold").arg(r.value(QLatin1String("values")).toInt());

    const QJsonObject unread = r.value(QLatin1String("unread")).toObject();
    for (auto it = unread.begin(); it != unread.end(); ++it)
        text.err << QStringLiteral("%1 could not be read: %2").arg(it.key(), it.value().toString());
    for (const QJsonValue &m : r.value(QLatin1String("mismatches")).toArray()) {
        const QJsonObject mismatch = m.toObject();
        text.err << QStringLiteral("%1 does not hold: expected %2, the printer has %3")
                        .arg(mismatch.value(QLatin1String("key")).toString(),
                             shownJson(mismatch.value(QLatin1String("expected"))),
                             shownJson(mismatch.value(QLatin1String("actual"))));
    }
    if (r.contains(QLatin1String("error")))
        text.err << terminalText(r.value(QLatin1String("error")).toString());
    return text;
}

QString summary(const QJsonObject &r)
{
    if (r.value(QLatin1String("ok")).toBool()) {
        QStringList keys;
        for (const QJsonValue &k : r.value(QLatin1String("changed")).toArray())
            keys << k.toString();
        const bool dry = r.value(QLatin1String("dry_run")).toBool();
        if (keys.isEmpty())
            return dry ? QStringLiteral("ok, nothing would change") : QStringLiteral("ok, nothing changed");
        return QStringLiteral("ok, %1 %2").arg(dry ? QStringLiteral("would change") : QStringLiteral("changed"),
                                              keys.join(QLatin1String(", ")));
    }
    QStringList parts;
    if (r.contains(QLatin1String("error")))
        parts << terminalText(r.value(QLatin1String("error")).toString());
    for (const QJsonValue &m : r.value(QLatin1String("mismatches")).toArray())
        parts << QStringLiteral("%1 does not hold").arg(m.toObject().value(QLatin1String("key")).toString());
    return QStringLiteral("FAILED: %1").arg(parts.isEmpty() ? QStringLiteral("no result") : parts.join(QLatin1String("; ")));
}

} // namespace cli

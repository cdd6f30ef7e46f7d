#include "protocol/settings_profile.h"

#include "protocol/conversions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>
#include <cmath>

namespace profile {

namespace {

QString jsonString(const QString &text)
{
    // QJsonDocument writes a lone string value as a one-element array;
    // cut the brackets off for the string literal itself.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

bool isNumeric(settings::Kind kind)
{
    return kind == settings::Kind::Number || kind == settings::Kind::Decimal;
}

// A JSON string with a lone surrogate ("\ud800") is no text; bytes that are
// not UTF-8 are written as {"hex": ...}, never so.
bool wellFormed(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}

} // namespace

QJsonValue jsonValue(const settings::Setting &s, const QString &value)
{
    if (s.kind == settings::Kind::Number)
        return value.toLongLong();
    if (s.kind == settings::Kind::Decimal)
        return value.toDouble();
    if (proto::holdsRawBytes(value))
        return QJsonObject{{QStringLiteral("hex"), QString::fromLatin1(proto::textBytes(value).toHex().toUpper())}};
    return value;
}

bool selected(const settings::Setting &setting, const Selection &selection)
{
    return setting.writable() && (selection.secrets || !setting.secret) && (selection.identity || !setting.identity);
}

QByteArray toJson(const Profile &profile)
{
    QString out;
    out += QStringLiteral("{\n  \"format\": \"%1\",\n  \"version\": %2,\n").arg(QLatin1String(kFormat)).arg(kVersion);
    out += QStringLiteral("  \"information\": {\n    \"model\": %1,\n    \"dots_per_mm\": %2\n  },\n")
               .arg(jsonString(profile.model), QString::number(profile.dotsPerMm));
    out += QStringLiteral("  \"settings\": {");
    QStringList lines;
    for (const settings::Setting &s : settings::catalogue()) {
        if (!profile.values.contains(s.key))
            continue;
        const QString value = profile.values.value(s.key);
        QString written = isNumeric(s.kind) ? value : jsonString(value);
        if (const QJsonValue v = jsonValue(s, value); v.isObject())
            written = QStringLiteral("{\"hex\": \"%1\"}").arg(v.toObject().value(QLatin1String("hex")).toString());
        lines << QStringLiteral("\n    \"%1\": %2").arg(s.key, written);
    }
    out += lines.join(QLatin1Char(','));
    out += lines.isEmpty() ? QStringLiteral("}\n}\n") : QStringLiteral("\n  }\n}\n");
    return out.toUtf8();
}

Loaded fromJson(const QByteArray &json, const QString &fileName)
{
    Loaded loaded;
    const auto refuse = [&](const QString &why) {
        loaded.error = QStringLiteral("%1: %2").arg(fileName, why);
        return loaded;
    };
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return refuse(QStringLiteral("not JSON (%1 at offset %2)").arg(parseError.errorString()).arg(parseError.offset));
    if (!doc.isObject())
        return refuse(QStringLiteral("not a profile (the document is not an object)"));
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("format")).toString() != QLatin1String(kFormat))
        return refuse(QStringLiteral("not a profile (format is not \"%1\")").arg(QLatin1String(kFormat)));
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() != kVersion)
        return refuse(QStringLiteral("profile version %1 is not supported (this tool reads version %2)")
                          .arg(version.toVariant().toString(), QString::number(kVersion)));
    const QJsonObject info = root.value(QLatin1String("information")).toObject();
    loaded.profile.model = info.value(QLatin1String("model")).toString();
    loaded.profile.dotsPerMm = info.value(QLatin1String("dots_per_mm")).toInt();
    const QJsonValue settingsValue = root.value(QLatin1String("settings"));
    if (!settingsValue.isObject())
        return refuse(QStringLiteral("\"settings\" is missing or not an object"));
    const QJsonObject values = settingsValue.toObject();
    for (auto it = values.begin(); it != values.end(); ++it) {
        const settings::Setting *s = settings::find(it.key());
        if (!s)
            return refuse(QStringLiteral("%1: unknown key").arg(it.key()));
        if (!s->writable())
            return refuse(QStringLiteral("%1: read only").arg(it.key()));
        const QJsonValue v = it.value();
        QString text;
        if (isNumeric(s->kind)) {
            if (!v.isDouble())
                return refuse(QStringLiteral("%1: a number is expected").arg(it.key()));
            text = s->kind == settings::Kind::Decimal ? QString::number(v.toDouble(), 'f', 3)
                                                      : QString::number(v.toDouble(), 'f', 0);
            // Whole without a cast: a number beyond 64 bits (4.56e47) is
            // whole too, and the check below refuses it by its range.
            if (s->kind == settings::Kind::Number && std::trunc(v.toDouble()) != v.toDouble())
                return refuse(QStringLiteral("%1: a whole number is expected").arg(it.key()));
        } else if (s->kind == settings::Kind::Text && v.isObject()) {
            const QJsonObject o = v.toObject();
            const QString hex = o.value(QLatin1String("hex")).toString();
            static const QRegularExpression hexDigits(QStringLiteral("^(?:[0-9A-Fa-f]{2})*$"));
            if (o.size() != 1 || !o.value(QLatin1String("hex")).isString() || !hexDigits.match(hex).hasMatch())
                return refuse(QStringLiteral("%1: {\"hex\": ...} holds an even number of hexadecimal digits").arg(it.key()));
            text = proto::losslessText(QByteArray::fromHex(hex.toLatin1()));
        } else {
            if (!v.isString())
                return refuse(QStringLiteral("%1: a string is expected").arg(it.key()));
            text = v.toString();
            if (!wellFormed(text))
                return refuse(QStringLiteral("%1: not a text (write bytes that are not UTF-8 as {\"hex\": ...})")
                                  .arg(it.key()));
        }
        QString error;
        QString canonical;
        for (const settings::Model &model : settings::everyModel()) {
            if (!settings::appliesTo(*s, model))
                continue;
            const settings::Checked checked = settings::check(*s, text, model);
            if (checked.ok()) {
                canonical = checked.value;
                error.clear();
                break;
            }
            if (error.isEmpty())
                error = checked.error;
        }
        if (!error.isEmpty())
            return refuse(QStringLiteral("%1: %2").arg(it.key(), error));
        // A length stays as written: each printer turns it into its own
        // dots when it is applied.
        loaded.profile.values.insert(s->key, s->kind == settings::Kind::Decimal ? text : canonical);
    }
    return loaded;
}

bool holdsStaticAddress(const Profile &profile)
{
    const settings::Values &v = profile.values;
    const auto staticBlock = [&v](const char *address, const char *mode) {
        return v.contains(QLatin1String(address)) && v.value(QLatin1String(mode)) != QLatin1String("dhcp");
    };
    return staticBlock("ip.address", "ip.mode") || staticBlock("ethernet.address", "ethernet.mode");
}

QList<Change> diff(const settings::Values &printer, const settings::Values &wanted, const settings::Model &model)
{
    QList<Change> changes;
    for (const settings::Setting &s : settings::catalogue()) {
        if (!wanted.contains(s.key) || !settings::appliesTo(s, model))
            continue;
        const QString after = wanted.value(s.key);
        if (!printer.contains(s.key) || printer.value(s.key) != after)
            changes << Change{s.key, printer.contains(s.key) ? printer.value(s.key) : QString(), after};
    }
    return changes;
}

} // namespace profile

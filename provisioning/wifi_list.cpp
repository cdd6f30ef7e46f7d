#include "provisioning/wifi_list.h"

#include <QDebug>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>

namespace {

QRegularExpression dotAll(const QString &pattern)
{
    return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption);
}

// The property list writes "&", "<" and ">" in names as XML references
// ("A&amp;B" is the network "A&B"). The five predefined entities and
// character references are decoded; a reference to no character (0, a
// surrogate, beyond U+10FFFF) or any other "&" stays as written.
QString decodeXmlReferences(const QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    static const QRegularExpression reference(
        QStringLiteral("&(?:#x([0-9A-Fa-f]{1,6})|#([0-9]{1,7})|(amp|lt|gt|quot|apos));"));
    static const QHash<QString, QChar> entities{{QStringLiteral("amp"), u'&'}, {QStringLiteral("lt"), u'<'},
                                                {QStringLiteral("gt"), u'>'}, {QStringLiteral("quot"), u'"'},
                                                {QStringLiteral("apos"), u'\''}};
    QString decoded;
    qsizetype done = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        decoded += QStringView(text).mid(done, m.capturedStart() - done);
        done = m.capturedEnd();
        if (m.hasCaptured(3)) {
            decoded += entities.value(m.captured(3));
            continue;
        }
        const char32_t code = m.hasCaptured(1) ? m.captured(1).toUInt(nullptr, 16) : m.captured(2).toUInt();
        const bool character = code != 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        decoded += character ? QString::fromUcs4(&code, 1) : m.captured(0);
    }
    decoded += QStringView(text).mid(done);
    return decoded;
}

// The name in the first group of `pattern` in `text`, decoded and trimmed;
// empty when it does not match.
QString firstGroup(const QRegularExpression &pattern, const QString &text)
{
    const QRegularExpressionMatch m = pattern.match(text);
    return m.hasMatch() ? decodeXmlReferences(m.captured(1)).trimmed() : QString();
}

// A number as the profiler writes it; 0 when it is not one or does not fit
// 32 bits.
int strengthOf(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

} // namespace

QList<WifiInfo> parseSystemProfilerOutput(const QString &xml)
{
    QList<WifiInfo> networks;
    if (xml.trimmed().isEmpty())
        return networks;

    static const QRegularExpression current = dotAll(
        QStringLiteral("<key>spairport_current_network_information</key>\\s*<dict>(.*?)</dict>"));
    static const QRegularExpression name(QStringLiteral("<key>_name</key>\\s*<string>([^<]+)</string>"));
    static const QRegularExpression ssidStr(QStringLiteral("<key>SSID_STR</key>\\s*<string>([^<]+)</string>"));
    static const QRegularExpression ssid(QStringLiteral("<key>SSID</key>\\s*<string>([^<]+)</string>"));
    static const QRegularExpression signalNoise(
        QStringLiteral("<key>spairport_signal_noise</key>\\s*<string>([^<]+)</string>"));
    static const QRegularExpression dbm(QStringLiteral("(-?\\d+)\\s*dBm"));
    static const QRegularExpression rssi(QStringLiteral("<key>RSSI</key>\\s*<integer>([^<]+)</integer>"));
    static const QRegularExpression entry = dotAll(QStringLiteral("<dict>(.*?)</dict>"));

    QString connected;
    const QRegularExpressionMatch currentMatch = current.match(xml);
    if (currentMatch.hasMatch()) {
        connected = firstGroup(name, currentMatch.captured(1));
        qDebug() << "当前连接的 WiFi:" << connected;
    }

    // Newer systems list the connected network apart and the others under
    // "other"; older ones list them all together.
    struct Array { QString key; bool needsConnected; };
    static const Array arrays[] = {{QStringLiteral("spairport_airport_other_local_wireless_networks"), true},
                                   {QStringLiteral("spairport_airport_local_wireless_networks"), false},
                                   {QStringLiteral("spairport_wireless_networks"), false}};
    QString arrayText;
    bool arrayFound = false;
    for (const Array &array : arrays) {
        if (array.needsConnected && connected.isEmpty())
            continue;
        const QRegularExpressionMatch m
            = dotAll(QStringLiteral("<key>%1</key>\\s*<array>(.*?)</array>").arg(array.key)).match(xml);
        if (m.hasMatch()) {
            arrayText = m.captured(1);
            arrayFound = true;
            qDebug().noquote() << "使用" << array.key;
            break;
        }
    }

    bool connectedSeen = false;
    if (arrayFound) {
        for (auto it = entry.globalMatch(arrayText); it.hasNext();) {
            const QString dict = it.next().captured(1);
            WifiInfo info;
            info.ssid = firstGroup(name, dict);
            if (info.ssid.isEmpty())
                info.ssid = firstGroup(ssidStr, dict);
            if (info.ssid.isEmpty())
                continue;
            const QRegularExpressionMatch noise = signalNoise.match(dict);
            const QRegularExpressionMatch level = rssi.match(dict);
            if (noise.hasMatch()) {
                const QRegularExpressionMatch number = dbm.match(noise.captured(1));
                info.rssi = number.hasMatch() ? strengthOf(number.captured(1)) : -100;
            } else if (level.hasMatch()) {
                info.rssi = strengthOf(level.captured(1));
            }
            info.isCurrent = info.ssid == connected;
            connectedSeen = connectedSeen || info.isCurrent;
            networks.append(info);
            qDebug() << "找到: 【" << info.ssid << "】, 信号强度:" << info.rssi << "dBm, 当前连接:" << info.isCurrent;
        }
    } else {
        qDebug() << "未找到WiFi网络列表，可能XML结构不同";
        for (auto it = entry.globalMatch(xml); it.hasNext();) {
            const QString dict = it.next().captured(1);
            WifiInfo info;
            info.ssid = firstGroup(ssid, dict);
            if (info.ssid.isEmpty())
                continue;
            const QRegularExpressionMatch level = rssi.match(dict);
            if (level.hasMatch())
                info.rssi = strengthOf(level.captured(1));
            info.isCurrent = info.ssid == connected;
            networks.append(info);
            qDebug() << "通过SSID键找到: 【" << info.ssid << "】, 信号强度:" << info.rssi << "dBm";
        }
    }

    if (!connected.isEmpty() && !connectedSeen) {
        networks.append({connected, 1, true, {}});
        qDebug() << "追加当前连接";
    }
    return networks;
}

QList<WifiInfo> uniqueNetworks(const QList<WifiInfo> &networks)
{
    QMap<QByteArray, WifiInfo> byName;
    for (const WifiInfo &info : networks) {
        const auto kept = byName.find(info.bytes());
        if (kept == byName.end())
            byName.insert(info.bytes(), info);
        else if ((info.isCurrent && !kept->isCurrent) || (info.isCurrent == kept->isCurrent && info.rssi > kept->rssi))
            *kept = info;
    }
    return byName.values();
}

void sortWifiList(QList<WifiInfo> &list)
{
    std::sort(list.begin(), list.end(), [](const WifiInfo &a, const WifiInfo &b) {
        if (a.isCurrent != b.isCurrent)
            return a.isCurrent;
        return a.rssi > b.rssi;
    });
}

WifiInfo networkFromBytes(const QByteArray &ssid, int rssi, bool isCurrent)
{
    const QString decoded = QString::fromUtf8(ssid);
    qsizetype front = 0, back = decoded.size();
    while (front < back && decoded.at(front).isSpace())
        ++front;
    while (back > front && decoded.at(back - 1).isSpace())
        --back;
    // White space decodes only from valid UTF-8, so in the bytes it takes
    // just as many as its own encoding.
    const qsizetype frontBytes = decoded.left(front).toUtf8().size();
    const qsizetype backBytes = decoded.mid(back).toUtf8().size();
    WifiInfo info{decoded.mid(front, back - front), rssi, isCurrent, {}};
    const QByteArray bytes = ssid.mid(frontBytes, ssid.size() - frontBytes - backBytes);
    if (bytes != info.ssid.toUtf8())
        info.ssidBytes = bytes;
    return info;
}

int percentToDbm(int percent)
{
    return percent / 2 - 100;
}

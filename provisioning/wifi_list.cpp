#include "provisioning/wifi_list.h"

#include <QDebug>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>

namespace {

QRegularExpression dotAll(const QString &pattern)
{
    return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption);
}

// The trimmed first group of `pattern` in `text`; empty when it does not match.
QString firstGroup(const QRegularExpression &pattern, const QString &text)
{
    const QRegularExpressionMatch m = pattern.match(text);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
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
        networks.append({connected, 1, true});
        qDebug() << "追加当前连接";
    }
    return networks;
}

QList<WifiInfo> uniqueNetworks(const QList<WifiInfo> &networks)
{
    QMap<QString, WifiInfo> byName;
    for (const WifiInfo &info : networks) {
        const auto kept = byName.find(info.ssid);
        if (kept == byName.end())
            byName.insert(info.ssid, info);
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

int percentToDbm(int percent)
{
    return percent / 2 - 100;
}

// The system profiler's XML of visible Wi-Fi networks: every network the
// parser yields has a name, trimmed, with "<" only where the text wrote a
// reference; the list the window shows from it names each network once,
// the connected one first, the rest strongest first. And the decoding: a
// name written with references (entities or character references, as the
// input's bytes choose) comes back as that name.
#include "fuzz_check.h"
#include "provisioning/wifi_list.h"

#include <QSet>

namespace {

void checkDecoding(const uint8_t *data, size_t size)
{
    const QString name = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).trimmed();
    if (name.isEmpty())
        return;
    static const QHash<char32_t, QString> entities{{U'&', QStringLiteral("&amp;")}, {U'<', QStringLiteral("&lt;")},
                                                   {U'>', QStringLiteral("&gt;")}};
    QString written;
    const QList<uint> points = name.toUcs4();
    for (qsizetype i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        const uint8_t choice = data[size_t(i) % size];
        if (entities.contains(c) && (choice & 1))
            written += entities.value(c);
        else if (entities.contains(c) || (c != 0 && (choice & 2)))
            written += (choice & 4) ? QStringLiteral("&#x%1;").arg(uint(c), 0, 16) : QStringLiteral("&#%1;").arg(uint(c));
        else
            written += QString::fromUcs4(&c, 1);
    }
    const QString xml = QStringLiteral("<key>spairport_airport_local_wireless_networks</key><array><dict>"
                                       "<key>_name</key><string>%1</string></dict></array>").arg(written);
    const QList<WifiInfo> found = parseSystemProfilerOutput(xml);
    FUZZ_CHECK(found.size() == 1 && found[0].ssid == name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzQuiet();
    const QString xml = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<WifiInfo> found = parseSystemProfilerOutput(xml);
    QSet<QString> names;
    for (const WifiInfo &info : found) {
        FUZZ_CHECK(!info.ssid.isEmpty() && info.ssid == info.ssid.trimmed());
        FUZZ_CHECK(!info.ssid.contains(QLatin1Char('<')) || xml.contains(QLatin1Char('&')));
        names.insert(info.ssid);
    }

    QList<WifiInfo> shown = uniqueNetworks(found);
    sortWifiList(shown);
    FUZZ_CHECK(shown.size() == names.size());
    QSet<QString> seen;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        FUZZ_CHECK(!seen.contains(shown[i].ssid));
        seen.insert(shown[i].ssid);
        if (i == 0)
            continue;
        const WifiInfo &before = shown[i - 1];
        FUZZ_CHECK(before.isCurrent || !shown[i].isCurrent);
        FUZZ_CHECK(before.isCurrent != shown[i].isCurrent || before.rssi >= shown[i].rssi);
    }

    checkDecoding(data, size);
    return 0;
}

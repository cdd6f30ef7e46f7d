// The system profiler's XML of visible Wi-Fi networks: every network the
// parser yields has a name, trimmed and free of markup; the list the
// window shows from it names each network once, the connected one first,
// the rest strongest first.
#include "fuzz_check.h"
#include "provisioning/wifi_list.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzQuiet();
    const QString xml = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<WifiInfo> found = parseSystemProfilerOutput(xml);
    QSet<QString> names;
    for (const WifiInfo &info : found) {
        FUZZ_CHECK(!info.ssid.isEmpty() && info.ssid == info.ssid.trimmed());
        FUZZ_CHECK(!info.ssid.contains(QLatin1Char('<')));
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
    return 0;
}

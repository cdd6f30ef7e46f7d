// The list the provisioning window shows, from the system profiler's XML:
// which entries count, their strengths, the connected network, one entry
// per name and the order; names written with XML references.
#include "provisioning/wifi_list.h"

#include <QFile>
#include <QTest>

class WifiList : public QObject
{
    Q_OBJECT
private slots:
    void systemProfiler_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");   // name:rssi, "*" marks the connected one
        QTest::newRow("connected also among the others") << "connected_listed.xml" << "*Office:-60 Cafe:-40";
        QTest::newRow("connected missing from the array") << "connected_missing.xml" << "*Home:1 Cafe:-40 Lab:-61";
        QTest::newRow("duplicates, case, SSID_STR, no strength")
            << "local_networks.xml" << "Lab:-50 Str:-55 lab:-80 Quiet:-100";
        QTest::newRow("no array: SSID keys only") << "no_array.xml" << "Old:-65";
        // References decoded; one to no character, or an unknown entity, stays as written.
        QTest::newRow("entities") << "entities.xml" << "*A&B:-50 <Lab> 打印 &amp; &#0; &nbsp;:-60";
    }
    void systemProfiler()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        QFile xml(QStringLiteral(LPS_WIFI_DATA "/") + file);
        QVERIFY(xml.open(QIODevice::ReadOnly));
        QList<WifiInfo> list = uniqueNetworks(parseSystemProfilerOutput(QString::fromUtf8(xml.readAll())));
        sortWifiList(list);
        QStringList shown;
        for (const WifiInfo &w : list)
            shown << QStringLiteral("%1%2:%3").arg(w.isCurrent ? "*" : "", w.ssid).arg(w.rssi);
        QCOMPARE(shown.join(' '), expected);
    }
};

QTEST_GUILESS_MAIN(WifiList)
#include "tst_wifi_list.moc"

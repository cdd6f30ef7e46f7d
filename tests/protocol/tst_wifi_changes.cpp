// Which Wi-Fi instructions a set sends after which change of the page, and
// when the AP pass phrase is too short for the set to go ahead.
#include "pages/wifi_changes.h"

#include <QRegularExpression>
#include <QTest>

using Page = WifiSettingsSnapshot;
Q_DECLARE_METATYPE(WifiSettingsSnapshot)

class TestWifiChanges : public QObject
{
    Q_OBJECT

private slots:
    // The page against the snapshot of a station-mode, static read: the
    // instructions a set sends, and whether it needs a longer AP pass
    // phrase (7 or 8 characters of 3 bytes each: characters count).
    void changes_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<bool>("apRefused");
        const QString seven = QString::fromUtf8("一二三四五六七");
        QTest::newRow("nothing") << Page{.wifiMode = 0, .ipMode = 0} << "" << false;
        QTest::newRow("IP mode") << Page{.wifiMode = 0, .ipMode = 1} << "ip" << false;
        QTest::newRow("DNS") << Page{.wifiMode = 0, .ipMode = 0, .dns = "8.8.8.8"} << "ip" << false;
        QTest::newRow("AP, 7") << Page{.wifiMode = 1, .ipMode = 0, .apPassword = seven} << "mode network" << true;
        QTest::newRow("STA, 7") << Page{.wifiMode = 0, .ipMode = 0, .apPassword = seven} << "network" << false;
    }
    void changes()
    {
        QFETCH(Page, page);
        QFETCH(QString, sent);
        QFETCH(bool, apRefused);
        const WifiChanges c = wifiChanges(Page{.wifiMode = 0, .ipMode = 0}, page);
        const QStringList names = {c.mode ? "mode" : "", c.credentials ? "network" : "", c.port ? "port" : "",
                                   c.ip ? "ip" : ""};
        QCOMPARE(names.filter(QRegularExpression(".")).join(' '), sent);
        QCOMPARE(c.any(), !sent.isEmpty());
        QCOMPARE(apPasswordTooShort(c, page.wifiMode == 1, page.apPassword), apRefused);
    }
};

QTEST_GUILESS_MAIN(TestWifiChanges)
#include "tst_wifi_changes.moc"

// The settings catalogue and the profiles at their edges: the profile
// loader judges numbers of any size without undefined arithmetic.
#include "protocol/settings_catalogue.h"
#include "protocol/settings_profile.h"

#include <QTest>

class TestSettingsCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void profileNumbers_data()
    {
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<QString>("error");   // empty: loads
        QTest::newRow("port") << QByteArray("9100") << QString();
        QTest::newRow("fraction") << QByteArray("9100.5") << "p.json: ethernet.tcp_port: a whole number is expected";
        QTest::newRow("beyond 64 bits") << QByteArray("4.56e47")
                                        << "p.json: ethernet.tcp_port: The range of ethernet.tcp_port is 0 ~ 65535";
        QTest::newRow("below 64 bits") << QByteArray("-1e300")
                                       << "p.json: ethernet.tcp_port: The range of ethernet.tcp_port is 0 ~ 65535";
    }

    void profileNumbers()
    {
        QFETCH(QByteArray, number);
        QFETCH(QString, error);
        const QByteArray json = R"({"format":"labelsetup-profile","version":1,"settings":{"ethernet.tcp_port":)" + number + "}}";
        QCOMPARE(profile::fromJson(json, QStringLiteral("p.json")).error, error);
    }
};

QTEST_GUILESS_MAIN(TestSettingsCatalogue)
#include "tst_settings_catalogue.moc"

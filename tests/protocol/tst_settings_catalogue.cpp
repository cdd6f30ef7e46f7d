// The settings catalogue and the profiles at their edges: what a printer
// reports comes back through the same setting's check unchanged, a checked
// value is its own canonical form, texts keep their bytes, and the profile
// loader judges numbers of any size without undefined arithmetic.
#include "protocol/conversions.h"
#include "protocol/settings_catalogue.h"
#include "protocol/settings_profile.h"

#include <QTest>

Q_DECLARE_METATYPE(SetInfoType)

class TestSettingsCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void decodeChecksBack_data()
    {
        QTest::addColumn<SetInfoType>("code");
        QTest::addColumn<int>("mmToDot");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");   // null: the key is left out
        QTest::newRow("speed in the combo") << SPEED << 8 << QByteArray::fromHex("03") << "print.speed" << "3";
        QTest::newRow("speed beyond the combo") << SPEED << 8 << QByteArray::fromHex("2f") << "print.speed" << QString();
        QTest::newRow("gap of 31 dots at 12") << LABLE_CLEARANCE << 12 << QByteArray::fromHex("1f00") << "print.label_gap_mm" << "2.583";
        QTest::newRow("offset of -1 dot at 12") << PRINT_OFFSET << 12 << QByteArray::fromHex("ffff") << "print.offset_mm" << "-0.083";
    }

    void decodeChecksBack()
    {
        QFETCH(SetInfoType, code);
        QFETCH(int, mmToDot);
        QFETCH(QByteArray, payload);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const settings::Model model{mmToDot, false};
        QByteArray buffer(1024, '\0');
        buffer.replace(0, payload.size(), payload);
        const settings::Values values =
            settings::decode(code, reinterpret_cast<const unsigned char *>(buffer.constData()), int(payload.size()), model);
        QCOMPARE(values.value(key), value);
        QCOMPARE(values.contains(key), !value.isNull());
        if (!value.isNull()) {
            const settings::Checked back = settings::check(*settings::find(key), value, model);
            QCOMPARE(back.error, QString());
            QCOMPARE(back.value, value);
        }
    }

    void checkIsCanonical_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("mmToDot");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("value");
        QTest::newRow("gap at the top at 8") << "print.label_gap_mm" << 8 << "8191.875" << "8191.875";
        QTest::newRow("gap of 2.583 mm at 8") << "print.label_gap_mm" << 8 << "2.583" << "2.625";
        QTest::newRow("label width at its bottom at 12") << "print.label_width_mm" << 12 << "19.96" << "20.000";
        QTest::newRow("offset minus zero") << "print.offset_mm" << 8 << "-0" << "0.000";
        QTest::newRow("address with leading zeros") << "ip.address" << 8 << "010.0.0.1" << "10.0.0.1";
    }

    void checkIsCanonical()
    {
        QFETCH(QString, key);
        QFETCH(int, mmToDot);
        QFETCH(QString, input);
        QFETCH(QString, value);
        const settings::Setting &s = *settings::find(key);
        const settings::Model model{mmToDot, false};
        const settings::Checked checked = settings::check(s, input, model);
        QCOMPARE(checked.error, QString());
        QCOMPARE(checked.value, value);
    }

    // Printer texts keep their bytes, UTF-8 or not.
    void losslessText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("raw");
        QTest::newRow("UTF-8") << QByteArray("Caf\xc3\xa9 \xf0\x9f\x96\xa8") << false;
        QTest::newRow("GBK") << QByteArray::fromHex("c4e3bac3") << true;
        QTest::newRow("cut short") << QByteArray("ab\xe4\xb8") << true;
    }

    void losslessText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, raw);
        const QString text = proto::losslessText(bytes);
        QCOMPARE(proto::holdsRawBytes(text), raw);
        QCOMPARE(proto::textBytes(text), bytes);
    }

    void profileNumbers_data()
    {
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<QString>("error");   // empty: loads
        QTest::newRow("port") << QByteArray("9100") << QString();
        QTest::newRow("fraction") << QByteArray("9100.5") << "p.json: ethernet.tcp_port: a whole number is expected";
        QTest::newRow("beyond 64 bits") << QByteArray("4.56e47")
                                        << "p.json: ethernet.tcp_port: The range of ethernet.tcp_port is 1 ~ 65535";
        QTest::newRow("below 64 bits") << QByteArray("-1e300")
                                       << "p.json: ethernet.tcp_port: The range of ethernet.tcp_port is 1 ~ 65535";
    }

    void profileNumbers()
    {
        QFETCH(QByteArray, number);
        QFETCH(QString, error);
        const QByteArray json = R"({"format":"labelsetup-profile","version":1,"settings":{"ethernet.tcp_port":)" + number + "}}";
        QCOMPARE(profile::fromJson(json, QStringLiteral("p.json")).error, error);
    }

    // A model name is the printer's own text: a "%2" in it stays as it is.
    void profileModelNameSavedAsIs()
    {
        const profile::Profile saved{QStringLiteral("ZD-N48%2"), 12, {{QStringLiteral("print.offset_mm"), QStringLiteral("-3")}}};
        const profile::Loaded loaded = profile::fromJson(profile::toJson(saved), QStringLiteral("p.json"));
        QCOMPARE(loaded.error, QString());
        QCOMPARE(std::tuple(loaded.profile.model, loaded.profile.dotsPerMm), std::tuple(saved.model, 12));
    }
};

QTEST_GUILESS_MAIN(TestSettingsCatalogue)
#include "tst_settings_catalogue.moc"

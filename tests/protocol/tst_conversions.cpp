// Text and number conversions between the fields and the printer's units.
#include "protocol/conversions.h"

#include <QLocale>
#include <QTest>
#include <climits>

using namespace proto;

class TestConversions : public QObject
{
    Q_OBJECT

private slots:
    void ports_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("port");
        QTest::newRow("default TCP") << "9100" << 9100;
        QTest::newRow("discovery") << "38400" << 38400;
        QTest::newRow("largest") << "65535" << 65535;
        QTest::newRow("one above") << "65536" << 0;
        QTest::newRow("70000") << "70000" << 0;
        QTest::newRow("negative") << "-1" << 0;
        QTest::newRow("text") << "abc" << 0;
        QTest::newRow("digits then text") << "91x" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("hex is not decimal") << "0x10" << 0;
    }
    void ports()
    {
        QFETCH(QString, text);
        QFETCH(int, port);
        QCOMPARE(int(parsePort(text)), port);
    }

    void integers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "12" << 12;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("max") << "2147483647" << INT_MAX;
        QTest::newRow("min") << "-2147483648" << INT_MIN;
        QTest::newRow("above 32 bits") << "2147483648" << 0;
        QTest::newRow("below 32 bits") << "-2147483649" << 0;
        QTest::newRow("text") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("decimal") << "1.5" << 0;
    }
    void integers()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(parseInteger(text), value);
    }

    void le16_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("asSigned");
        QTest::addColumn<int>("asUnsigned");
        QTest::newRow("24") << qint64(24) << QByteArray::fromHex("1800") << 24 << 24;
        QTest::newRow("-1") << qint64(-1) << QByteArray::fromHex("ffff") << -1 << 65535;
        QTest::newRow("-8") << qint64(-8) << QByteArray::fromHex("f8ff") << -8 << 65528;
        QTest::newRow("5000") << qint64(5000) << QByteArray::fromHex("8813") << 5000 << 5000;
        QTest::newRow("9100") << qint64(9100) << QByteArray::fromHex("8c23") << 9100 << 9100;
        QTest::newRow("32767") << qint64(32767) << QByteArray::fromHex("ff7f") << 32767 << 32767;
        QTest::newRow("32768 wraps signed") << qint64(32768) << QByteArray::fromHex("0080")
                                            << -32768 << 32768;
        QTest::newRow("65536 low bits") << qint64(65536) << QByteArray::fromHex("0000") << 0 << 0;
        QTest::newRow("66000 ms") << qint64(66000) << QByteArray::fromHex("d001") << 464 << 464;
    }
    void le16()
    {
        QFETCH(qint64, value);
        QFETCH(QByteArray, bytes);
        QFETCH(int, asSigned);
        QFETCH(int, asUnsigned);
        QByteArray out("x");
        appendLe16(out, value);
        QCOMPARE(out, QByteArray("x") + bytes);
        const auto *raw = reinterpret_cast<const unsigned char *>(bytes.constData());
        QCOMPARE(int(readLeS16(raw)), asSigned);
        QCOMPARE(int(readLeU16(raw)), asUnsigned);
    }

    void le32()
    {
        const QByteArray word = QByteArray::fromHex("80000001");
        QCOMPARE(readLeU32(reinterpret_cast<const unsigned char *>(word.constData())),
                 quint32(0x01000080));
    }

    void dotsToMm_data()
    {
        QTest::addColumn<int>("dots");
        QTest::addColumn<int>("mmToDot");
        QTest::addColumn<QString>("text");
        QTest::newRow("400 at 8") << 400 << 8 << "50.0";
        QTest::newRow("800 at 8") << 800 << 8 << "100.0";
        QTest::newRow("1 dot") << 1 << 8 << "0.1";
        QTest::newRow("7 at 12 truncates") << 7 << 12 << "0.5";
        QTest::newRow("0") << 0 << 8 << "0.0";
        QTest::newRow("negative truncates toward zero") << -1 << 8 << "-0.1";
        QTest::newRow("largest signed") << 32767 << 8 << "4095.8";
        QTest::newRow("factor 0") << 400 << 0 << "0.0";
    }
    void dotsToMm()
    {
        QFETCH(int, dots);
        QFETCH(int, mmToDot);
        QFETCH(QString, text);
        QCOMPARE(dotsToMmText(dots, mmToDot), text);
    }

    void divide_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("divisor");
        QTest::addColumn<int>("quotient");
        QTest::newRow("gap 24 at 8") << 24 << 8 << 3;
        QTest::newRow("gap 24 at 12") << 24 << 12 << 2;
        QTest::newRow("offset -12 at 8") << -12 << 8 << -1;
        QTest::newRow("distance -3 at 8") << -3 << 8 << 0;
        QTest::newRow("48 at 12") << 48 << 12 << 4;
        QTest::newRow("divisor 0") << 24 << 0 << 0;
        QTest::newRow("overflowing quotient") << INT_MIN << -1 << INT_MAX;
    }
    void divide()
    {
        QFETCH(int, value);
        QFETCH(int, divisor);
        QFETCH(int, quotient);
        QCOMPARE(divideTowardZero(value, divisor), quotient);
    }

    void dottedQuad_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("address") << QByteArray::fromHex("c0a80164") << "192.168.1.100";
        QTest::newRow("mask") << QByteArray::fromHex("ffffff00") << "255.255.255.0";
        QTest::newRow("zero") << QByteArray::fromHex("00000000") << "0.0.0.0";
    }
    void dottedQuad()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(dottedQuadText(reinterpret_cast<const unsigned char *>(bytes.constData())), text);
        QList<int> expected;
        for (const char b : bytes)
            expected.append(quint8(b));
        QCOMPARE(dottedQuadValues(text), expected);
    }

    void dottedQuadPieces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("empty part") << "10.0..1" << QList<int>{10, 0, 0, 1};
        QTest::newRow("empty mask text") << "..." << QList<int>{0, 0, 0, 0};
        QTest::newRow("part above 255 kept") << "300.1.2.3" << QList<int>{300, 1, 2, 3};
        QTest::newRow("not a number") << "a.b.1.2" << QList<int>{0, 0, 1, 2};
    }
    void dottedQuadPieces()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, values);
        QCOMPARE(dottedQuadValues(text), values);
    }

    // First attempt in the C locale, so the result does not depend on the
    // machine running the test.
    void flexibleDouble_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12.5" << true << 12.5;
        QTest::newRow("integer") << "30" << true << 30.0;
        QTest::newRow("negative") << "-3.5" << true << -3.5;
        QTest::newRow("full-width comma") << QString::fromUtf8("12，5") << true << 12.5;
        QTest::newRow("ideographic stop") << QString::fromUtf8("12。5") << true << 12.5;
        QTest::newRow("full-width stop") << QString::fromUtf8("12．5") << true << 12.5;
        QTest::newRow("lone comma") << "12,5" << true << 12.5;
        QTest::newRow("blank grouping") << "1 234.5" << true << 1234.5;
        QTest::newRow("no-break space") << QString::fromUtf8("1\u00A0234.5") << true << 1234.5;
        QTest::newRow("narrow no-break space") << QString::fromUtf8("1\u202F234.5") << true << 1234.5;
        QTest::newRow("apostrophe") << "1'234.5" << true << 1234.5;
        QTest::newRow("underscore") << "1_234" << true << 1234.0;
        QTest::newRow("surrounding blanks") << "  40  " << true << 40.0;
        QTest::newRow("text") << "abc" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("unit") << "50mm" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
        QTest::newRow("inf") << "inf" << false << 0.0;
    }
    void flexibleDouble()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        double got = -99;
        QCOMPARE(parseFlexibleDouble(text, got, QLocale::c()), ok);
        if (ok)
            QCOMPARE(got, value);
    }

    // The operator's own locale is tried first: with a German locale the
    // comma is the decimal point and the full stop groups.
    void flexibleDoubleLocaleFirst()
    {
        const QLocale german(QLocale::German, QLocale::Germany);
        double value = 0;
        QVERIFY(parseFlexibleDouble(QStringLiteral("1.234,5"), value, german));
        QCOMPARE(value, 1234.5);
        QVERIFY(parseFlexibleDouble(QStringLiteral("12,5"), value, german));
        QCOMPARE(value, 12.5);
        // The locale-independent form still reads.
        QVERIFY(parseFlexibleDouble(QStringLiteral("12.5"), value, german));
        QCOMPARE(value, 12.5);
        // Both separators and no locale that knows them: commas go.
        QVERIFY(parseFlexibleDouble(QStringLiteral("1.5,0"), value, QLocale::c()));
        QCOMPARE(value, 1.5);
    }

    void flexibleDoubleSystemLocale()
    {
        double value = 0;
        QVERIFY(parseFlexibleDouble(QString::fromUtf8("12，5"), value));
        QCOMPARE(value, 12.5);
        QVERIFY(!parseFlexibleDouble(QStringLiteral("abc"), value));
        QVERIFY(!parseFlexibleDouble(QString(), value));
    }
};

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"

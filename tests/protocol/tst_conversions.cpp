// Text and number conversions between the fields and the printer's units.
#include "bytes.h"
#include "protocol/conversions.h"
#include "protocol/instructions.h"

#include <QLocale>
#include <QTest>
#include <climits>

using namespace proto;

class TestConversions : public QObject
{
    Q_OBJECT

private slots:
    // Ports refuse what does not fit 16 bits; integers refuse what does
    // not fit 32 bits rather than wrapping.
    void portsAndIntegers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("integer");
        QTest::newRow("largest port") << "65535" << 65535 << 65535;
        QTest::newRow("one above") << "65536" << 0 << 65536;
        QTest::newRow("negative") << "-1" << 0 << -1;
        QTest::newRow("digits then text") << "91x" << 0 << 0;
        QTest::newRow("empty") << "" << 0 << 0;
        QTest::newRow("int max") << "2147483647" << 0 << INT_MAX;
        QTest::newRow("int min") << "-2147483648" << 0 << INT_MIN;
        QTest::newRow("above 32 bits") << "2147483648" << 0 << 0;
        QTest::newRow("below 32 bits") << "-2147483649" << 0 << 0;
    }
    void portsAndIntegers()
    {
        QFETCH(QString, text);
        QFETCH(int, port);
        QFETCH(int, integer);
        QCOMPARE(int(parsePort(text)), port);
        QCOMPARE(parseInteger(text), integer);
    }

    void le16_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("asSigned");
        QTest::addColumn<int>("asUnsigned");
        QTest::newRow("-1") << qint64(-1) << hex("ffff") << -1 << 65535;
        QTest::newRow("32767") << qint64(32767) << hex("ff7f") << 32767 << 32767;
        QTest::newRow("32768 wraps signed") << qint64(32768) << hex("0080") << -32768 << 32768;
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
        QCOMPARE(int(readLeS16(raw(bytes))), asSigned);
        QCOMPARE(int(readLeU16(raw(bytes))), asUnsigned);
    }

    void le32() { QCOMPARE(readLeU32(raw(hex("80000001"))), quint32(0x01000080)); }

    void dotsToMm_data()
    {
        QTest::addColumn<int>("dots");
        QTest::addColumn<int>("mmToDot");
        QTest::addColumn<QString>("text");
        QTest::newRow("400 at 8") << 400 << 8 << "50.0";
        QTest::newRow("7 at 12 truncates") << 7 << 12 << "0.5";
        QTest::newRow("negative truncates toward zero") << -1 << 8 << "-0.1";
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
        QTest::newRow("offset -12 at 8") << -12 << 8 << -1;
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

    void dottedQuadText()
    {
        QCOMPARE(proto::dottedQuadText(raw(hex("c0a80164"))), QStringLiteral("192.168.1.100"));
    }

    // The pieces as they go on the wire, and whether each fits one byte.
    void dottedQuadPieces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<bool>("fits");
        QTest::newRow("empty part") << "10.0..1" << QList<int>{10, 0, 0, 1} << true;
        QTest::newRow("not a number") << "a.b.1.2" << QList<int>{0, 0, 1, 2} << true;
        QTest::newRow("256 kept, does not fit") << "256.1.2.3" << QList<int>{256, 1, 2, 3} << false;
    }
    void dottedQuadPieces()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, values);
        QFETCH(bool, fits);
        QCOMPARE(dottedQuadValues(text), values);
        QCOMPARE(dottedQuadFits(text), fits);
    }

    // In the C locale, so the result does not depend on the machine.
    void flexibleDouble_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("negative") << "-3.5" << true << -3.5;
        QTest::newRow("full-width comma") << QString::fromUtf8("12，5") << true << 12.5;
        QTest::newRow("ideographic stop") << QString::fromUtf8("12。5") << true << 12.5;
        QTest::newRow("lone comma") << "12,5" << true << 12.5;
        QTest::newRow("no-break space") << QString::fromUtf8("1\u00A0234.5") << true << 1234.5;
        QTest::newRow("surrounding blanks") << "  40  " << true << 40.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("unit") << "50mm" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
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
        // The locale-independent form still reads.
        QVERIFY(parseFlexibleDouble(QStringLiteral("12.5"), value, german));
        QCOMPARE(value, 12.5);
        // Both separators and no locale that knows them: commas go.
        QVERIFY(parseFlexibleDouble(QStringLiteral("1.5,0"), value, QLocale::c()));
        QCOMPARE(value, 1.5);
        // The default form reads in the machine's locale.
        QVERIFY(parseFlexibleDouble(QString::fromUtf8("12，5"), value));
        QCOMPARE(value, 12.5);
    }
};

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"

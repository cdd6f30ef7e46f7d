// Repair of the numeric fields, without widgets: what the field ends up
// showing, what is remembered, and when the tip appears. The remembered
// value is always the one the field shows.
#include "ui/numeric_repair.h"

#include <QTest>
#include <climits>

using namespace repair;

class TestNumericRepair : public QObject
{
    Q_OBJECT

private slots:
    // Width field 20..108 remembering 102, height field 10..1778 remembering 152.
    void decimal_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("height");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("tip");

        QTest::newRow("unit stripped") << "50mm" << false << true << "50" << true << false;
        QTest::newRow("dot groups, comma decimal") << "1.234,5" << false << true << "108" << true << true;
        QTest::newRow("digits only after unit") << "mm50" << false << false << "102.0" << true << true;
        QTest::newRow("lower edge as typed") << "20" << false << true << "20" << false << false;
        QTest::newRow("one decimal as typed") << "60.5" << false << true << "60.5" << false << false;
        QTest::newRow("integral decimal shortened") << "50.0" << false << true << "50" << true << false;
        QTest::newRow("blanks removed") << "5 0 mm" << false << true << "50" << true << false;
        QTest::newRow("full-width comma") << QString::fromUtf8("60，5") << false << true << "60.5" << true << false;
        QTest::newRow("two decimals after comma") << "60,25" << false << true << "60.3" << true << false;
        // Digits of other scripts count as digits when stripping the end,
        // but only ASCII digits convert.
        QTest::newRow("trailing Arabic-Indic digit kept") << QString::fromUtf8("50\u0665") << false << false
                                                          << "102.0" << true << true;
        QTest::newRow("trailing non-BMP letter stripped") << QString::fromUtf8("50\U0001D400") << false << true
                                                          << "50" << true << false;
        QTest::newRow("height above") << "2000" << true << true << "1778" << true << true;
        QTest::newRow("height below") << "5" << true << true << "10" << true << true;
        QTest::newRow("height comma decimal") << "12,5" << true << true << "12.5" << true << false;
        QTest::newRow("height thousands") << "1,234" << true << true << "1234" << true << false;
        QTest::newRow("full-width minus") << QString::fromUtf8("－5") << true << true << "10" << true << true;
    }
    void decimal()
    {
        QFETCH(QString, input);
        QFETCH(bool, height);
        QFETCH(bool, valid);
        QFETCH(QString, text);
        QFETCH(bool, changed);
        QFETCH(bool, tip);

        const double min = height ? 10 : 20, max = height ? 1778 : 108, last = height ? 152 : 102;
        const DecimalResult r = repairDecimal(input, min, max, last);
        QCOMPARE(r.valid, valid);
        QCOMPARE(r.text, text);
        QCOMPARE(r.value, text.toDouble());
        QCOMPARE(r.textChanged, changed);
        QCOMPARE(r.showTip, tip);

        // The repair is stable: the shown text, read again, keeps the value
        // and brings no tip (a restored "102.0" is only shortened).
        const DecimalResult again = repairDecimal(r.text, min, max, r.value);
        QVERIFY(again.valid);
        QCOMPARE(again.value, r.value);
        QCOMPARE(again.textChanged, !valid);
        QVERIFY(!again.showTip);
    }

    void integer_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("changed");

        QTest::newRow("letters dropped") << "12ab3" << 0 << true << "123" << true;
        QTest::newRow("inner minus dropped") << "1-2" << 0 << true << "12" << true;
        QTest::newRow("negative stays") << "-12" << 0 << true << "-12" << false;
        QTest::newRow("double minus") << "--3" << 0 << false << "0" << true;
        QTest::newRow("lone minus") << "-" << 5 << false << "5" << true;
        QTest::newRow("two inner minus") << "12-3-4" << 4 << false << "4" << true;
        QTest::newRow("max") << "2147483647" << 0 << true << "2147483647" << false;
        QTest::newRow("above 32 bits") << "2147483648" << 7 << false << "7" << true;
        QTest::newRow("below 32 bits") << "-2147483649" << -7 << false << "-7" << true;
    }
    void integer()
    {
        QFETCH(QString, input);
        QFETCH(int, last);
        QFETCH(bool, valid);
        QFETCH(QString, text);
        QFETCH(bool, changed);

        const IntegerResult r = repairInteger(input, last);
        QCOMPARE(r.valid, valid);
        QCOMPARE(r.text, text);
        QCOMPARE(r.value, text.toInt());
        QCOMPARE(r.textChanged, changed);
    }
};

QTEST_APPLESS_MAIN(TestNumericRepair)
#include "tst_numeric_repair.moc"

// Repair of the numeric fields, without widgets: what the field ends up
// showing, what is remembered, and when the tip appears.
#include "ui/numeric_repair.h"

#include <QTest>
#include <climits>

using namespace repair;

class TestNumericRepair : public QObject
{
    Q_OBJECT

private slots:
    void decimal_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("last");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("tip");

        // Width field, 20..108, first use remembers 102.
        QTest::newRow("unit stripped") << "50mm" << 20.0 << 108.0 << 102.0
                                       << true << 50.0 << "50" << true << false;
        QTest::newRow("one decimal") << "60.25" << 20.0 << 108.0 << 102.0
                                     << true << 60.3 << "60.3" << true << false;
        QTest::newRow("decimal comma, raised") << "12,5" << 20.0 << 108.0 << 102.0
                                               << true << 20.0 << "20" << true << true;
        QTest::newRow("thousands comma, lowered") << "1,234" << 20.0 << 108.0 << 102.0
                                                  << true << 108.0 << "108" << true << true;
        QTest::newRow("dot groups, comma decimal") << "1.234,5" << 20.0 << 108.0 << 102.0
                                                   << true << 108.0 << "108" << true << true;
        QTest::newRow("not a number") << "abc" << 20.0 << 108.0 << 102.0
                                      << false << 102.0 << "102.0" << true << true;
        QTest::newRow("empty") << "" << 20.0 << 108.0 << 60.5
                               << false << 60.5 << "60.5" << true << true;
        QTest::newRow("lower edge as typed") << "20" << 20.0 << 108.0 << 102.0
                                             << true << 20.0 << "20" << false << false;
        QTest::newRow("upper edge as typed") << "108" << 20.0 << 108.0 << 102.0
                                             << true << 108.0 << "108" << false << false;
        QTest::newRow("one decimal as typed") << "60.5" << 20.0 << 108.0 << 102.0
                                              << true << 60.5 << "60.5" << false << false;
        QTest::newRow("integral decimal shortened") << "50.0" << 20.0 << 108.0 << 102.0
                                                    << true << 50.0 << "50" << true << false;
        QTest::newRow("rounds to integral") << "60.04" << 20.0 << 108.0 << 102.0
                                            << true << 60.0 << "60" << true << false;
        QTest::newRow("blanks removed") << "5 0 mm" << 20.0 << 108.0 << 102.0
                                        << true << 50.0 << "50" << true << false;
        QTest::newRow("full-width comma") << QString::fromUtf8("60，5") << 20.0 << 108.0 << 102.0
                                          << true << 60.5 << "60.5" << true << false;
        QTest::newRow("ideographic stop") << QString::fromUtf8("60。5") << 20.0 << 108.0 << 102.0
                                          << true << 60.5 << "60.5" << true << false;
        QTest::newRow("two decimals after comma") << "60,25" << 20.0 << 108.0 << 102.0
                                                  << true << 60.3 << "60.3" << true << false;
        // Digits of other scripts count as digits when stripping the end,
        // but only ASCII digits convert.
        QTest::newRow("trailing Arabic-Indic digit kept") << QString::fromUtf8("50\u0665") << 20.0
                                                          << 108.0 << 102.0 << false << 102.0
                                                          << "102.0" << true << true;
        QTest::newRow("trailing non-BMP digit kept") << QString::fromUtf8("50\U0001D7CE") << 20.0
                                                     << 108.0 << 102.0 << false << 102.0
                                                     << "102.0" << true << true;
        QTest::newRow("trailing non-BMP letter stripped") << QString::fromUtf8("50\U0001D400") << 20.0
                                                          << 108.0 << 102.0 << true << 50.0
                                                          << "50" << true << false;
        QTest::newRow("digits only after unit") << "mm50" << 20.0 << 108.0 << 102.0
                                                << false << 102.0 << "102.0" << true << true;

        // Height field, 10..1778, first use remembers 152.
        QTest::newRow("height above") << "2000" << 10.0 << 1778.0 << 152.0
                                       << true << 1778.0 << "1778" << true << true;
        QTest::newRow("height below") << "5" << 10.0 << 1778.0 << 152.0
                                      << true << 10.0 << "10" << true << true;
        QTest::newRow("height comma decimal") << "12,5" << 10.0 << 1778.0 << 152.0
                                              << true << 12.5 << "12.5" << true << false;
        QTest::newRow("height thousands") << "1,234" << 10.0 << 1778.0 << 152.0
                                          << true << 1234.0 << "1234" << true << false;
        QTest::newRow("full-width minus") << QString::fromUtf8("－5") << 10.0 << 1778.0 << 152.0
                                          << true << 10.0 << "10" << true << true;
        QTest::newRow("restores one decimal") << "x" << 10.0 << 1778.0 << 152.0
                                              << false << 152.0 << "152.0" << true << true;
    }
    void decimal()
    {
        QFETCH(QString, input);
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, last);
        QFETCH(bool, valid);
        QFETCH(double, value);
        QFETCH(QString, text);
        QFETCH(bool, changed);
        QFETCH(bool, tip);

        const DecimalResult r = repairDecimal(input, min, max, last);
        QCOMPARE(r.valid, valid);
        QCOMPARE(r.value, value);
        QCOMPARE(r.text, text);
        QCOMPARE(r.textChanged, changed);
        QCOMPARE(r.showTip, tip);
    }

    // A repaired value is stable: feeding the shown text back changes
    // nothing and shows no tip.
    void decimalRepairIsStable_data()
    {
        QTest::addColumn<QString>("input");
        for (const char *s : {"50mm", "60.25", "12,5", "1,234", "1.234,5", "abc", "2000", "5", "0.05"})
            QTest::newRow(s) << QString::fromLatin1(s);
    }
    void decimalRepairIsStable()
    {
        QFETCH(QString, input);
        const DecimalResult first = repairDecimal(input, 10.0, 1778.0, 152.0);
        const DecimalResult again = repairDecimal(first.text, 10.0, 1778.0, first.value);
        QVERIFY(again.valid);
        QCOMPARE(again.value, first.value);
        QCOMPARE(again.text, first.valid ? first.text : QString::number(first.value));
        QVERIFY(!again.showTip);
    }

    void integer_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("changed");

        QTest::newRow("letters dropped") << "12ab3" << 0 << true << 123 << "123" << true;
        QTest::newRow("inner minus dropped") << "1-2" << 0 << true << 12 << "12" << true;
        QTest::newRow("negative stays") << "-12" << 0 << true << -12 << "-12" << false;
        QTest::newRow("plain") << "3" << 0 << true << 3 << "3" << false;
        QTest::newRow("leading zeros") << "007" << 0 << true << 7 << "7" << true;
        QTest::newRow("unit") << "3mm" << 0 << true << 3 << "3" << true;
        QTest::newRow("double minus") << "--3" << 0 << false << 0 << "0" << true;
        QTest::newRow("lone minus") << "-" << 5 << false << 5 << "5" << true;
        QTest::newRow("empty") << "" << 0 << false << 0 << "0" << true;
        QTest::newRow("letters only") << "abc" << 9 << false << 9 << "9" << true;
        QTest::newRow("two inner minus") << "12-3-4" << 4 << false << 4 << "4" << true;
        QTest::newRow("max") << "2147483647" << 0 << true << INT_MAX << "2147483647" << false;
        QTest::newRow("min") << "-2147483648" << 0 << true << INT_MIN << "-2147483648" << false;
        QTest::newRow("above 32 bits") << "2147483648" << 7 << false << 7 << "7" << true;
        QTest::newRow("below 32 bits") << "-2147483649" << -7 << false << -7 << "-7" << true;
        QTest::newRow("decimal point dropped") << "1.5" << 0 << true << 15 << "15" << true;
    }
    void integer()
    {
        QFETCH(QString, input);
        QFETCH(int, last);
        QFETCH(bool, valid);
        QFETCH(int, value);
        QFETCH(QString, text);
        QFETCH(bool, changed);

        const IntegerResult r = repairInteger(input, last);
        QCOMPARE(r.valid, valid);
        QCOMPARE(r.value, value);
        QCOMPARE(r.text, text);
        QCOMPARE(r.textChanged, changed);
    }

    void oneDecimalText()
    {
        QCOMPARE(oneDecimal(102.0), QStringLiteral("102.0"));
        QCOMPARE(oneDecimal(152.0), QStringLiteral("152.0"));
        QCOMPARE(oneDecimal(12.5), QStringLiteral("12.5"));
    }
};

QTEST_APPLESS_MAIN(TestNumericRepair)
#include "tst_numeric_repair.moc"

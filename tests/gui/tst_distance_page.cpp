// The distance settings page through the real window against the
// emulated printer: four queries and four set frames in order, over TCP
// and emulated USB; dots and millimetres; which failures are reported;
// input refused before anything is sent.
#include "page_test_support.h"

#include <QElapsedTimer>

namespace {

const char *const kFields[] = {"lineEdit_DistanceO2PH", "lineEdit_DistanceS2PH", "lineEdit_DistanceB2PH",
                               "lineEdit_DistancePH2T"};

const QStringList kQueries = {queryHex(0x33), queryHex(0x34), queryHex(0x35), queryHex(0x36)};

QStringList fieldTexts(PrinterWindow &pw)
{
    QStringList texts;
    for (const char *name : kFields)
        texts << pw.widget<QLineEdit>(name)->text();
    return texts;
}

void setFieldTexts(PrinterWindow &pw, const QStringList &texts)
{
    for (int i = 0; i < 4; ++i)
        pw.widget<QLineEdit>(kFields[i])->setText(texts.at(i));
}

std::unique_ptr<PrinterWindow> readWindow(TestMedium medium, const QString &model)
{
    auto pw = openedWindow(medium, model);
    if (pw) {
        pw->click("pushButton_DistanceSettingRead");
        pw->boxes().clear();
        pw->clearFrames();
    }
    return pw;
}

} // namespace

class TestDistancePage : public GuiTest
{
    Q_OBJECT

private slots:

    void readQueriesAndShows_data();
    void readQueriesAndShows();
    void readReportsOnlyTheLastQuery_data();
    void readReportsOnlyTheLastQuery();
    void readNetworkFailure_data();
    void readNetworkFailure();

    void setSendsFourFrames_data();
    void setSendsFourFrames();
    void setRefusesValuesThatWouldWrap_data();
    void setRefusesValuesThatWouldWrap();
    void setUsbFailure();

};

void TestDistancePage::readQueriesAndShows_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("replies");   // payloads of 0x33 .. 0x36
    QTest::addColumn<QStringList>("shown");     // the four fields afterwards

    QTest::newRow("tcp at 8") << TestMedium::Tcp << "LP-200" << QStringList{"7800", "3000", "3000", "6000"}
                              << QStringList{"120", "6", "6", "96"};
    QTest::newRow("usb at 12") << TestMedium::Usb << "ZD-N480" << QStringList{"7800", "3000", "3000", "6000"}
                               << QStringList{"120", "4", "4", "96"};
    // -3 dots are 0 mm (cut toward zero, not down to -1).
    QTest::newRow("negative at 8") << TestMedium::Tcp << "LP-200" << QStringList{"FDFF", "FDFF", "F3FF", "F6FF"}
                                   << QStringList{"-3", "0", "-1", "-10"};
}

void TestDistancePage::readQueriesAndShows()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, model);
    QFETCH(QStringList, replies);
    QFETCH(QStringList, shown);
    auto pw = openedWindow(medium, model);
    QVERIFY(pw);
    for (int i = 0; i < 4; ++i)
        pw->printer().setSetting(quint8(0x33 + i), bytesOf(replies.at(i)));
    QVERIFY(!pw->widget("pushButton_DistanceSettingSet")->isEnabled());

    pw->click("pushButton_DistanceSettingRead");

    QCOMPARE(pw->frameHex(), kQueries);
    VERIFY_ONE_BOX(*pw, kDone);
    QCOMPARE(fieldTexts(*pw), shown);
    QVERIFY(pw->widget("pushButton_DistanceSettingSet")->isEnabled());
    QVERIFY(pw->widget("tabWidget_2")->isEnabled());
}

// Over USB a reply with a broken lead-in fails its query (result 1, which
// passes silently). Only the last query's outcome is reported, the set
// button is enabled whatever happened, and a failed query leaves its
// field alone.
void TestDistancePage::readReportsOnlyTheLastQuery_data()
{
    QTest::addColumn<int>("broken");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("0x33 fails") << 0x33 << 1 << QStringList{"keep", "6", "6", "96"};
    QTest::newRow("0x35 fails") << 0x35 << 1 << QStringList{"120", "6", "keep", "96"};
    QTest::newRow("0x36 fails") << 0x36 << 0 << QStringList{"120", "6", "6", "keep"};
}

void TestDistancePage::readReportsOnlyTheLastQuery()
{
    QFETCH(int, broken);
    QFETCH(int, boxes);
    QFETCH(QStringList, shown);
    auto pw = openedWindow(TestMedium::Usb);
    QVERIFY(pw);
    setFieldTexts(*pw, {"keep", "keep", "keep", "keep"});
    PrinterWindow::usb().setReplyFilter(pw->usbId(), [code = quint8(broken)](const QByteArray &reply) {
        QByteArray out = reply;
        if (out.size() > 4 && quint8(out.at(3)) == 0x02 && quint8(out.at(4)) == code)
            out[0] = 0x00;
        return out;
    });

    pw->click("pushButton_DistanceSettingRead");

    QCOMPARE(pw->frames().size(), 4);
    QVERIFY2(pw->boxes().count() == boxes, qPrintable(describe(pw->boxes().boxes())));
    if (boxes)
        QCOMPARE(pw->boxes().last().text, kDone);
    QCOMPARE(fieldTexts(*pw), shown);
    QVERIFY(pw->widget("pushButton_DistanceSettingSet")->isEnabled());
}

// A printer that hangs up after the last query, or answers nothing at
// all: every unanswered query waits out its time, all four are asked,
// the network error is shown once, and the set is enabled all the same.
void TestDistancePage::readNetworkFailure_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("last query unanswered") << false << 2900 << QStringList{"120", "6", "6", "4"};
    QTest::newRow("silent printer") << true << 4 * 2900 << QStringList{"1", "2", "3", "4"};
}

void TestDistancePage::readNetworkFailure()
{
    QFETCH(bool, silent);
    QFETCH(int, minMs);
    QFETCH(QStringList, shown);
    auto pw = openedWindow(TestMedium::Tcp, QStringLiteral("ZD-N480"));
    QVERIFY(pw);
    pw->printer().setSetting(0x34, bytesOf(QStringLiteral("4800")));
    pw->printer().setSetting(0x35, bytesOf(QStringLiteral("4800")));
    setFieldTexts(*pw, {"1", "2", "3", "4"});
    emu::Faults faults;
    faults.silent = silent;
    if (!silent)
        faults.dropAfterBytes = 4 * 9;
    pw->printer().setFaults(faults);
    QElapsedTimer clock;
    clock.start();

    pw->click("pushButton_DistanceSettingRead");

    QVERIFY2(clock.elapsed() >= minMs, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(clock.elapsed() < minMs + 25000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(pw->frameHex(), kQueries);
    VERIFY_ONE_BOX(*pw, kNetError);
    QCOMPARE(fieldTexts(*pw), shown);
    QVERIFY(pw->widget("pushButton_DistanceSettingSet")->isEnabled());
    QVERIFY(pw->widget("tabWidget_2")->isEnabled());
}

void TestDistancePage::setSendsFourFrames_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("payloads");   // of 0x33 .. 0x36

    // Paper exit and tear position are in dots whatever mmToDot is; the
    // two sensor distances are millimetres.
    QTest::newRow("tcp at 12") << TestMedium::Tcp << "ZD-N480" << QStringList{"120", "6", "2", "96"}
                               << QStringList{"7800", "4800", "1800", "6000"};
    QTest::newRow("usb at 8") << TestMedium::Usb << "LP-200" << QStringList{"120", "6", "2", "96"}
                              << QStringList{"7800", "3000", "1000", "6000"};
    QTest::newRow("limits at 8") << TestMedium::Tcp << "LP-200" << QStringList{"-1", "-4096", "4095", "-32768"}
                                 << QStringList{"FFFF", "0080", "F87F", "0080"};
    QTest::newRow("limits at 12") << TestMedium::Usb << "ZD-N480" << QStringList{"32767", "2730", "-2730", "0"}
                                  << QStringList{"FF7F", "F87F", "0880", "0000"};
    QTest::newRow("not numbers send 0") << TestMedium::Tcp << "LP-200" << QStringList{"abc", "", "1x", "-"}
                                        << QStringList{"0000", "0000", "0000", "0000"};
}

void TestDistancePage::setSendsFourFrames()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, model);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, payloads);
    auto pw = readWindow(medium, model);
    QVERIFY(pw);
    setFieldTexts(*pw, fields);

    pw->click("pushButton_DistanceSettingSet");

    QVERIFY(pw->printer().waitForFrames(4, 10000));
    QStringList expected;
    for (int i = 0; i < 4; ++i)
        expected << setHex(quint8(0x33 + i), payloads.at(i));
    QCOMPARE(pw->frameHex(), expected);
    QVERIFY2(!pw->printer().waitForFrames(5, 100), qPrintable(pw->frameHex().join(QLatin1Char('\n'))));
    VERIFY_ONE_BOX(*pw, kDone);
    // The set changes no field.
    QCOMPARE(fieldTexts(*pw), fields);
}

void TestDistancePage::setRefusesValuesThatWouldWrap_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("range");
    QTest::newRow("paper exit 32768") << TestMedium::Tcp << "LP-200" << 0 << "32768" << "出纸口到打印头距离(单位dot)"
                                      << "-32768 ~ 32767";
    QTest::newRow("gap sensor 2731 at 12") << TestMedium::Usb << "ZD-N480" << 1 << "2731"
                                           << "缝到打印头距离(单位mm)" << "-2730 ~ 2730";
    QTest::newRow("black mark -4097 at 8") << TestMedium::Tcp << "LP-200" << 2 << "-4097"
                                           << "黑标到打印头距离(单位mm)" << "-4096 ~ 4095";
    QTest::newRow("tear beyond 32 bits") << TestMedium::Usb << "LP-200" << 3 << "99999999999"
                                         << "打印头到撕纸位置距离(单位dot)" << "-32768 ~ 32767";
}

void TestDistancePage::setRefusesValuesThatWouldWrap()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, model);
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, fieldName);
    QFETCH(QString, range);
    auto pw = readWindow(medium, model);
    QVERIFY(pw);
    const QByteArray stored = pw->printer().setting(quint8(0x33 + field));
    pw->widget<QLineEdit>(kFields[field])->setText(value);

    pw->click("pushButton_DistanceSettingSet");

    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    const ShownBox box = pw->boxes().last();
    QCOMPARE(box.title, kTitle);
    QCOMPARE(box.icon, QMessageBox::Information);
    QVERIFY2(box.text.contains(fieldName) && box.text.contains(range), qPrintable(box.text));
    // Not even the fields before the refused one went out.
    QVERIFY(nothingReachedPrinter(*pw));
    QCOMPARE(pw->printer().setting(quint8(0x33 + field)), stored);
}

void TestDistancePage::setUsbFailure()
{
    auto pw = readWindow(TestMedium::Usb, QStringLiteral("LP-200"));
    QVERIFY(pw);
    cutOff(*pw, QStringLiteral("claim"));

    pw->click("pushButton_DistanceSettingSet");

    VERIFY_ONE_BOX(*pw, kUsbError);
    QVERIFY(pw->frames().isEmpty());
    PrinterWindow::usb().setClaimRefused(pw->usbId(), false);
}

QTEST_MAIN(TestDistancePage)
#include "tst_distance_page.moc"

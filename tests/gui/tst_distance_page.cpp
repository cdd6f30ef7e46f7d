// The distance settings page through the real window against the
// emulated printer: four queries and four set frames, byte for byte and
// in order, over TCP and emulated USB; dots and millimetres; which
// failures are reported; the set button; input refused before anything
// is sent.
#include "page_test_support.h"

#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"

#include <QElapsedTimer>
#include <memory>

using namespace pagetest;

namespace {

const char *const kFields[] = {"lineEdit_DistanceO2PH", "lineEdit_DistanceS2PH", "lineEdit_DistanceB2PH",
                               "lineEdit_DistancePH2T"};

std::unique_ptr<PrinterWindow> openedWindow(TestMedium medium, const QString &model)
{
    auto pw = std::make_unique<PrinterWindow>(medium, model);
    if (!pw->open())
        return nullptr;
    return pw;
}

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

// Replies of one query code get a broken lead-in (the printer answered,
// but not with a frame the tool accepts).
std::function<QByteArray(const QByteArray &)> breakReplyTo(quint8 code)
{
    return [code](const QByteArray &reply) {
        QByteArray out = reply;
        if (out.size() > 4 && quint8(out.at(3)) == 0x02 && quint8(out.at(4)) == code)
            out[0] = 0x00;
        return out;
    };
}

} // namespace

class TestDistancePage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void readQueriesAndShows_data();
    void readQueriesAndShows();
    void readWithoutDevice();
    void readReportsOnlyTheLastQuery_data();
    void readReportsOnlyTheLastQuery();
    void readLastQueryUnansweredOverTcp();
    void readSilentPrinter();
    void setButtonFollowsSelection();

    void setSendsFourFrames_data();
    void setSendsFourFrames();
    void setRefusesValuesThatWouldWrap_data();
    void setRefusesValuesThatWouldWrap();
    void setUsbFailure();

private:
    TestSettingsLocation m_settings;
};

void TestDistancePage::initTestCase()
{
    PrinterWindow::usb();
}

void TestDistancePage::readQueriesAndShows_data()
{
    QTest::addColumn<int>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("replies");   // payloads of 0x33 .. 0x36
    QTest::addColumn<QStringList>("shown");     // the four fields afterwards

    for (TestMedium medium : {TestMedium::Tcp, TestMedium::Usb}) {
        const QByteArray m = mediumName(medium).toLatin1();
        QTest::newRow(m + " at 8") << int(medium) << "LP-200" << QStringList{"7800", "3000", "3000", "6000"}
                                   << QStringList{"120", "6", "6", "96"};
        QTest::newRow(m + " at 12") << int(medium) << "ZD-N480" << QStringList{"7800", "3000", "3000", "6000"}
                                    << QStringList{"120", "4", "4", "96"};
    }
    // -3 dots are 0 mm (cut toward zero, not down to -1).
    QTest::newRow("negative at 8") << int(TestMedium::Tcp) << "LP-200" << QStringList{"FDFF", "FDFF", "F3FF", "F6FF"}
                                   << QStringList{"-3", "0", "-1", "-10"};
    QTest::newRow("extremes at 12") << int(TestMedium::Tcp) << "ZD-N480"
                                    << QStringList{"FF7F", "0080", "FF7F", "0080"}
                                    << QStringList{"32767", "-2730", "2730", "-32768"};
}

void TestDistancePage::readQueriesAndShows()
{
    QFETCH(int, medium);
    QFETCH(QString, model);
    QFETCH(QStringList, replies);
    QFETCH(QStringList, shown);
    auto pw = openedWindow(TestMedium(medium), model);
    QVERIFY(pw);
    for (int i = 0; i < 4; ++i)
        pw->printer().setSetting(quint8(0x33 + i), bytesOf(replies.at(i)));
    QVERIFY(!pw->widget("pushButton_DistanceSettingSet")->isEnabled());

    pw->click("pushButton_DistanceSettingRead");

    QCOMPARE(pw->frameHex(), QStringList({queryHex(0x33), queryHex(0x34), queryHex(0x35), queryHex(0x36)}));
    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("处理成功"));
    QCOMPARE(fieldTexts(*pw), shown);
    QVERIFY(pw->widget("pushButton_DistanceSettingSet")->isEnabled());
    QVERIFY(pw->widget("tabWidget_2")->isEnabled());
}

void TestDistancePage::readWithoutDevice()
{
    PrinterWindow pw(TestMedium::Usb);
    pw.click("pushButton_DistanceSettingRead");
    QCOMPARE(pw.boxes().count(), 1);
    QCOMPARE(pw.boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw.boxes().last().text, QStringLiteral("请先打开设备"));
    QVERIFY(!pw.widget("pushButton_DistanceSettingSet")->isEnabled());
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());
    QVERIFY(pw.frames().isEmpty());
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
    auto pw = openedWindow(TestMedium::Usb, QStringLiteral("LP-200"));
    QVERIFY(pw);
    setFieldTexts(*pw, {"keep", "keep", "keep", "keep"});
    PrinterWindow::usb().setReplyFilter(pw->usbId(), breakReplyTo(quint8(broken)));

    pw->click("pushButton_DistanceSettingRead");

    QCOMPARE(pw->frames().size(), 4);
    QVERIFY2(pw->boxes().count() == boxes, qPrintable(describe(pw->boxes().boxes())));
    if (boxes)
        QCOMPARE(pw->boxes().last().text, QStringLiteral("处理成功"));
    QCOMPARE(fieldTexts(*pw), shown);
    QVERIFY(pw->widget("pushButton_DistanceSettingSet")->isEnabled());
}

// The printer takes the last query and hangs up: the read waits that
// exchange out, reports the network error, and still enables the set.
void TestDistancePage::readLastQueryUnansweredOverTcp()
{
    auto pw = openedWindow(TestMedium::Tcp, QStringLiteral("LP-200"));
    QVERIFY(pw);
    setFieldTexts(*pw, {"1", "2", "3", "4"});
    emu::Faults faults;
    faults.dropAfterBytes = 4 * 9;
    pw->printer().setFaults(faults);
    QElapsedTimer clock;
    clock.start();

    pw->click("pushButton_DistanceSettingRead");

    QVERIFY2(clock.elapsed() >= 2900, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(pw->frameHex(), QStringList({queryHex(0x33), queryHex(0x34), queryHex(0x35), queryHex(0x36)}));
    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("网络通讯出错，请重试"));
    QCOMPARE(fieldTexts(*pw), QStringList({"120", "6", "6", "4"}));
    QVERIFY(pw->widget("pushButton_DistanceSettingSet")->isEnabled());
    QVERIFY(pw->widget("tabWidget_2")->isEnabled());
}

// A printer that answers nothing: every query waits out its time, all
// four are still asked, nothing changes on the page, the network error is
// shown, and the set button is enabled all the same.
void TestDistancePage::readSilentPrinter()
{
    auto pw = openedWindow(TestMedium::Tcp, QStringLiteral("ZD-N480"));
    QVERIFY(pw);
    setFieldTexts(*pw, {"1", "2", "3", "4"});
    emu::Faults faults;
    faults.silent = true;
    pw->printer().setFaults(faults);
    QElapsedTimer clock;
    clock.start();

    pw->click("pushButton_DistanceSettingRead");

    QVERIFY2(clock.elapsed() >= 4 * 2900, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(clock.elapsed() < 40000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(pw->frameHex(), QStringList({queryHex(0x33), queryHex(0x34), queryHex(0x35), queryHex(0x36)}));
    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("网络通讯出错，请重试"));
    QCOMPARE(fieldTexts(*pw), QStringList({"1", "2", "3", "4"}));
    QVERIFY(pw->widget("pushButton_DistanceSettingSet")->isEnabled());
}

// A read enables the set button; a new selection disables it again.
void TestDistancePage::setButtonFollowsSelection()
{
    auto pw = openedWindow(TestMedium::Tcp, QStringLiteral("LP-200"));
    QVERIFY(pw);
    pw->click("pushButton_DistanceSettingRead");
    QVERIFY(pw->widget("pushButton_DistanceSettingSet")->isEnabled());
    pw->click("pushButton_close");
    pw->click("pushButton_open");
    QVERIFY(!pw->widget("pushButton_DistanceSettingSet")->isEnabled());
}

void TestDistancePage::setSendsFourFrames_data()
{
    QTest::addColumn<int>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("payloads");   // of 0x33 .. 0x36

    for (TestMedium medium : {TestMedium::Tcp, TestMedium::Usb}) {
        const QByteArray m = mediumName(medium).toLatin1();
        // Paper exit and tear position are in dots whatever mmToDot is;
        // the two sensor distances are millimetres.
        QTest::newRow(m + " at 12") << int(medium) << "ZD-N480" << QStringList{"120", "6", "2", "96"}
                                    << QStringList{"7800", "4800", "1800", "6000"};
        QTest::newRow(m + " at 8") << int(medium) << "LP-200" << QStringList{"120", "6", "2", "96"}
                                   << QStringList{"7800", "3000", "1000", "6000"};
    }
    QTest::newRow("negative at 8") << int(TestMedium::Tcp) << "LP-200" << QStringList{"-1", "-4096", "4095", "-32768"}
                                   << QStringList{"FFFF", "0080", "F87F", "0080"};
    QTest::newRow("extremes at 12") << int(TestMedium::Usb) << "ZD-N480" << QStringList{"32767", "2730", "-2730", "0"}
                                    << QStringList{"FF7F", "F87F", "0880", "0000"};
    QTest::newRow("not numbers send 0") << int(TestMedium::Tcp) << "LP-200" << QStringList{"abc", "", "1x", "-"}
                                        << QStringList{"0000", "0000", "0000", "0000"};
}

void TestDistancePage::setSendsFourFrames()
{
    QFETCH(int, medium);
    QFETCH(QString, model);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, payloads);
    auto pw = openedWindow(TestMedium(medium), model);
    QVERIFY(pw);
    pw->click("pushButton_DistanceSettingRead");
    pw->boxes().clear();
    pw->clearFrames();
    setFieldTexts(*pw, fields);

    pw->click("pushButton_DistanceSettingSet");

    QVERIFY(pw->printer().waitForFrames(4, 10000));
    QStringList expected;
    for (int i = 0; i < 4; ++i)
        expected << setHex(quint8(0x33 + i), payloads.at(i));
    QCOMPARE(pw->frameHex(), expected);
    QVERIFY2(!pw->printer().waitForFrames(5, 100), qPrintable(pw->frameHex().join(QLatin1Char('\n'))));
    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->boxes().last().title, QStringLiteral("设置工具"));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("处理成功"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(hex(pw->printer().setting(quint8(0x33 + i))), hex(bytesOf(payloads.at(i))));
    // The set changes no field.
    QCOMPARE(fieldTexts(*pw), fields);
}

void TestDistancePage::setRefusesValuesThatWouldWrap_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::newRow("paper exit 32768") << "LP-200" << 0 << "32768" << "出纸口到打印头距离(单位dot)" << -32768 << 32767;
    QTest::newRow("paper exit -32769 at 12") << "ZD-N480" << 0 << "-32769" << "出纸口到打印头距离(单位dot)" << -32768
                                             << 32767;
    QTest::newRow("gap sensor 4096 at 8") << "LP-200" << 1 << "4096" << "缝到打印头距离(单位mm)" << -4096 << 4095;
    QTest::newRow("gap sensor 2731 at 12") << "ZD-N480" << 1 << "2731" << "缝到打印头距离(单位mm)" << -2730 << 2730;
    QTest::newRow("black mark -4097 at 8") << "LP-200" << 2 << "-4097" << "黑标到打印头距离(单位mm)" << -4096 << 4095;
    QTest::newRow("tear 40000") << "LP-200" << 3 << "40000" << "打印头到撕纸位置距离(单位dot)" << -32768 << 32767;
    QTest::newRow("tear beyond 32 bits") << "LP-200" << 3 << "99999999999" << "打印头到撕纸位置距离(单位dot)"
                                         << -32768 << 32767;
}

void TestDistancePage::setRefusesValuesThatWouldWrap()
{
    QFETCH(QString, model);
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, fieldName);
    QFETCH(int, min);
    QFETCH(int, max);
    for (TestMedium medium : {TestMedium::Tcp, TestMedium::Usb}) {
        auto pw = openedWindow(medium, model);
        QVERIFY(pw);
        pw->click("pushButton_DistanceSettingRead");
        pw->boxes().clear();
        pw->clearFrames();
        const QByteArray stored = pw->printer().setting(quint8(0x33 + field));
        pw->widget<QLineEdit>(kFields[field])->setText(value);

        pw->click("pushButton_DistanceSettingSet");

        QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
        const ShownBox box = pw->boxes().last();
        QCOMPARE(box.title, QStringLiteral("设置工具"));
        QCOMPARE(box.icon, QMessageBox::Information);
        QVERIFY2(box.text.contains(fieldName), qPrintable(box.text));
        QVERIFY2(box.text.contains(QStringLiteral("%1 ~ %2").arg(min).arg(max)), qPrintable(box.text));
        // Not even the fields before the refused one went out.
        QVERIFY(!pw->printer().waitForFrames(1, medium == TestMedium::Tcp ? 300 : 0));
        QCOMPARE(pw->printer().rawByteCount(), 0);
        QCOMPARE(pw->printer().setting(quint8(0x33 + field)), stored);
    }
}

void TestDistancePage::setUsbFailure()
{
    auto pw = openedWindow(TestMedium::Usb, QStringLiteral("LP-200"));
    QVERIFY(pw);
    pw->click("pushButton_DistanceSettingRead");
    pw->boxes().clear();
    pw->clearFrames();
    PrinterWindow::usb().setClaimRefused(pw->usbId(), true);

    pw->click("pushButton_DistanceSettingSet");

    QVERIFY2(pw->boxes().count() == 1, qPrintable(describe(pw->boxes().boxes())));
    QCOMPARE(pw->boxes().last().text, QStringLiteral("USB通讯出错，请重试"));
    QVERIFY(pw->frames().isEmpty());
    PrinterWindow::usb().setClaimRefused(pw->usbId(), false);
}

QTEST_MAIN(TestDistancePage)
#include "tst_distance_page.moc"

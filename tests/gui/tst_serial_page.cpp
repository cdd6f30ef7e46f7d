// The serial port and identity page ("串口设置") against the emulated
// printer: the serial parameters read into their combo boxes and written
// back as indexes, the serial number and device-identification text, the
// serial-number length limit, and when the set button becomes usable.
#include "page_test_support.h"

#include <QCheckBox>

namespace {

const QStringList kReadQueries = {queryHex(0x0E), queryHex(0x0C), queryHex(0x10)};
const char *const kCombos[] = {"comboBox_ComBaud", "comboBox_ComParityBit", "comboBox_ComDataBit",
                               "comboBox_ComStopBit"};

QStringList comboTexts(PrinterWindow &pw)
{
    QStringList texts;
    for (const char *name : kCombos)
        texts << pw.widget<QComboBox>(name)->currentText();
    return texts;
}

// Reads the page and forgets what that took, leaving the set button enabled.
bool readPage(PrinterWindow &pw)
{
    pw.click("pushButton_ComSettingRead");
    pw.printer().waitForFrames(3, 10000);
    const bool ok = pw.boxes().count() == 1 && pw.boxes().last().text == kDone
                    && pw.widget("pushButton_ComSettingSet")->isEnabled();
    pw.boxes().clear();
    pw.clearFrames();
    return ok;
}

} // namespace

class TestSerialPage : public GuiTest
{
    Q_OBJECT

private slots:

    void readFillsPage_data();
    void readFillsPage();
    void setSendsIndexesAndSerialNumber_data();
    void setSendsIndexesAndSerialNumber();
    void serialNumberLengthLimit_data();
    void serialNumberLengthLimit();
    void serialMediumKeepsSetDisabled();
    void failedReadReported_data();
    void failedReadReported();
    void malformedRepliesPassSilently();

};

void TestSerialPage::readFillsPage_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QByteArray>("serialPort");
    QTest::addColumn<QByteArray>("serialNumber");
    QTest::addColumn<QStringList>("shown");   // baud, parity, data bits, stop bits

    const QStringList usual = {"115200", "0", "8bit", "1bit"};
    QTest::newRow("115200 0 8 1/tcp") << TestMedium::Tcp << bytes("\x07\x00\x00\x00") << bytes("SN1\0") << usual;
    QTest::newRow("921600 2 7 2/usb") << TestMedium::Usb << bytes("\x10\x02\x01\x01") << bytes("序列号-7\0")
                                      << QStringList{"921600", "2", "7bit", "2bit"};
    // Data bits and stop bits told apart.
    QTest::newRow("4800 1 7 1/tcp") << TestMedium::Tcp << bytes("\x00\x01\x01\x00") << bytes("A\0")
                                    << QStringList{"4800", "1", "7bit", "1bit"};
    // The longest serial number fills the 264-byte reply exactly (the
    // length byte 0xFF is a count, not -1).
    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb})
        QTest::newRow(qPrintable(QStringLiteral("longest serial number/") + mediumName(m)))
            << m << bytes("\x07\x00\x00\x00") << QByteArray(254, 'S') + '\0' << usual;
}

void TestSerialPage::readFillsPage()
{
    QFETCH(TestMedium, medium);
    QFETCH(QByteArray, serialPort);
    QFETCH(QByteArray, serialNumber);
    QFETCH(QStringList, shown);
    PrinterWindow pw(medium);
    pw.printer().setSetting(0x0E, serialPort);
    pw.printer().setSetting(0x10, serialNumber);
    QVERIFY(pw.open());
    // Start from other values, so that every combo box has to move.
    for (int i = 0; i < 4; ++i) {
        auto *combo = pw.widget<QComboBox>(kCombos[i]);
        combo->setCurrentIndex((combo->findText(shown[i]) + 1) % combo->count());
    }
    QVERIFY(!pw.widget("pushButton_ComSettingSet")->isEnabled());

    pw.click("pushButton_ComSettingRead");

    QCOMPARE(waitForFrameHex(pw, 3), kReadQueries);
    VERIFY_ONE_BOX(pw, kDone);
    QCOMPARE(comboTexts(pw), shown);
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_ComSN")->text(), QString::fromUtf8(serialNumber.chopped(1)));
    // Field 2 of the identity: the device-identification pairs.
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_ComDeviceInfo")->text(),
             QStringLiteral("MFG:Label;CMD:TSPL,ZPL;MDL:LP-200;CLS:PRINTER;"));
    // Neither identity item can be edited.
    QVERIFY(!pw.widget("lineEdit_ComDeviceInfo")->isEnabled());
    QVERIFY(!pw.widget("lineEdit_ComSN")->isEnabled());
    QVERIFY(pw.widget("pushButton_ComSettingSet")->isEnabled());
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());
}

void TestSerialPage::setSendsIndexesAndSerialNumber_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::newRow("tcp") << TestMedium::Tcp;
    QTest::newRow("usb") << TestMedium::Usb;
}

void TestSerialPage::setSendsIndexesAndSerialNumber()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium);
    pw.printer().setSetting(0x10, bytes("SN1\0"));
    QVERIFY(pw.open());
    QVERIFY(readPage(pw));
    const QStringList chosen = {"9600", "1", "8bit", "2bit"};
    for (int i = 0; i < 4; ++i)
        pw.widget<QComboBox>(kCombos[i])->setCurrentText(chosen[i]);
    QCOMPARE(comboTexts(pw), chosen);

    pw.click("pushButton_ComSettingSet");

    // The serial number goes back as it was read.
    QCOMPARE(waitForFrameHex(pw, 2), (QStringList{QStringLiteral("1B FF FE 01 0E 04 01 01 00 01 1B FE FF"),
                                                  QStringLiteral("1B FF FE 01 10 04 53 4E 31 00 1B FE FF")}));
    VERIFY_ONE_BOX(pw, kDone);
}

// The set writes back the serial number exactly as the last read got it:
// bytes that are not UTF-8 survive the round trip, a number whose payload
// would not fit the length byte again is refused before anything is sent,
// and after a read whose serial-number answer was malformed only the
// serial parameters go out, never an empty or stale number.
void TestSerialPage::serialNumberLengthLimit_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QByteArray>("stored");    // payload of query 0x10
    QTest::addColumn<QString>("outcome");      // "sent", "refused", "parameters only"
    QTest::newRow("254 ascii/tcp") << TestMedium::Tcp << QByteArray(254, 'S') + '\0' << "sent";
    QTest::newRow("255 without 00/usb") << TestMedium::Usb << QByteArray(255, 'S') << "refused";
    QTest::newRow("not utf-8/usb") << TestMedium::Usb << bytes("\xFF\xFEN\x80\0") << "sent";
    QTest::newRow("malformed answer/usb") << TestMedium::Usb << bytes("SN1\0") << "parameters only";
}

void TestSerialPage::serialNumberLengthLimit()
{
    QFETCH(TestMedium, medium);
    QFETCH(QByteArray, stored);
    QFETCH(QString, outcome);
    PrinterWindow pw(medium);
    pw.printer().setSetting(0x10, stored);
    QVERIFY(pw.open());
    if (outcome == QLatin1String("parameters only")) {
        // A whole number read first, then a read whose answer is broken:
        // the first number must not be written back either.
        QVERIFY(readPage(pw));
        PrinterWindow::usb().setReplyFilter(pw.usbId(), [](const QByteArray &reply) {
            QByteArray out = reply;
            if (out.size() > 4 && quint8(out.at(4)) == 0x10)
                out[0] = 0x00;      // lead-in broken
            return out;
        });
        pw.click("pushButton_ComSettingRead");
        PrinterWindow::usb().setReplyFilter(pw.usbId(), {});
        QVERIFY(pw.widget("pushButton_ComSettingSet")->isEnabled());
        pw.boxes().clear();
        pw.clearFrames();
    } else {
        QVERIFY(readPage(pw));
    }

    pw.click("pushButton_ComSettingSet");

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().title, kTitle);
    if (outcome == QLatin1String("refused")) {
        const QString text = pw.boxes().last().text;
        QVERIFY2(text.contains(QStringLiteral("设备SN号")) && text.contains(QLatin1String("254")), qPrintable(text));
        QVERIFY(nothingReachedPrinter(pw));
        return;
    }
    QCOMPARE(pw.boxes().last().text, kDone);
    if (outcome == QLatin1String("parameters only")) {
        QCOMPARE(waitForFrameHex(pw, 1).size(), 1);
        QVERIFY(!pw.printer().waitForFrames(2, 300));
        QCOMPARE(pw.printer().setting(0x10), stored);
        return;
    }
    const QByteArray payload = stored.left(stored.indexOf('\0')) + '\0';
    QCOMPARE(waitForFrameHex(pw, 2).size(), 2);
    QCOMPARE(pw.frames().at(1),
             frameBytes("1B FF FE 01 10") + char(payload.size()) + payload + frameBytes("1B FE FF"));
}

// The printer's serial parameters are not changed over the serial link
// they describe: with the serial medium ticked, a read succeeds but the
// set button stays disabled.
void TestSerialPage::serialMediumKeepsSetDisabled()
{
    PrinterWindow pw(TestMedium::Tcp);
    QVERIFY(pw.open());
    // The user cannot tick it; ticking it here leaves the open medium as is.
    pw.widget<QCheckBox>("checkBox_Serialport")->setChecked(true);

    pw.click("pushButton_ComSettingRead");

    QCOMPARE(waitForFrameHex(pw, 3), kReadQueries);
    VERIFY_ONE_BOX(pw, kDone);
    QVERIFY(!pw.widget("pushButton_ComSettingSet")->isEnabled());
}

void TestSerialPage::failedReadReported_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("tcp printer off") << TestMedium::Tcp << "off" << kNetError;
    QTest::newRow("usb unplugged") << TestMedium::Usb << "unplug" << kUsbError;
}

void TestSerialPage::failedReadReported()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    pw.setText("lineEdit_ComSN", QStringLiteral("kept"));
    cutOff(pw, fault);

    pw.click("pushButton_ComSettingRead");

    // Only the serial-number query's failure is reported, once.
    VERIFY_ONE_BOX(pw, message);
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_ComSN")->text(), QStringLiteral("kept"));
    QVERIFY(!pw.widget("pushButton_ComSettingSet")->isEnabled());
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());
}

// Over USB a reply for another code fails the frame check (result 1).
// Nothing takes its payload, and the result reporter passes the code over
// without a message, so the set button is enabled.
void TestSerialPage::malformedRepliesPassSilently()
{
    PrinterWindow pw(TestMedium::Usb);
    pw.printer().setSetting(0x0E, bytes("\x10\x02\x01\x01"));
    QVERIFY(pw.open());
    pw.setText("lineEdit_ComSN", QStringLiteral("kept"));
    pw.setText("lineEdit_ComDeviceInfo", QStringLiteral("kept too"));
    emu::Faults wrong;
    wrong.wrongCode = true;
    pw.printer().setFaults(wrong);

    pw.click("pushButton_ComSettingRead");

    QCOMPARE(pw.frameHex(), kReadQueries);
    QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(comboTexts(pw).mid(0, 2), (QStringList{"115200", "0"}));
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_ComSN")->text(), QStringLiteral("kept"));
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_ComDeviceInfo")->text(), QStringLiteral("kept too"));
    QVERIFY(pw.widget("pushButton_ComSettingSet")->isEnabled());
}

QTEST_MAIN(TestSerialPage)
#include "tst_serial_page.moc"

// The serial port and identity page ("串口设置") against the emulated
// printer: the serial parameters read into their combo boxes and written
// back as indexes, the serial number and device-identification text, the
// serial-number length limit, and when the set button becomes usable.
#include "function_test_support.h"
#include "mainwindow.h"
#include "tools/emulator/net/net_faces.h"
#include "tools/emulator/usb/usb_face.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(TestMedium)

namespace {

const QString kTitle = QStringLiteral("设置工具");
const QString kDone = QStringLiteral("处理成功");

const QStringList kReadQueries = {QStringLiteral("1B FF FE 02 0E 00 1B FE FF"),
                                  QStringLiteral("1B FF FE 02 0C 00 1B FE FF"),
                                  QStringLiteral("1B FF FE 02 10 00 1B FE FF")};

template<size_t N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

QString comboText(PrinterWindow &pw, const char *name)
{
    return pw.widget<QComboBox>(name)->currentText();
}

void selectText(PrinterWindow &pw, const char *name, const QString &text)
{
    auto *combo = pw.widget<QComboBox>(name);
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
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

void addMediumRows()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::newRow("tcp") << TestMedium::Tcp;
    QTest::newRow("usb") << TestMedium::Usb;
}

} // namespace

class TestSerialPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { PrinterWindow::usb(); }

    void readFillsPage_data();
    void readFillsPage();
    void setSendsIndexesAndSerialNumber_data() { addMediumRows(); }
    void setSendsIndexesAndSerialNumber();
    void serialNumberLengthLimit_data();
    void serialNumberLengthLimit();
    void serialMediumKeepsSetDisabled_data() { addMediumRows(); }
    void serialMediumKeepsSetDisabled();
    void setAfterCloseRefused_data() { addMediumRows(); }
    void setAfterCloseRefused();
    void failedReadReported_data();
    void failedReadReported();
    void malformedRepliesPassSilently();

private:
    TestSettingsLocation m_settings;
};

void TestSerialPage::readFillsPage_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QByteArray>("serialPort");
    QTest::addColumn<QByteArray>("serialNumber");
    QTest::addColumn<QStringList>("shown");   // baud, parity, data bits, stop bits
    QTest::addColumn<QString>("shownSerialNumber");

    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb}) {
        const QString suffix = QLatin1Char('/') + mediumName(m);
        QTest::newRow(qPrintable(QStringLiteral("115200 0 8 1") + suffix))
            << m << bytes("\x07\x00\x00\x00") << bytes("SN1\0")
            << QStringList{QStringLiteral("115200"), QStringLiteral("0"), QStringLiteral("8bit"), QStringLiteral("1bit")}
            << QStringLiteral("SN1");
        QTest::newRow(qPrintable(QStringLiteral("921600 2 7 2") + suffix))
            << m << bytes("\x10\x02\x01\x01") << bytes("序列号-7\0")
            << QStringList{QStringLiteral("921600"), QStringLiteral("2"), QStringLiteral("7bit"), QStringLiteral("2bit")}
            << QStringLiteral("序列号-7");
        // Data bits and stop bits told apart.
        QTest::newRow(qPrintable(QStringLiteral("4800 1 7 1") + suffix))
            << m << bytes("\x00\x01\x01\x00") << bytes("A\0")
            << QStringList{QStringLiteral("4800"), QStringLiteral("1"), QStringLiteral("7bit"), QStringLiteral("1bit")}
            << QStringLiteral("A");
        // The longest serial number fills the 264-byte reply exactly, on
        // both media (the length byte 0xFF is a count, not -1).
        const int longest = 254;
        QTest::newRow(qPrintable(QStringLiteral("longest serial number") + suffix))
            << m << bytes("\x07\x00\x00\x00") << QByteArray(longest, 'S') + '\0'
            << QStringList{QStringLiteral("115200"), QStringLiteral("0"), QStringLiteral("8bit"), QStringLiteral("1bit")}
            << QString(longest, QLatin1Char('S'));
    }
}

void TestSerialPage::readFillsPage()
{
    QFETCH(TestMedium, medium);
    QFETCH(QByteArray, serialPort);
    QFETCH(QByteArray, serialNumber);
    QFETCH(QStringList, shown);
    QFETCH(QString, shownSerialNumber);

    PrinterWindow pw(medium);
    pw.printer().setSetting(0x0E, serialPort);
    pw.printer().setSetting(0x10, serialNumber);
    QVERIFY(pw.open());
    // Start from other values, so that every combo box has to move.
    const char *const combos[] = {"comboBox_ComBaud", "comboBox_ComParityBit", "comboBox_ComDataBit",
                                  "comboBox_ComStopBit"};
    for (int i = 0; i < 4; ++i) {
        auto *combo = pw.widget<QComboBox>(combos[i]);
        combo->setCurrentIndex((combo->findText(shown[i]) + 1) % combo->count());
    }
    QVERIFY(!pw.widget("pushButton_ComSettingSet")->isEnabled());

    pw.click("pushButton_ComSettingRead");

    QCOMPARE(waitForFrameHex(pw, 3), kReadQueries);
    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().title, kTitle);
    QCOMPARE(pw.boxes().last().text, kDone);
    QCOMPARE((QStringList{comboText(pw, "comboBox_ComBaud"), comboText(pw, "comboBox_ComParityBit"),
                          comboText(pw, "comboBox_ComDataBit"), comboText(pw, "comboBox_ComStopBit")}),
             shown);
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_ComSN")->text(), shownSerialNumber);
    // Field 2 of the identity: the device-identification pairs.
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_ComDeviceInfo")->text(),
             QStringLiteral("MFG:Label;CMD:TSPL,ZPL;MDL:LP-200;CLS:PRINTER;"));
    // Neither identity item can be edited.
    QVERIFY(!pw.widget("lineEdit_ComDeviceInfo")->isEnabled());
    QVERIFY(!pw.widget("lineEdit_ComSN")->isEnabled());
    QVERIFY(pw.widget("pushButton_ComSettingSet")->isEnabled());
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());
}

void TestSerialPage::setSendsIndexesAndSerialNumber()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium);
    pw.printer().setSetting(0x10, bytes("SN1\0"));
    QVERIFY(pw.open());
    QVERIFY(readPage(pw));
    selectText(pw, "comboBox_ComBaud", QStringLiteral("9600"));
    selectText(pw, "comboBox_ComParityBit", QStringLiteral("1"));
    selectText(pw, "comboBox_ComDataBit", QStringLiteral("8bit"));
    selectText(pw, "comboBox_ComStopBit", QStringLiteral("2bit"));

    pw.click("pushButton_ComSettingSet");

    // The serial number goes back as it was read.
    QCOMPARE(waitForFrameHex(pw, 2), (QStringList{QStringLiteral("1B FF FE 01 0E 04 01 01 00 01 1B FE FF"),
                                                  QStringLiteral("1B FF FE 01 10 04 53 4E 31 00 1B FE FF")}));
    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().text, kDone);
    QCOMPARE(pw.printer().setting(0x0E), bytes("\x01\x01\x00\x01"));
    QCOMPARE(pw.printer().setting(0x10), bytes("SN1\0"));
}

// A text setting travels with a one-byte length: the serial number's UTF-8
// bytes plus its 00 must stay within 255 bytes. Longer ones are refused
// before anything is sent, also the serial parameters that go with them.
void TestSerialPage::serialNumberLengthLimit_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("serialNumber");
    QTest::addColumn<bool>("sent");

    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb}) {
        const QString suffix = QLatin1Char('/') + mediumName(m);
        QTest::newRow(qPrintable(QStringLiteral("254 ascii") + suffix)) << m << QString(254, QLatin1Char('S')) << true;
        QTest::newRow(qPrintable(QStringLiteral("255 ascii") + suffix)) << m << QString(255, QLatin1Char('S')) << false;
        // Three bytes per character: 252 and 255 bytes.
        QTest::newRow(qPrintable(QStringLiteral("84 chinese") + suffix)) << m << QString(84, QChar(0x53F7)) << true;
        QTest::newRow(qPrintable(QStringLiteral("85 chinese") + suffix)) << m << QString(85, QChar(0x53F7)) << false;
    }
}

void TestSerialPage::serialNumberLengthLimit()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, serialNumber);
    QFETCH(bool, sent);

    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    QVERIFY(readPage(pw));
    pw.setText("lineEdit_ComSN", serialNumber);

    pw.click("pushButton_ComSettingSet");

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().title, kTitle);
    if (!sent) {
        const QString text = pw.boxes().last().text;
        QVERIFY2(text.contains(QStringLiteral("设备SN号")) && text.contains(QLatin1String("254")), qPrintable(text));
        QCOMPARE(pw.boxes().last().icon, QMessageBox::Information);
        QVERIFY(nothingReachedPrinter(pw));
        return;
    }
    QCOMPARE(pw.boxes().last().text, kDone);
    const QByteArray payload = serialNumber.toUtf8() + '\0';
    const QStringList frames = waitForFrameHex(pw, 2);
    QCOMPARE(frames.size(), 2);
    QCOMPARE(pw.frames().at(1),
             frameBytes("1B FF FE 01 10") + char(payload.size()) + payload + frameBytes("1B FE FF"));
    QCOMPARE(pw.printer().setting(0x10), payload);
}

// The printer's serial parameters are not changed over the serial link
// they describe: with the serial medium ticked, a read succeeds but the
// set button stays disabled.
void TestSerialPage::serialMediumKeepsSetDisabled()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    // The box cannot be ticked by the user; ticking it here leaves the
    // open medium as it is.
    pw.widget<QCheckBox>("checkBox_Serialport")->setChecked(true);

    pw.click("pushButton_ComSettingRead");

    QCOMPARE(waitForFrameHex(pw, 3), kReadQueries);
    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().text, kDone);
    QVERIFY(!pw.widget("pushButton_ComSettingSet")->isEnabled());
}

void TestSerialPage::setAfterCloseRefused()
{
    QFETCH(TestMedium, medium);
    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    QVERIFY(readPage(pw));
    pw.click("pushButton_close");
    pw.boxes().clear();
    pw.clearFrames();
    // Closing leaves the set button as the read left it.
    QVERIFY(pw.widget("pushButton_ComSettingSet")->isEnabled());

    pw.click("pushButton_ComSettingSet");

    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().title, kTitle);
    QCOMPARE(pw.boxes().last().text, QStringLiteral("请先打开设备"));
    QVERIFY(nothingReachedPrinter(pw));
}

void TestSerialPage::failedReadReported_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("message");
    QTest::newRow("tcp printer off") << TestMedium::Tcp << QStringLiteral("网络通讯出错，请重试");
    QTest::newRow("usb unplugged") << TestMedium::Usb << QStringLiteral("USB通讯出错，请重试");
}

void TestSerialPage::failedReadReported()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, message);

    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    pw.setText("lineEdit_ComSN", QStringLiteral("kept"));
    if (medium == TestMedium::Tcp)
        pw.net()->stop();
    else
        PrinterWindow::usb().unplug(pw.usbId());

    pw.click("pushButton_ComSettingRead");

    // Only the serial-number query's failure is reported, once.
    QVERIFY2(pw.boxes().count() == 1, qPrintable(describe(pw.boxes().boxes())));
    QCOMPARE(pw.boxes().last().text, message);
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_ComSN")->text(), QStringLiteral("kept"));
    QVERIFY(!pw.widget("pushButton_ComSettingSet")->isEnabled());
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());
}

// Over USB a reply for another code arrives and fails the frame check
// (result 1). Nothing takes its payload, and the result reporter passes
// the code over without a message, so the set button is enabled.
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
    QCOMPARE(comboText(pw, "comboBox_ComBaud"), QStringLiteral("115200"));
    QCOMPARE(comboText(pw, "comboBox_ComParityBit"), QStringLiteral("0"));
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_ComSN")->text(), QStringLiteral("kept"));
    QCOMPARE(pw.widget<QLineEdit>("lineEdit_ComDeviceInfo")->text(), QStringLiteral("kept too"));
    QVERIFY(pw.widget("pushButton_ComSettingSet")->isEnabled());
}

QTEST_MAIN(TestSerialPage)
#include "tst_serial_page.moc"

// The function tab and the printer-information group against the emulated
// printer: the frame behind every function button, the open-device guard
// of every handler, reboot and initialisation returning the window to the
// not-connected state, and the information group.
#include "page_test_support.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>

namespace {

// Lists the printer without opening it: the state just before "打开设备".
void refreshOnly(PrinterWindow &pw)
{
    if (pw.medium() == TestMedium::Tcp) {
        clickBox(pw.widget<QCheckBox>("checkBox_WIFI"));
        pw.setText("lineEdit_ConnectAddr", QStringLiteral("127.0.0.1"));
        pw.setText("lineEdit_ConnectTCPPort", QString::number(pw.net()->tcpPort()));
    }
    pw.click("pushButton_getList");
}

void setProgress(PrinterWindow &pw, int update, int debug)
{
    pw.widget<QProgressBar>("progressBar_Update")->setValue(update);
    pw.widget<QProgressBar>("progressBar_Debug")->setValue(debug);
}

QString progress(PrinterWindow &pw)
{
    return QStringLiteral("%1/%2").arg(pw.widget<QProgressBar>("progressBar_Update")->value())
        .arg(pw.widget<QProgressBar>("progressBar_Debug")->value());
}

// Connection controls: getList, USB, NET, WIFI, list, open, close, BLE, Serial.
const QStringList kConnection = {"pushButton_getList", "checkBox_USB", "checkBox_NET", "checkBox_WIFI",
                                 "comboBox_ScanResult", "pushButton_open", "pushButton_close",
                                 "checkBox_BLE", "checkBox_Serialport"};
const QList<bool> kClosed = {true, true, true, true, true, true, false, false, false};
const QList<bool> kOpen = {false, false, false, false, false, false, true, false, false};

} // namespace

class TestFunctions : public GuiTest
{
    Q_OBJECT

private slots:

    void functionButtonSendsItsFrame_data();
    void functionButtonSendsItsFrame();
    void outletLearningClickedThroughItsCaption();
    void handlersRefuseWithoutOpenDevice_data();
    void handlersRefuseWithoutOpenDevice();

    void printerInfoFillsGroup_data();
    void printerInfoFillsGroup();
    void printerInfoModelFromIdentity_data();
    void printerInfoModelFromIdentity();
    void printerInfoMalformedRepliesPassSilently();

    void rebootAndInitClose_data();
    void rebootAndInitClose();
    void failedRebootOrInitKeepsConnection_data();
    void failedRebootOrInitKeepsConnection();
    void unselectableMediumSendsNothing_data();
    void unselectableMediumSendsNothing();

};

void TestFunctions::functionButtonSendsItsFrame_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("frame");

    const char *const rows[][2] = {
        {"pushButton_SelfCheck", "1B FF FE 00 00 00 1B FE FF"},
        {"pushButton_Reboot", "1B FF FE 00 02 00 1B FE FF"},
        {"pushButton_PrinterInit", "1B FF FE 00 05 00 1B FE FF"},
        {"pushButton_SeamLrn", "1B FF FE 00 07 00 1B FE FF"},
        {"pushButton_BlackLableLrn", "1B FF FE 00 08 00 1B FE FF"},
        {"pushButton_DACLrn", "1B FF FE 00 09 00 1B FE FF"},
        {"pushButton_OutietLrn", "1B FF FE 00 0A 00 1B FE FF"},
        {"pushButton_NopaperLrn", "1B FF FE 00 0D 00 1B FE FF"},
        {"pushButton_HalfCut", "1B FF FE 01 25 01 00 1B FE FF"},
        {"pushButton_AllCut", "1B FF FE 01 25 01 01 1B FE FF"},
        {"pushButton_StripMode", "1B FF FE 01 25 01 02 1B FE FF"},
        {"pushButton_TearMode", "1B FF FE 01 25 01 03 1B FE FF"},
        {"pushButton_KeySettingOpen", "1B FF FE 01 22 01 00 1B FE FF"},
        {"pushButton_KeySettingClose", "1B FF FE 01 22 01 01 1B FE FF"},
        {"pushButton_BuzzerOpen", "1B FF FE 01 23 01 00 1B FE FF"},
        {"pushButton_BuzzerClose", "1B FF FE 01 23 01 01 1B FE FF"},
    };
    int i = 0;
    for (const auto &row : rows) {
        const TestMedium m = alternateMedium(i++);
        QTest::newRow(qPrintable(QString::fromLatin1(row[0]).mid(11) + QLatin1Char('/') + mediumName(m)))
            << m << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    }
}

void TestFunctions::functionButtonSendsItsFrame()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, button);
    QFETCH(QString, frame);
    PrinterWindow pw(medium);
    QVERIFY(pw.open());

    pw.click(qPrintable(button));

    QCOMPARE(waitForFrameHex(pw, 1), QStringList{frame});
    VERIFY_ONE_BOX(pw, kDone);
    QCOMPARE(pw.boxes().last().icon, QMessageBox::Information);
    // A function frame is never answered, and no bytes outside it went out.
    QCOMPARE(pw.printer().rawByteCount(), 0);
}

// The paper-exit learning button's caption is a label laid over it; a
// click on that caption must reach the button.
void TestFunctions::outletLearningClickedThroughItsCaption()
{
    PrinterWindow pw(TestMedium::Usb);
    QVERIFY(pw.open());
    pw.widget<QTabWidget>("tabWidget_2")->setCurrentIndex(1);
    auto *button = pw.widget<QPushButton>("pushButton_OutietLrn");
    QWidget *caption = pw.widget("label_42");
    QVERIFY(caption->isVisible());
    QCOMPARE(caption->geometry(), button->geometry());

    const QPoint inWindow = button->mapTo(pw.window(), button->rect().center());
    QCOMPARE(pw.window()->childAt(inWindow), static_cast<QWidget *>(button));
    QTest::mouseClick(pw.window()->windowHandle(), Qt::LeftButton, {}, inWindow);

    QVERIFY(pw.boxes().waitForCount(1));
    QCOMPARE(pw.frameHex(), QStringList{QStringLiteral("1B FF FE 00 0A 00 1B FE FF")});
    QCOMPARE(pw.boxes().last().text, kDone);
}

// Every handler that talks to the printer checks for an open device
// itself: set buttons stay enabled when the printer is closed after a read.
void TestFunctions::handlersRefuseWithoutOpenDevice_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");

    const char *const buttons[] = {
        "pushButton_SelfCheck", "pushButton_Reboot", "pushButton_PrinterInit", "pushButton_SeamLrn",
        "pushButton_BlackLableLrn", "pushButton_DACLrn", "pushButton_OutietLrn", "pushButton_NopaperLrn",
        "pushButton_HalfCut", "pushButton_AllCut", "pushButton_StripMode", "pushButton_TearMode",
        "pushButton_KeySettingOpen", "pushButton_KeySettingClose", "pushButton_BuzzerOpen",
        "pushButton_BuzzerClose", "pushButton_GetPrinterStatus", "pushButton_ComSettingRead",
        "pushButton_ComSettingSet", "pushButton_StripperSettingRead", "pushButton_StripperSettingSet",
        "pushButton_PrintSettingRead", "pushButton_PrintSettingSet", "pushButton_DistanceSettingRead",
        "pushButton_DistanceSettingSet", "pushButton_getPrinterInfo",
    };
    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb}) {
        for (const char *b : buttons) {
            const QString name = QString::fromLatin1(b);
            QTest::newRow(qPrintable(name.mid(11) + QLatin1Char('/') + mediumName(m)))
                << m << name << (name == QLatin1String("pushButton_getPrinterInfo") ? QStringLiteral("设备未打开!")
                                                                                       : kOpenFirst);
        }
    }
}

void TestFunctions::handlersRefuseWithoutOpenDevice()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, button);
    QFETCH(QString, text);
    // A stripper-capable model, so that nothing but the missing device can
    // stop the stripper buttons.
    PrinterWindow pw(medium, QStringLiteral("ZD-N480"));
    refreshOnly(pw);
    QVERIFY(pw.widget<QComboBox>("comboBox_ScanResult")->count() > 0);
    QVERIFY(pw.widget<QPushButton>("pushButton_open")->isEnabled());
    pw.widget<QPushButton>(qPrintable(button))->setEnabled(true);
    pw.boxes().clear();
    pw.clearFrames();
    const emu::UsbStats before = medium == TestMedium::Usb ? PrinterWindow::usb().stats(pw.usbId()) : emu::UsbStats{};

    pw.click(qPrintable(button));

    VERIFY_ONE_BOX(pw, text);
    QCOMPARE(pw.boxes().last().className, QStringLiteral("QMessageBox"));  // no stripper dialog either
    QCOMPARE(pw.boxes().last().icon, text == kOpenFirst ? QMessageBox::Information : QMessageBox::Critical);
    QVERIFY(nothingReachedPrinter(pw));
    QVERIFY(pw.widget("tabWidget_2")->isEnabled());
    if (medium == TestMedium::Usb) {
        const emu::UsbStats after = PrinterWindow::usb().stats(pw.usbId());
        QCOMPARE(after.opens, before.opens);
        QCOMPARE(after.controlReads, before.controlReads);
        QCOMPARE(after.outBytes, before.outBytes);
    }
}

void TestFunctions::printerInfoFillsGroup_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("shownWidth");
    // 60 03 on an 8-dot printer: 864 / 8.
    QTest::newRow("8dots/tcp") << TestMedium::Tcp << QStringLiteral("LP-200") << QStringLiteral("108");
    // 80 05 on a 12-dot printer: 1408 / 12, remainder dropped.
    QTest::newRow("12dots/usb") << TestMedium::Usb << QStringLiteral("ZD-N480") << QStringLiteral("117");
}

void TestFunctions::printerInfoFillsGroup()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, model);
    QFETCH(QString, shownWidth);
    PrinterWindow pw(medium, model);
    pw.printer().setFirmwareVersion(QStringLiteral("V2.3.17 固件"));
    pw.printer().setResolution(0x012C, model == QLatin1String("LP-200") ? 0x0360 : 0x0580);
    QVERIFY(pw.open());

    pw.click("pushButton_getPrinterInfo");

    QCOMPARE(waitForFrameHex(pw, 3), (QStringList{QStringLiteral("1B FF FE 00 04 00 1B FE FF"),
                                                  QStringLiteral("1B FF FE 00 0B 00 1B FE FF"),
                                                  QStringLiteral("1B FF FE 02 0C 00 1B FE FF")}));
    VERIFY_ONE_BOX(pw, kDone);
    QCOMPARE(pw.widget<QTextBrowser>("textBrowser_Ver")->toPlainText(), QStringLiteral("V2.3.17 固件"));
    QCOMPARE(pw.widget<QTextBrowser>("textBrowser_DPI")->toPlainText(), QStringLiteral("300"));
    QCOMPARE(pw.widget<QTextBrowser>("textBrowser_MaxPaperWidth")->toPlainText(), shownWidth);
    QCOMPARE(pw.widget<QTextBrowser>("textBrowser_Model")->toPlainText(), model);
    QVERIFY(pw.widget<QTabWidget>("tabWidget_2")->isEnabled());
    QVERIFY(pw.widget<QPushButton>("pushButton_getPrinterInfo")->isEnabled());
}

void TestFunctions::printerInfoModelFromIdentity_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QByteArray>("identity");
    QTest::addColumn<QString>("model");
    QTest::newRow("utf-8 model/usb") << TestMedium::Usb << bytes("V\0标签机\0M\0P\0E\0") << QStringLiteral("标签机");
    // The whole payload is field 0: the model shown before is cleared.
    QTest::newRow("no 00 at all/tcp") << TestMedium::Tcp << bytes("ABCDEFGH") << QString();
    // Printer text is shown as it is, never as markup or a link.
    QTest::newRow("markup/tcp") << TestMedium::Tcp << bytes("V\0<b>X</b><a href='x'>y</a>\0M\0P\0E\0")
                                << QStringLiteral("<b>X</b><a href='x'>y</a>");
}

void TestFunctions::printerInfoModelFromIdentity()
{
    QFETCH(TestMedium, medium);
    QFETCH(QByteArray, identity);
    QFETCH(QString, model);
    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    pw.widget<QTextBrowser>("textBrowser_Model")->setPlainText(QStringLiteral("from before"));
    pw.printer().setSetting(0x0C, identity);

    pw.click("pushButton_getPrinterInfo");

    VERIFY_ONE_BOX(pw, kDone);
    QCOMPARE(pw.widget<QTextBrowser>("textBrowser_Model")->toPlainText(), model);
}

// Over USB a reply for the wrong code fails the frame check (result 1):
// no message, and no field takes the rejected payload.
void TestFunctions::printerInfoMalformedRepliesPassSilently()
{
    PrinterWindow pw(TestMedium::Usb);
    QVERIFY(pw.open());
    const char *const fields[] = {"textBrowser_Ver", "textBrowser_DPI", "textBrowser_MaxPaperWidth",
                                  "textBrowser_Model"};
    for (const char *name : fields)
        pw.widget<QTextBrowser>(name)->setPlainText(QStringLiteral("kept"));
    emu::Faults wrong;
    wrong.wrongCode = true;
    pw.printer().setFaults(wrong);

    pw.click("pushButton_getPrinterInfo");

    QCOMPARE(pw.frames().size(), 3);
    QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));
    for (const char *name : fields)
        QCOMPARE(pw.widget<QTextBrowser>(name)->toPlainText(), QStringLiteral("kept"));
    QVERIFY(pw.widget<QTabWidget>("tabWidget_2")->isEnabled());
}

// Reboot closes the window's connection (and zeroes both progress bars)
// before "处理成功" is shown; initialisation reports first and closes
// after the user has acknowledged, leaving the bars alone. Either way the
// same list entry opens again afterwards.
void TestFunctions::rebootAndInitClose_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("closedAtMessage");
    for (TestMedium m : {TestMedium::Tcp, TestMedium::Usb}) {
        QTest::newRow(qPrintable(QStringLiteral("reboot/") + mediumName(m)))
            << m << QStringLiteral("pushButton_Reboot") << QStringLiteral("1B FF FE 00 02 00 1B FE FF") << true;
        QTest::newRow(qPrintable(QStringLiteral("init/") + mediumName(m)))
            << m << QStringLiteral("pushButton_PrinterInit") << QStringLiteral("1B FF FE 00 05 00 1B FE FF") << false;
    }
}

void TestFunctions::rebootAndInitClose()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, button);
    QFETCH(QString, frame);
    QFETCH(bool, closedAtMessage);
    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    setProgress(pw, 40, 60);
    QString atMessage;
    OnMessageBoxShown watch([&](QMessageBox *) { atMessage = enabledStates(pw, kConnection) + ' ' + progress(pw); });
    QElapsedTimer clock;
    clock.start();

    pw.click(qPrintable(button));

    const qint64 took = clock.elapsed();
    QCOMPARE(waitForFrameHex(pw, 1), QStringList{frame});
    VERIFY_ONE_BOX(pw, kDone);
    const QString kept = closedAtMessage ? QStringLiteral("0/0") : QStringLiteral("40/60");
    QCOMPARE(atMessage, expectedStates(kConnection, closedAtMessage ? kClosed : kOpen) + ' ' + kept);
    QCOMPARE(enabledStates(pw, kConnection), expectedStates(kConnection, kClosed));
    QCOMPARE(progress(pw), kept);
    QVERIFY(pw.widget<QComboBox>("comboBox_ScanResult")->count() > 0);
    // The network printer is given half a second to drop its end before
    // anything else may reach it.
    if (closedAtMessage && medium == TestMedium::Tcp)
        QVERIFY2(took >= 500, qPrintable(QString::number(took)));

    pw.boxes().clear();
    pw.clearFrames();
    pw.click("pushButton_open");
    VERIFY_ONE_BOX(pw, QStringLiteral("连接成功！"));
    pw.boxes().clear();
    pw.click("pushButton_SelfCheck");
    QCOMPARE(waitForFrameHex(pw, 1), QStringList{QStringLiteral("1B FF FE 00 00 00 1B FE FF")});
    QCOMPARE(pw.boxes().last().text, kDone);
}

void TestFunctions::failedRebootOrInitKeepsConnection_data()
{
    QTest::addColumn<TestMedium>("medium");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("reboot/usb unplugged") << TestMedium::Usb << "pushButton_Reboot" << "unplug" << kUsbError;
    QTest::newRow("reboot/usb claim refused") << TestMedium::Usb << "pushButton_Reboot" << "claim" << kUsbError;
    QTest::newRow("reboot/tcp printer off") << TestMedium::Tcp << "pushButton_Reboot" << "off" << kNetError;
    QTest::newRow("init/usb claim refused") << TestMedium::Usb << "pushButton_PrinterInit" << "claim" << kUsbError;
    QTest::newRow("init/tcp printer off") << TestMedium::Tcp << "pushButton_PrinterInit" << "off" << kNetError;
}

void TestFunctions::failedRebootOrInitKeepsConnection()
{
    QFETCH(TestMedium, medium);
    QFETCH(QString, button);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    PrinterWindow pw(medium);
    QVERIFY(pw.open());
    setProgress(pw, 40, 60);
    cutOff(pw, fault);

    pw.click(qPrintable(button));

    VERIFY_ONE_BOX(pw, message);
    QVERIFY(pw.frames().isEmpty());
    QCOMPARE(enabledStates(pw, kConnection), expectedStates(kConnection, kOpen));
    QCOMPARE(progress(pw), QStringLiteral("40/60"));

    // Once the printer can be reached again, the same open connection
    // carries the function.
    if (fault == QLatin1String("claim")) {
        PrinterWindow::usb().setClaimRefused(pw.usbId(), false);
        pw.boxes().clear();
        pw.click(qPrintable(button));
        QCOMPARE(pw.frames().size(), 1);
        QCOMPARE(pw.boxes().last().text, kDone);
        QCOMPARE(enabledStates(pw, kConnection), expectedStates(kConnection, kClosed));
    }
}

// The real transports only return codes that the result reporter shows;
// the codes it passes over silently come from a medium without transport
// (-1). Reboot stays connected on any non-zero result; initialisation
// closes whenever nothing was shown.
void TestFunctions::unselectableMediumSendsNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("closes");
    QTest::newRow("reboot") << QStringLiteral("pushButton_Reboot") << false;
    QTest::newRow("init") << QStringLiteral("pushButton_PrinterInit") << true;
    QTest::newRow("self-test") << QStringLiteral("pushButton_SelfCheck") << false;
}

void TestFunctions::unselectableMediumSendsNothing()
{
    QFETCH(QString, button);
    QFETCH(bool, closes);
    PrinterWindow pw(TestMedium::Usb);
    QVERIFY(pw.open());
    setProgress(pw, 40, 60);
    const emu::UsbStats before = PrinterWindow::usb().stats(pw.usbId());
    const int savedMode = ret_mode;
    ret_mode = MediumBle;
    pw.click(qPrintable(button));
    ret_mode = savedMode;

    QVERIFY2(pw.boxes().count() == 0, qPrintable(describe(pw.boxes().boxes())));
    QVERIFY(pw.frames().isEmpty());
    QCOMPARE(PrinterWindow::usb().stats(pw.usbId()).opens, before.opens);
    QCOMPARE(enabledStates(pw, kConnection), expectedStates(kConnection, closes ? kClosed : kOpen));
    QCOMPARE(progress(pw), QStringLiteral("40/60"));
}

QTEST_MAIN(TestFunctions)
#include "tst_functions.moc"
